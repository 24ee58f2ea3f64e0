#include "ui/job_tool_window.h"

#include "geo/tile_id.h"
#include "ui/named.h"
#include "view/view_texts.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace zelvano {

JobToolWindow::JobToolWindow(QWidget* parent) : QDockWidget(parent) {
    setObjectName(QStringLiteral("TBToolWindow3"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    auto* content = new QWidget(this);
    auto* layout = new QHBoxLayout(content);
    layout->setContentsMargins(2, 0, 2, 0);
    auto* panel7 = named(new QFrame(content), "Panel7");
    auto* grid = new QHBoxLayout(panel7);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->addWidget(named(new QLabel(panel7), "Label6"));
    jobZoom_ = named(new QComboBox(panel7), "ComboBox2");
    for (int z = geo::kMinLevel; z <= geo::kMaxLevel; ++z)
        jobZoom_->addItem(QString::number(z));
    grid->addWidget(jobZoom_);
    grid->addWidget(named(new QLabel(panel7), "Label14"));
    jpegQuality_ = named(new QComboBox(panel7), "ComboBox3");
    for (int q = 10; q <= 100; q += 10)
        jpegQuality_->addItem(QStringLiteral("%1%").arg(q));
    grid->addWidget(jpegQuality_);
    selectionLabel_ = named(new QLabel(QString::fromUtf16(kNoSelectionLabel), panel7), "Label15");
    grid->addWidget(selectionLabel_);
    runButton_ = named(new QPushButton(panel7), "SpeedButton2");
    runButton_->setEnabled(false);
    grid->addWidget(runButton_);
    layout->addWidget(panel7);
    runningPanel_ = named(new QFrame(content), "Panel4");
    auto* running = new QHBoxLayout(runningPanel_);
    running->addWidget(named(new QLabel(runningPanel_), "Label17"));
    jobs_ = named(new QComboBox(runningPanel_), "ComboBox4");
    running->addWidget(jobs_);
    running->addWidget(named(new QPushButton(runningPanel_), "SpeedButton3"));
    runningPanel_->hide();
    layout->addWidget(runningPanel_);
    layout->addStretch();
    setWidget(content);
    for (QComboBox* box : {jobZoom_, jpegQuality_, jobs_})
        connect(box, &QComboBox::currentIndexChanged, this, &JobToolWindow::summaryInputsChanged);
}

void JobToolWindow::applyLanguage(const LanguageTable& t) {
    findChild<QLabel*>(QStringLiteral("Label6"))->setText(t.languageText(6));
    findChild<QLabel*>(QStringLiteral("Label14"))->setText(t.languageText(7));
    runButton_->setText(t.languageText(8));
    findChild<QLabel*>(QStringLiteral("Label17"))->setText(t.languageText(207));
    findChild<QPushButton*>(QStringLiteral("SpeedButton3"))->setText(t.languageText(208));
    setWindowTitle(t.languageText(200));
}

void JobToolWindow::showSelectionLabel(const QString& label) {
    selectionLabel_->setText(label);
    runButton_->setEnabled(true);
}

void JobToolWindow::showNoSelection() {
    selectionLabel_->setText(QString::fromUtf16(kNoSelectionLabel));
    runButton_->setEnabled(false);
}

int JobToolWindow::jobZoom() const {
    return jobZoom_->currentIndex() + 1;
}

} // namespace zelvano
