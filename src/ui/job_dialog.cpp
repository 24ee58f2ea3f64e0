#include "ui/job_dialog.h"

#include "geo/tile_math.h"
#include "jobs/job_dialog_rules.h"
#include "ui/coordinate_dialog.h"
#include "ui/dialog_buttons.h"
#include "ui/named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace zelvano {

namespace {

template <class W> W* add(QLayout* layout, W* widget) {
    layout->addWidget(widget);
    return widget;
}

QFrame* panel(QWidget* parent, const char* name) {
    auto* frame = named(new QFrame(parent), name);
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(8, 2, 8, 2);
    return frame;
}

} // namespace

JobDialog::JobDialog(const LanguageTable& language, CoordinateDialog& coordinates, QWidget* parent)
    : QDialog(parent), coordinates_(coordinates), language_(language) {
    setObjectName(QStringLiteral("TOKBottomDlg"));
    setModal(true);
    setFixedWidth(494);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);

    taskGroup_ = named(new QGroupBox(this), "GroupBox1");
    auto* taskColumn = new QVBoxLayout(taskGroup_);
    taskColumn->setSpacing(0);
    const char* taskNames[] = {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4"};
    for (int i = 0; i < 4; ++i) {
        tasks_[i] = add(taskColumn, named(new QRadioButton(taskGroup_), taskNames[i]));
        connect(tasks_[i], &QRadioButton::clicked, this, [this, i] { showTask(static_cast<JobTask>(i)); });
    }
    tasks_[0]->setChecked(true);
    outer->addWidget(taskGroup_);

    auto* groupsHolder = new QWidget(this);
    groups_ = new QVBoxLayout(groupsHolder);
    groups_->setContentsMargins(0, 0, 0, 0);
    groups_->setSpacing(2);
    outer->addWidget(groupsHolder, 1);

    workMode_ = named(new QGroupBox(groupsHolder), "GroupBox6");
    auto* modeColumn = new QVBoxLayout(workMode_);
    auto* modeRow = new QHBoxLayout;
    internetOnly_ = add(modeRow, named(new QRadioButton(workMode_), "RadioButton8"));
    cacheAndInternet_ = add(modeRow, named(new QRadioButton(workMode_), "RadioButton9"));
    cacheOnly_ = add(modeRow, named(new QRadioButton(workMode_), "RadioButton7"));
    modeColumn->addLayout(modeRow);
    layers_ = named(new QGroupBox(workMode_), "GroupBox7");
    auto* layerRow = new QHBoxLayout(layers_);
    satellite_ = add(layerRow, named(new QRadioButton(layers_), "RadioButton10"));
    both_ = add(layerRow, named(new QRadioButton(layers_), "RadioButton11"));
    map_ = add(layerRow, named(new QRadioButton(layers_), "RadioButton12"));
    modeColumn->addWidget(layers_);

    area_ = named(new QGroupBox(groupsHolder), "GroupBox2");
    auto* grid = new QGridLayout(area_);
    grid->setVerticalSpacing(2);
    grid->addWidget(named(new QLabel(area_), "Label1"), 0, 0);
    grid->addWidget(named(new QLabel(area_), "Label4"), 0, 1);
    grid->addWidget(named(new QLabel(area_), "Label5"), 0, 2);
    auto* button1 = named(new QPushButton(area_), "Button1");
    grid->addWidget(button1, 0, 3);
    grid->addWidget(named(new QLabel(area_), "Label2"), 1, 0);
    grid->addWidget(named(new QLabel(area_), "Label6"), 1, 1);
    grid->addWidget(named(new QLabel(area_), "Label7"), 1, 2);
    auto* button2 = named(new QPushButton(area_), "Button2");
    grid->addWidget(button2, 1, 3);
    auto* levelRow = new QHBoxLayout;
    levelRow->addWidget(named(new QLabel(area_), "Label3"));
    level_ = named(new QComboBox(area_), "FCB");
    for (int z = geo::kMinLevel; z <= geo::kMaxLevel; ++z)
        level_->addItem(QString::number(z));
    level_->setFixedWidth(56);
    levelRow->addWidget(level_);
    levelRow->addWidget(named(new QLabel(area_), "Label9"), 1);
    grid->addLayout(levelRow, 2, 0, 1, 4);
    grid->setColumnStretch(0, 1);
    connect(button1, &QPushButton::clicked, this, [this] { Button1Click(false); });
    connect(button2, &QPushButton::clicked, this, [this] { Button1Click(true); });
    connect(level_, &QComboBox::activated, this, &JobDialog::FCBChange);

    copy_ = named(new QGroupBox(groupsHolder), "GroupBox3");
    auto* copyColumn = new QVBoxLayout(copy_);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(named(new QLabel(copy_), "Label10"));
    folder_ = add(folderRow, named(new QLineEdit(copy_), "DirectoryEdit1"));
    auto* browse = add(folderRow, named(new QPushButton(QStringLiteral("…"), copy_), "DirectoryButton"));
    browse->setFixedWidth(28);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getExistingDirectory(this, QString(), folder_->text());
        if (!chosen.isEmpty()) folder_->setText(chosen);
    });
    copyColumn->addLayout(folderRow);
    calibrationOnly_ = add(copyColumn, named(new QCheckBox(copy_), "CheckBox5"));

    stitch_ = named(new QGroupBox(groupsHolder), "GroupBox4");
    auto* stitchColumn = new QVBoxLayout(stitch_);
    addCoordinates_ = add(stitchColumn, named(new QCheckBox(stitch_), "CheckBox3"));
    auto* pieceRow = new QHBoxLayout;
    split_ = add(pieceRow, named(new QCheckBox(stitch_), "CheckBox1"));
    pieceWidthEdit_ = add(pieceRow, named(new QLineEdit(stitch_), "Edit1"));
    pieceRow->addWidget(new QLabel(QStringLiteral("X"), stitch_));
    pieceHeightEdit_ = add(pieceRow, named(new QLineEdit(stitch_), "Edit2"));
    for (QLineEdit* e : {pieceWidthEdit_, pieceHeightEdit_}) {
        e->setFixedWidth(60);
        e->setEnabled(false);
        e->installEventFilter(this);
    }
    stitchColumn->addLayout(pieceRow);
    connect(split_, &QCheckBox::clicked, this, &JobDialog::CheckBox1Click);

    generate_ = named(new QGroupBox(groupsHolder), "GroupBox5");
    auto* generateColumn = new QVBoxLayout(generate_);
    replace_ = add(generateColumn, named(new QRadioButton(generate_), "RadioButton5"));
    keep_ = add(generateColumn, named(new QRadioButton(generate_), "RadioButton6"));
    replace_->setChecked(true);

    quality_ = panel(groupsHolder, "Panel1");
    quality_->layout()->addWidget(named(new QLabel(quality_), "Label11"));
    qualityBox_ = add(quality_->layout(), named(new QComboBox(quality_), "ComboBox3"));
    for (int q = 10; q <= 100; q += 10)
        qualityBox_->addItem(QStringLiteral("%1%").arg(q));
    qualityBox_->setCurrentIndex(7);
    static_cast<QHBoxLayout*>(quality_->layout())->addStretch();
    ozi_ = panel(groupsHolder, "Panel2");
    calibOzi_ = add(ozi_->layout(), named(new QCheckBox(ozi_), "CheckBox4"));
    others_ = named(new QFrame(groupsHolder), "Panel3");
    auto* othersColumn = new QVBoxLayout(others_);
    othersColumn->setContentsMargins(8, 0, 8, 0);
    othersColumn->setSpacing(0);
    calibMapInfo_ = add(othersColumn, named(new QCheckBox(others_), "CheckBox2"));
    calibArcGis_ = add(othersColumn, named(new QCheckBox(others_), "CheckBox6"));
    calibSeeYou_ = add(othersColumn, named(new QCheckBox(others_), "CheckBox7"));
    calibSeeYou_->setText(QStringLiteral("создавать файл привязки для SeeYou"));

    const DialogButtons dialogButtons = okCancelButtons(this, QStringLiteral("OK"), "OKBtn", "CancelBtn");
    okButton_ = dialogButtons.ok;
    cancelButton_ = dialogButtons.cancel;
    QHBoxLayout* buttons = dialogButtons.row;
    outer->addLayout(buttons);

    // Tight rows: the stitch task's six groups share the dialog's height.
    for (QLayout* l : findChildren<QLayout*>()) {
        if (l == outer || l == groups_) continue;
        l->setContentsMargins(8, 2, 8, 2);
        l->setSpacing(2);
    }
    layers_->layout()->setContentsMargins(8, 6, 8, 6);
    for (QWidget* w : std::initializer_list<QWidget*>{taskGroup_, workMode_, layers_, area_, copy_, stitch_, generate_,
                                                      quality_, ozi_, others_})
        w->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    applyLanguage(language);
    showTask(JobTask::Stitch);
}

