#include "ui/search_tool_window.h"

#include "geo/tile_id.h"
#include "ui/named.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zelvano {

namespace {

constexpr char16_t kDesignedBookmark[] = u"____________________ N E";

} // namespace

SearchToolWindow::SearchToolWindow(QWidget* parent) : QDockWidget(parent) {
    setObjectName(QStringLiteral("TBToolWindow2"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable | QDockWidget::DockWidgetClosable);
    auto* content = new QWidget(this);
    auto* layout = new QHBoxLayout(content);
    layout->setContentsMargins(2, 0, 2, 0);
    auto panel = [&](const char* name, int index) {
        auto* p = named(new QFrame(content), name);
        auto* l = new QHBoxLayout(p);
        l->setContentsMargins(2, 2, 2, 2);
        panels_[index] = p;
        layout->addWidget(p);
        return l;
    };
    QHBoxLayout* lat = panel("Panel2", 0);
    lat->addWidget(named(new QLabel(content), "Label5"));
    latHemisphere_ = named(new QComboBox(content), "SCB");
    latHemisphere_->addItems({QStringLiteral("N"), QStringLiteral("S")});
    lat->addWidget(latHemisphere_);
    lat->addWidget(named(new QLineEdit(content), "Edit7"));
    QHBoxLayout* lon = panel("Panel3", 1);
    lon->addWidget(named(new QLabel(content), "Label19"));
    lonHemisphere_ = named(new QComboBox(content), "DCB");
    lonHemisphere_->addItems({QStringLiteral("W"), QStringLiteral("E")});
    lon->addWidget(lonHemisphere_);
    lon->addWidget(named(new QLineEdit(content), "Edit10"));
    QHBoxLayout* zoom = panel("Panel6", 2);
    zoom->addWidget(named(new QLabel(content), "Label20"));
    searchZoom_ = named(new QComboBox(content), "FCB");
    for (int z = geo::kMinLevel; z <= geo::kMaxLevel; ++z)
        searchZoom_->addItem(QString::number(z));
    zoom->addWidget(searchZoom_);
    zoom->addWidget(named(new QPushButton(content), "SpeedButton1"));
    QHBoxLayout* marks = panel("Panel5", 3);
    bookmarks_ = named(new QComboBox(content), "ComboBox1");
    bookmarks_->setEditable(true);
    bookmarks_->setMinimumWidth(200);
    bookmarks_->addItem(QString::fromUtf16(kDesignedBookmark));
    marks->addWidget(bookmarks_);
    marks->addWidget(named(new QPushButton(content), "ButtonSave"));
    marks->addWidget(named(new QPushButton(content), "ButtonDel"));
    layout->addStretch();
    setWidget(content);
}

void SearchToolWindow::applyLanguage(const LanguageTable& t) {
    findChild<QLabel*>(QStringLiteral("Label5"))->setText(t.languageText(0));
    findChild<QLabel*>(QStringLiteral("Label19"))->setText(t.languageText(1));
    findChild<QLabel*>(QStringLiteral("Label20"))->setText(t.languageText(2));
    findChild<QPushButton*>(QStringLiteral("SpeedButton1"))->setText(t.languageText(3));
    findChild<QPushButton*>(QStringLiteral("ButtonSave"))->setText(t.languageText(4));
    findChild<QPushButton*>(QStringLiteral("ButtonDel"))->setText(t.languageText(5));
    setWindowTitle(t.languageText(206));
}

void SearchToolWindow::showBookmarks(const std::optional<QStringList>& lines, const LanguageTable& language) {
    if (lines) {
        bookmarks_->clear();
        bookmarks_->addItems(*lines);
    }
    bookmarks_->setCurrentText(language.languageText(19));
}

} // namespace zelvano
