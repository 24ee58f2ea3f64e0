#include "ui/search_tool_window.h"

#include "geo/tile_id.h"
#include "tools/bookmarks.h"
#include "ui/coordinate_edit.h"
#include "ui/named.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMoveEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace zelvano {

namespace {

constexpr char16_t kDesignedBookmark[] = u"____________________ N E";

} // namespace

SearchToolWindow::SearchToolWindow(const LanguageTable& language, QWidget* parent) : QDockWidget(parent) {
    setObjectName(QStringLiteral("TBToolWindow2"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable | QDockWidget::DockWidgetClosable);
    content_ = new QWidget(this);
    const char* panelNames[] = {"Panel2", "Panel3", "Panel6", "Panel5"};
    for (int i = 0; i < 4; ++i)
        panels_[i] = named(new QFrame(content_), panelNames[i]);
    labels_ = {named(new QLabel(panels_[0]), "Label5"), named(new QLabel(panels_[1]), "Label19"),
               named(new QLabel(panels_[2]), "Label20")};
    latHemisphere_ = named(new QComboBox(panels_[0]), "SCB");
    latHemisphere_->addItems({QStringLiteral("N"), QStringLiteral("S")});
    lonHemisphere_ = named(new QComboBox(panels_[1]), "DCB");
    lonHemisphere_->addItems({QStringLiteral("W"), QStringLiteral("E")});
    latitudeEdit_ = named(new CoordinateEdit(CoordinateAxis::Latitude, latHemisphere_, panels_[0]), "Edit7");
    longitudeEdit_ = named(new CoordinateEdit(CoordinateAxis::Longitude, lonHemisphere_, panels_[1]), "Edit10");
    fields_ = new CoordinateFields(latitudeEdit_, longitudeEdit_, language, this);
    searchZoom_ = named(new QComboBox(panels_[2]), "FCB");
    for (int z = geo::kMinLevel; z <= geo::kMaxLevel; ++z)
        searchZoom_->addItem(QString::number(z));
    showButton_ = named(new QPushButton(panels_[2]), "SpeedButton1");
    bookmarks_ = named(new QComboBox(panels_[3]), "ComboBox1");
    bookmarks_->setEditable(true);
    bookmarks_->setInsertPolicy(QComboBox::NoInsert);
    bookmarks_->setMaxVisibleItems(10);
    // A typed name has at most 20 characters; a chosen bookmark shows its whole line.
    bookmarks_->lineEdit()->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral(".{0,%1}").arg(kBookmarkNameLength)), bookmarks_));
    bookmarks_->addItem(QString::fromUtf16(kDesignedBookmark));
    saveButton_ = named(new QPushButton(panels_[3]), "ButtonSave");
    deleteButton_ = named(new QPushButton(panels_[3]), "ButtonDel");
    setWidget(content_);
    setVertical(false);
}

// Both arrangements in the pixels of the designed window.
void SearchToolWindow::setVertical(bool vertical) {
    vertical_ = vertical;
    auto place = [](QWidget* w, int left, int top, int width, int height) { w->setGeometry(left, top, width, height); };
    if (!vertical) {
        content_->setFixedSize(771, 47);
        place(panels_[0], 0, 0, 130, 47);
        place(panels_[1], 130, 0, 130, 47);
        place(panels_[2], 260, 0, 189, 47);
        place(panels_[3], 449, 0, 322, 47);
        for (int i = 0; i < 2; ++i) {
            place(labels_[i], 5, 2, 66, 19);
            place(i == 0 ? latHemisphere_ : lonHemisphere_, 72, 0, 53, 21);
            place(i == 0 ? latitudeEdit_ : longitudeEdit_, 5, 22, 121, 21);
        }
        place(labels_[2], 5, 2, 90, 19);
        place(searchZoom_, 96, 0, 54, 21);
        place(showButton_, 5, 22, 145, 23);
        place(bookmarks_, 4, 0, 313, 21);
        place(saveButton_, 145, 22, 85, 23);
        place(deleteButton_, 232, 22, 85, 23);
    } else {
        content_->setFixedSize(192, 142);
        place(panels_[0], 0, 0, 192, 24);
        place(panels_[1], 0, 24, 192, 24);
        place(panels_[2], 0, 48, 192, 24);
        place(panels_[3], 0, 72, 192, 70);
        for (int i = 0; i < 2; ++i) {
            place(labels_[i], 3, 2, 51, 21);
            place(i == 0 ? latHemisphere_ : lonHemisphere_, 55, 1, 40, 21);
            place(i == 0 ? latitudeEdit_ : longitudeEdit_, 99, 1, 91, 21);
        }
        place(labels_[2], 3, 2, 76, 21); // room for the whole "Увеличение"; two digits fit the narrower box
        place(searchZoom_, 80, 1, 40, 21);
        place(showButton_, 122, 0, 68, 23);
        place(bookmarks_, 3, 2, 185, 21);
        place(saveButton_, 4, 26, 84, 23);
        place(deleteButton_, 90, 26, 84, 23);
    }
}

void SearchToolWindow::moveEvent(QMoveEvent* event) {
    QDockWidget::moveEvent(event);
    if (isFloating()) emit floatingPlaceChanged(pos());
}

void SearchToolWindow::applyLanguage(const LanguageTable& t) {
    for (int i = 0; i < 3; ++i)
        labels_[i]->setText(t.languageText(i));
    showButton_->setText(t.languageText(3));
    saveButton_->setText(t.languageText(4));
    deleteButton_->setText(t.languageText(5));
    setWindowTitle(t.languageText(206));
}

void SearchToolWindow::showBookmarks(const std::optional<QStringList>& lines, const LanguageTable& language) {
    if (lines) {
        bookmarks_->clear();
        bookmarks_->addItems(*lines);
    }
    bookmarks_->setCurrentIndex(-1);
    bookmarks_->setEditText(language.languageText(19));
}

} // namespace zelvano