void JobDialog::setLabelText(const char* name, const QString& text) {
    findChild<QLabel*>(QLatin1String(name))->setText(text);
}

void JobDialog::applyLanguage(const LanguageTable& t) {
    setWindowTitle(t.languageText(174));
    taskGroup_->setTitle(t.languageText(202));
    for (int i = 0; i < 4; ++i)
        tasks_[i]->setText(t.languageText(175 + i));
    workMode_->setTitle(t.languageText(113));
    internetOnly_->setText(t.languageText(17));
    cacheAndInternet_->setText(t.languageText(18));
    cacheOnly_->setText(t.languageText(16));
    satellite_->setText(t.languageText(71));
    both_->setText(t.languageText(70));
    map_->setText(t.languageText(72));
    area_->setTitle(t.languageText(179));
    setLabelText("Label1", t.languageText(180));
    setLabelText("Label2", t.languageText(181));
    setLabelText("Label3", t.languageText(183));
    for (const char* b : {"Button1", "Button2"})
        findChild<QPushButton*>(QLatin1String(b))->setText(t.languageText(182));
    copy_->setTitle(t.languageText(184));
    setLabelText("Label10", t.languageText(185));
    calibrationOnly_->setText(t.languageText(186));
    stitch_->setTitle(t.languageText(187));
    addCoordinates_->setText(t.languageText(188));
    split_->setText(t.languageText(189));
    generate_->setTitle(t.languageText(134));
    replace_->setText(t.languageText(191));
    keep_->setText(t.languageText(192));
    setLabelText("Label11", t.languageText(193));
    calibOzi_->setText(t.languageText(194));
    calibMapInfo_->setText(t.languageText(195));
    calibArcGis_->setText(t.languageText(196));
    cancelButton_->setText(t.languageText(85));
    refresh();
}

