#include "ui/job_tool_window.h"

#include "geo/tile_id.h"
#include "ui/named.h"
#include "view/view_texts.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace zelvano {

JobToolWindow::JobToolWindow(QWidget* parent) : QDockWidget(parent) {
    setObjectName(QStringLiteral("TBToolWindow3"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    content_ = new QWidget(this);
    panel7_ = named(new QFrame(content_), "Panel7");
    panel7_->setGeometry(0, 0, 350, 47);
    named(new QLabel(panel7_), "Label6")->setGeometry(3, 2, 80, 19);
    jobZoom_ = named(new QComboBox(panel7_), "ComboBox2");
    for (int z = geo::kMinLevel; z <= geo::kMaxLevel; ++z)
        jobZoom_->addItem(QString::number(z));
    jobZoom_->setGeometry(84, 0, 50, 21);
    named(new QLabel(panel7_), "Label14")->setGeometry(142, 2, 80, 19);
    jpegQuality_ = named(new QComboBox(panel7_), "ComboBox3");
    for (int q = 10; q <= 100; q += 10)
        jpegQuality_->addItem(QStringLiteral("%1%").arg(q));
    jpegQuality_->setGeometry(224, 0, 62, 21);
    selectionLabel_ = named(new QLabel(QString::fromUtf16(kNoSelectionLabel), panel7_), "Label15");
    selectionLabel_->setGeometry(3, 24, 255, 21);
    runButton_ = named(new QPushButton(panel7_), "SpeedButton2");
    runButton_->setGeometry(262, 23, 85, 23);
    runButton_->setEnabled(false);
    bevel_ = named(new QFrame(content_), "Bevel2");
    bevel_->setFrameShape(QFrame::HLine);
    bevel_->setFrameShadow(QFrame::Sunken);
    bevel_->setGeometry(0, 48, 350, 2);
    panel4_ = named(new QFrame(content_), "Panel4");
    named(new QLabel(panel4_), "Label17")->setGeometry(3, 2, 150, 19);
    jobs_ = named(new QComboBox(panel4_), "ComboBox4");
    jobs_->setGeometry(3, 23, 255, 21);
    cancelButton_ = named(new QPushButton(panel4_), "SpeedButton3");
    cancelButton_->setGeometry(262, 23, 85, 23);
    cancelButton_->setEnabled(false);
    panel4_->resize(350, 47);
    setWidget(content_);
    for (QComboBox* box : {jobZoom_, jpegQuality_, jobs_})
        connect(box, &QComboBox::currentIndexChanged, this, &JobToolWindow::summaryInputsChanged);
    connect(this, &QDockWidget::topLevelChanged, this, [this](bool floating) { setWide(!floating); });
    arrange();
}

void JobToolWindow::setWide(bool wide) {
    wide_ = wide;
    arrange();
}

void JobToolWindow::arrange() {
    const bool jobs = jobs_->count() > 0;
    panel4_->setVisible(jobs);
    bevel_->setVisible(!wide_ && jobs);
    if (wide_) {
        panel4_->move(356, 0);
        content_->setFixedSize(jobs ? 723 : 363, 47); // as the job builders size it
    } else {
        panel4_->move(0, 51);
        content_->setFixedSize(350, jobs ? 98 : 47);
    }
}

void JobToolWindow::applyLanguage(const LanguageTable& t) {
    findChild<QLabel*>(QStringLiteral("Label6"))->setText(t.languageText(6));
    findChild<QLabel*>(QStringLiteral("Label14"))->setText(t.languageText(7));
    runButton_->setText(t.languageText(8));
    findChild<QLabel*>(QStringLiteral("Label17"))->setText(t.languageText(207));
    cancelButton_->setText(t.languageText(208));
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

QString JobToolWindow::selectionLabelText() const {
    return selectionLabel_->text();
}

int JobToolWindow::jobZoom() const {
    return jobZoom_->currentIndex() + 1;
}

} // namespace zelvano