void JobDialog::Allfalse() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{quality_, ozi_, others_, area_, stitch_, workMode_, copy_, generate_}) {
        w->hide();
        groups_->removeWidget(w);
    }
    while (QLayoutItem* item = groups_->takeAt(0)) // the stretch of the previous task
        delete item;
}

void JobDialog::showTask(JobTask task) {
    Allfalse();
    std::vector<QWidget*> shown;
    switch (task) {
    case JobTask::Stitch:
        shown = {workMode_, area_, stitch_, quality_, ozi_, others_};
        break;
    case JobTask::Download:
        shown = {workMode_, area_};
        break;
    case JobTask::Copy:
        shown = {area_, copy_, others_};
        break;
    case JobTask::Generate:
        shown = {area_, generate_, quality_};
        break;
    }
    for (QWidget* w : shown) {
        groups_->addWidget(w);
        w->show();
    }
    groups_->addStretch();
    // A fixed border, 494 × 514 or as tall as the fonts make the stitch task's groups.
    layout()->activate();
    setFixedHeight(std::max(514, layout()->totalSizeHint().height()));
}

JobTask JobDialog::task() const {
    for (int i = 0; i < 4; ++i)
        if (tasks_[i]->isChecked()) return static_cast<JobTask>(i);
    return JobTask::Stitch;
}

void JobDialog::setTask(JobTask task) {
    tasks_[static_cast<int>(task)]->setChecked(true);
    showTask(task);
}

int JobDialog::level() const {
    return level_->currentIndex() + 1;
}

bool JobDialog::splitChecked() const {
    return split_->isChecked();
}

bool JobDialog::addCoordinates() const {
    return addCoordinates_->isChecked();
}

bool JobDialog::replaceGenerated() const {
    return replace_->isChecked();
}

QString JobDialog::copyFolder() const {
    return folder_->text();
}

void JobDialog::refresh() {
    setLabelText("Label4", dialogLatitudeText(corners_.topLeft.lat));
    setLabelText("Label5", dialogLongitudeText(corners_.topLeft.lonW));
    setLabelText("Label6", dialogLatitudeText(corners_.bottomRight.lat));
    setLabelText("Label7", dialogLongitudeText(corners_.bottomRight.lonW));
    const geo::PixelOffsetResult o = geo::PixelOffset(level(), corners_.bottomRight, corners_.topLeft);
    width_ = std::abs(o.ox);
    height_ = std::abs(o.oy);
    setLabelText("Label9", language_.languageText(197) + QStringLiteral(" %1 x %2").arg(width_).arg(height_));
}

void JobDialog::FCBChange() {
    refresh();
}

void JobDialog::fill(const Settings& s, const SelectionCorners& corners, int level) {
    corners_ = corners;
    level_->setCurrentIndex(level - 1);
    refresh();
    pieceWidth_ = width_;
    pieceHeight_ = height_;
    calibOzi_->setChecked(s.calibOzi);
    calibMapInfo_->setChecked(s.calibMapInfo);
    calibArcGis_->setChecked(s.calibArcGis);
    calibSeeYou_->setChecked(s.calibSeeYou);
    addCoordinates_->setChecked(s.stitchAddCoords);
    pieceWidthEdit_->setText(QString::number(pieceWidth_));
    pieceHeightEdit_->setText(QString::number(pieceHeight_));
    if (split_->isChecked() != s.stitchSplit) {
        split_->setChecked(s.stitchSplit);
        CheckBox1Click();
    }
    folder_->setText(s.copyFolder);
    (s.generateReplace ? replace_ : keep_)->setChecked(true);
    switch (s.jobWorkMode) {
    case WorkMode::InternetOnly:
        internetOnly_->setChecked(true);
        break;
    case WorkMode::CacheOnly:
        cacheOnly_->setChecked(true);
        break;
    case WorkMode::CacheAndInternet:
        cacheAndInternet_->setChecked(true);
        break;
    }
    switch (layerButtonFor(s.jobSatellite, s.jobMap)) {
    case LayerButton::Satellite:
        satellite_->setChecked(true);
        break;
    case LayerButton::Map:
        map_->setChecked(true);
        break;
    case LayerButton::Both:
        both_->setChecked(true);
        break;
    }
    qualityBox_->setCurrentIndex(std::clamp(jpegQualityIndex(s.jobJpegQuality), 0, 9));
    calibrationOnly_->setChecked(s.copyCalibrationOnly);
}

void JobDialog::take(Settings& s) const {
    s.calibOzi = calibOzi_->isChecked();
    s.calibMapInfo = calibMapInfo_->isChecked();
    s.calibArcGis = calibArcGis_->isChecked();
    s.calibSeeYou = calibSeeYou_->isChecked();
    s.stitchAddCoords = addCoordinates_->isChecked();
    s.stitchSplit = split_->isChecked();
    const int w = pieceEditValue(pieceWidthEdit_->text()), h = pieceEditValue(pieceHeightEdit_->text());
    s.stitchPieceWidth = w < 0 ? 5000 : w;
    s.stitchPieceHeight = h < 0 ? 5000 : h;
    s.copyFolder = folder_->text();
    s.generateReplace = replace_->isChecked();
    s.jobWorkMode = internetOnly_->isChecked() ? WorkMode::InternetOnly
                    : cacheOnly_->isChecked()  ? WorkMode::CacheOnly
                                               : WorkMode::CacheAndInternet;
    s.jobZoomIndex = level_->currentIndex();
    s.jobJpegQuality = jpegQualityOf(qualityBox_->currentIndex());
    s.copyCalibrationOnly = calibrationOnly_->isChecked();
    setLayersFrom(both_->isChecked()        ? LayerButton::Both
                  : satellite_->isChecked() ? LayerButton::Satellite
                                            : LayerButton::Map,
                  s);
}

void JobDialog::CheckBox1Click() {
    if (!split_->isChecked()) {
        pieceWidthEdit_->setEnabled(false);
        pieceHeightEdit_->setEnabled(false);
        return;
    }
    const PieceSizes p = checkedPieceSizes(pieceEditValue(pieceWidthEdit_->text()),
                                           pieceEditValue(pieceHeightEdit_->text()), width_, height_);
    pieceWidth_ = p.width;
    pieceHeight_ = p.height;
    pieceWidthEdit_->setText(QString::number(p.width));
    pieceHeightEdit_->setText(QString::number(p.height));
    split_->setChecked(p.checked);
    pieceWidthEdit_->setEnabled(p.checked);
    pieceHeightEdit_->setEnabled(p.checked);
}

void JobDialog::Edit1Exit() {
    pieceWidth_ = pieceEditValue(pieceWidthEdit_->text());
    if (!pieceSizeAccepted(pieceWidth_, width_)) refocus(pieceWidthEdit_);
}

void JobDialog::Edit2Exit() {
    pieceHeight_ = pieceEditValue(pieceHeightEdit_->text());
    if (!pieceSizeAccepted(pieceHeight_, height_)) refocus(pieceHeightEdit_);
}

// The focus goes back to a piece edit once the focus change at hand is over; the other edit's exit check
// waits until then, so two wrong edits do not pass the focus back and forth.
void JobDialog::refocus(QLineEdit* edit) {
    refocusing_ = true;
    QTimer::singleShot(0, edit, [this, edit] {
        edit->setFocus();
        refocusing_ = false;
    });
}

bool JobDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && isVisible() && !refocusing_) {
        if (watched == pieceWidthEdit_) Edit1Exit();
        if (watched == pieceHeightEdit_) Edit2Exit();
    }
    return QDialog::eventFilter(watched, event);
}

void JobDialog::Button1Click(bool bottomRight) {
    geo::Position& corner = bottomRight ? corners_.bottomRight : corners_.topLeft;
    if (const auto typed = coordinates_.ask(corner)) {
        corner = *typed;
        refresh();
    }
}

} // namespace zelvano
