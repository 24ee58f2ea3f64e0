#include "ui/main_window.h"

#include "config/program_folder.h"
#include "geo/mirror_random.h"
#include "jobs/nmcli_dial_up.h"
#include "tiles/cache_cleanup.h"
#include "tools/bookmarks.h"
#include "ui/coordinate_dialog.h"
#include "ui/coordinate_edit.h"
#include "ui/delay_dialog.h"
#include "ui/job_dialog.h"
#include "ui/job_tool_window.h"
#include "ui/map_view.h"
#include "ui/named.h"
#include "ui/report_window.h"
#include "ui/search_tool_window.h"
#include "ui/settings_dialog.h"
#include "ui/status_panel.h"
#include "ui/tool_icons.h"
#include "ui/tool_window_layout.h"
#include "ui/zoom_tool_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWindow>

namespace zelvano {

MainWindow::MainWindow(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), state_(ProgramState::load(programFolder)),
      session_(new ViewSession(state_.language, systemClock(), this)) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Zelvano %1").arg(QStringLiteral(ZELVANO_VERSION)));
    geo::seedMirrorRandom();
    restoringLayout_ = true;
    buildWidgets();
    connectWidgets();
    connectToolWindows();
    relabel_ = state_.language->subscribe([this] { applyLanguage(); });
    session_->backBuffer()->resize(paintBox_->size());
    session_->meter().setStatusSink([panel = QPointer<QLabel>(statusPanels_[4])](const QString& text) {
        QMetaObject::invokeMethod(
            qApp,
            [panel, text] {
                if (panel) panel->setText(text);
            },
            Qt::QueuedConnection);
    });
    applySettings();
    statusPanels_[4]->setText(session_->meter().statusText());
    searchWindow_->showBookmarks(loadBookmarks(state_.folder), *state_.language);
    removeStaleTileFilesInBackground({cacheRoot(state_.settings, state_.folder), state_.settings.singleFolderCache});
}

MainWindow::~MainWindow() = default; // the session stops its loaders

void MainWindow::buildWidgets() {
    panel1_ = named(new QFrame(this), "Panel1");
    panel1_->setAttribute(Qt::WA_OpaquePaintEvent);
    auto* panelLayout = new QVBoxLayout(panel1_);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    paintBox_ = new MapView(session_->backBuffer(), panel1_);
    panelLayout->addWidget(paintBox_);
    setCentralWidget(panel1_);
    resize(792, 564);

    // Panels 0 to 2 and 4 as wide as their longest texts, the selection summary (3) in all the room left.
    QStatusBar* status = named(new QStatusBar(this), "StatusB");
    const QStringList longest[] = {{QStringLiteral("S85° 59,999'")},
                                   {QStringLiteral("W179° 59,999'")},
                                   {QStringLiteral("99999,999km")},
                                   {QStringLiteral("Выделено 1024x1024px, в памяти 2,000mb, скачать~ 0,1mb")},
                                   {QStringLiteral("0,000 Mb из интернета")}};
    for (int i = 0; i < 5; ++i) {
        auto* panel = named(new StatusPanel(status), QStringLiteral("StatusBPanel%1").arg(i).toLatin1().constData());
        statusPanels_[i] = panel;
        panel->fitTexts(longest[i]);
        if (i == 2 || i == 4) panel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        status->addWidget(panel, i == 3 ? 1 : 0);
    }
    setStatusBar(status);

    searchMarker_ = named(new QLabel(panel1_), "Image5");
    searchMarker_->setPixmap(searchMarkerPicture());
    searchMarker_->setFixedSize(20, 20);
    searchMarker_->setAttribute(Qt::WA_TransparentForMouseEvents);
    searchMarker_->hide();

    zoomWindow_ = new ZoomToolWindow(this);
    searchWindow_ = new SearchToolWindow(*state_.language, this);
    jobWindow_ = new JobToolWindow(this);
    coordinateDialog_ = new CoordinateDialog(*state_.language, this);
    jobDialog_ = new JobDialog(*state_.language, *coordinateDialog_, this);
    dialUp_ = std::make_shared<NmcliDialUp>();
    delayDialog_ = new DelayDialog(*state_.language, dialUp_, this);
    reportWindow_ = new ReportWindow(*state_.language, this);
    settingsDialog_ = new SettingsDialog(state_.language, state_.folder, this);
    // A language chosen in the dialog stays chosen, whatever becomes of the dialog.
    settingsDialog_->onLanguageChosen([this](const QString& file) { state_.settings.languageFile = file; });
    addDockWidget(Qt::BottomDockWidgetArea, zoomWindow_);
    addDockWidget(Qt::TopDockWidgetArea, searchWindow_);
    addDockWidget(Qt::TopDockWidgetArea, jobWindow_);
    splitDockWidget(searchWindow_, jobWindow_, Qt::Vertical); // the job window's designed row is the second

    timer1_ = named(new QTimer(this), "Timer1");
    timer1_->setInterval(200);
    timer1_->start();
    timer3_ = named(new QTimer(this), "Timer3");
    timer3_->setInterval(700);
    timer2_ = named(new QTimer(this), "Timer2");
    timer2_->setInterval(3000);
}

void MainWindow::connectWidgets() {
    connect(session_, &ViewSession::tilesArrived, paintBox_, qOverload<>(&QWidget::update));
    connect(paintBox_, &MapView::pressed, this, &MainWindow::PaintBox1MouseDown);
    connect(paintBox_, &MapView::moved, this, &MainWindow::PaintBox1MouseMove);
    connect(paintBox_, &MapView::released, this, &MainWindow::PaintBox1MouseUp);
    connect(paintBox_, &MapView::resized, this, &MainWindow::Panel1Resize);
    connect(timer1_, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    connect(timer3_, &QTimer::timeout, this, &MainWindow::Timer3Timer);
    connect(timer2_, &QTimer::timeout, this, &MainWindow::Timer2Timer);
    connect(jobWindow_->runButton(), &QPushButton::clicked, this, &MainWindow::SpeedButton2Click);
    connect(jobWindow_->jobsBox(), &QComboBox::activated, this, &MainWindow::ComboBox4Select);
    connect(jobWindow_->cancelButton(), &QPushButton::clicked, this, &MainWindow::SpeedButton3Click);

    QSlider* slider = zoomWindow_->slider();
    connect(slider, &QSlider::valueChanged, this, &MainWindow::RxSlider1Change);
    connect(slider, &QSlider::sliderReleased, this, &MainWindow::RxSlider1Changed);
    connect(slider, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove) QTimer::singleShot(0, this, &MainWindow::RxSlider1Changed);
    });
    connect(zoomWindow_->layerButton(), &QToolButton::clicked, this, &MainWindow::ToolButton1Click);
    connect(zoomWindow_->workModeButton(), &QToolButton::clicked, this, &MainWindow::ToolButton2Click);
    connect(zoomWindow_->fetchButton(), &QToolButton::clicked, this, &MainWindow::ToolButton3Click);
    connect(zoomWindow_->selectButton(), &QToolButton::clicked, this, &MainWindow::ToolButton8Click);
    connect(zoomWindow_->measureButton(), &QToolButton::clicked, this, &MainWindow::ToolButton9Click);
    connect(zoomWindow_->settingsButton(), &QToolButton::clicked, this, &MainWindow::ToolButton6Click);
    connect(jobWindow_, &JobToolWindow::summaryInputsChanged, this, &MainWindow::ComboBox2Change);
}

// The tool windows' buttons, their docking, and what their showing and hiding does to the view.
void MainWindow::connectToolWindows() {
    // The zoom and search windows lie vertical in the left and right docks, horizontal in the others; a
    // floating one keeps its arrangement. The job window is wide when docked and narrow floating.
    for (QDockWidget* dock : {static_cast<QDockWidget*>(zoomWindow_), static_cast<QDockWidget*>(searchWindow_)}) {
        connect(dock, &QDockWidget::dockLocationChanged, this, [this, dock](Qt::DockWidgetArea area) {
            if (dock == searchWindow_ && !restoringLayout_ && searchWindow_->isVisible())
                searchWindow_->latitudeEdit()->setFocus();
            if (dock->isFloating()) return;
            const bool vertical = area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
            if (dock == zoomWindow_) zoomWindow_->setVertical(vertical);
            if (dock == searchWindow_) searchWindow_->setVertical(vertical);
        });
    }
    connect(searchWindow_, &QDockWidget::topLevelChanged, this, [this](bool floating) {
        if (floating && !restoringLayout_ && searchWindow_->isVisible()) searchWindow_->latitudeEdit()->setFocus();
    });
    // The search button shows the search window floating in its vertical arrangement, or hides it.
    connect(zoomWindow_->searchButton(), &QToolButton::clicked, this, [this](bool down) {
        const QPoint place(state_.settings.toolWindowLayout[1].floatLeft, state_.settings.toolWindowLayout[1].floatTop);
        searchWindow_->setVisible(down);
        searchWindow_->setFloating(false);
        addDockWidget(Qt::LeftDockWidgetArea, searchWindow_);
        searchWindow_->setVertical(true); // as in the left dock, whatever it was before
        searchWindow_->setFloating(true);
        searchWindow_->adjustSize();
        searchWindow_->move(place);
    });
    // Where it last floated, for the search button and the settings.
    connect(searchWindow_, &SearchToolWindow::floatingPlaceChanged, this, [this](QPoint place) {
        if (restoringLayout_) return; // the stored place is being applied
        state_.settings.toolWindowLayout[1].floatLeft = place.x();
        state_.settings.toolWindowLayout[1].floatTop = place.y();
    });
    // Shown or hidden, by their buttons or otherwise: the buttons follow, and the map gets the room.
    connect(searchWindow_, &QDockWidget::visibilityChanged, this, [this](bool) {
        zoomWindow_->searchButton()->setChecked(searchWindow_->isVisible());
        redrawForToolWindow();
    });
    connect(jobWindow_, &QDockWidget::visibilityChanged, this, [this](bool) {
        const bool visible = jobWindow_->isVisible();
        if (!restoringLayout_ && !closing_ && zoomWindow_->selectButton()->isChecked() != visible) {
            zoomWindow_->selectButton()->setChecked(visible);
            ToolButton8Click(visible); // as the selection button does
        }
        updateCursor();
        redrawForToolWindow();
    });

    CoordinateEdit* edits[] = {searchWindow_->latitudeEdit(), searchWindow_->longitudeEdit()};
    for (CoordinateEdit* edit : edits)
        connect(edit, &CoordinateEdit::characterAccepted, this, &MainWindow::showBookmarkNeutralText);
    connect(searchWindow_->showButton(), &QPushButton::clicked, this, &MainWindow::ButtonFindClick);
    connect(searchWindow_->saveButton(), &QPushButton::clicked, this, &MainWindow::ButtonSaveClick);
    connect(searchWindow_->deleteButton(), &QPushButton::clicked, this, &MainWindow::ButtonDelClick);
    connect(searchWindow_->bookmarks(), &QComboBox::activated, this, &MainWindow::ComboBox1Select);
}

void MainWindow::applyLanguage() {
    const LanguageTable& t = *state_.language;
    zoomWindow_->applyLanguage(t);
    searchWindow_->applyLanguage(t);
    jobWindow_->applyLanguage(t);
    coordinateDialog_->applyLanguage(t);
    jobDialog_->applyLanguage(t);
    delayDialog_->applyLanguage(t);
    reportWindow_->applyLanguage(t);
    settingsDialog_->applyLanguage();
}

void MainWindow::applySettings() {
    const Settings& s = state_.settings;
    resize(s.windowWidth, s.windowHeight);
    move(s.windowLeft, s.windowTop);
    searchWindow_->latHemisphere()->setCurrentIndex(s.searchLatHemisphere);
    searchWindow_->lonHemisphere()->setCurrentIndex(s.searchLonHemisphere);
    searchWindow_->searchZoom()->setCurrentIndex(s.searchZoomIndex);
    jobWindow_->jpegQualityBox()->setCurrentIndex(s.panelJpegIndex);
    jobWindow_->jobZoomBox()->setCurrentIndex(s.jobZoomIndex);
    restoreToolWindows(*this, {zoomWindow_, searchWindow_, jobWindow_}, s);
    zoomWindow_->show();
    zoomWindow_->selectButton()->setChecked(s.toolWindowLayout[2].visible);
    selection_.setPresent(state_.loaded.selectionPresent);
    QSlider* slider = zoomWindow_->slider();
    slider->blockSignals(true);
    slider->setValue(s.viewZoom);
    slider->blockSignals(false);
    setWorkModeButton();
    UpdateLayerButton();
    ComboBox2Change();
}

void MainWindow::collectSettings() {
    Settings& s = state_.settings;
    // The same measures that applySettings sets: the client size, and the frame's place (as move() takes it).
    const bool normal = !isMaximized() && !isFullScreen();
    const QSize size = normal ? this->size() : normalGeometry().size();
    const QPoint place = normal ? pos() : normalGeometry().topLeft();
    s.windowWidth = size.width();
    s.windowHeight = size.height();
    s.windowLeft = place.x();
    s.windowTop = place.y();
    s.searchLatHemisphere = searchWindow_->latHemisphere()->currentIndex();
    s.searchLonHemisphere = searchWindow_->lonHemisphere()->currentIndex();
    s.searchZoomIndex = searchWindow_->searchZoom()->currentIndex();
    s.panelJpegIndex = jobWindow_->jpegQualityBox()->currentIndex();
    s.jobZoomIndex = jobWindow_->jobZoomBox()->currentIndex();
    storeToolWindows(*this, {zoomWindow_, searchWindow_, jobWindow_}, shownOnce_, s);
}

QString MainWindow::statusText(int panel) const {
    return statusPanels_[panel]->text();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void MainWindow::FormShow() {
    applyLanguage();
    if (!shownOnce_) {
        shownOnce_ = true;
        windowHandle()->installEventFilter(this); // the window previews every key, as navigation needs
        const bool search = state_.settings.toolWindowLayout[1].visible;
        const bool jobs = state_.settings.toolWindowLayout[2].visible;
        searchWindow_->setVisible(search);
        zoomWindow_->searchButton()->setChecked(search);
        jobWindow_->setVisible(jobs);
        zoomWindow_->selectButton()->setChecked(jobs);
        restoringLayout_ = false;
        keepToolWindowsOnScreen(*this, {zoomWindow_, searchWindow_, jobWindow_});
    }
    QSlider* slider = zoomWindow_->slider();
    slider->blockSignals(true);
    slider->setValue(state_.settings.viewZoom);
    slider->blockSignals(false);
    zoomWindow_->zoomLabel()->setText(QString::number(state_.settings.viewZoom));
    updateCursor();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void MainWindow::FormActivate() {
    if (activated_) return;
    activated_ = true;
    RefreshView();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    closing_ = true;
    collectSettings(); // while the tool windows still show as the user left them
    hide();
    if (!saveSettings(state_.settings, state_.folder)) // the old file stays whole; say which one was not written
        QMessageBox::warning(nullptr, state_.language->languageText(36),
                             state_.language->languageText(35) + u'\n' + settingsFilePath(state_.folder));
    stopJobs();
    session_->stopAll(); // transfers in flight end at once
    waitForLoaders(20000);
    event->accept();
}

bool MainWindow::waitForLoaders(int ms) {
    const bool none = session_->waitForLoaders(std::chrono::milliseconds(ms));
    QCoreApplication::processEvents(); // the loaders' last repaint requests and status texts
    return none;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != windowHandle() || closing_) return QMainWindow::eventFilter(watched, event);
    // Every key and wheel turn of the window passes its native window first, once, wherever the pointer
    // or the focus is.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::KeyPress)
            FormKeyDown(key->key());
        else if (!key->isAutoRepeat())
            FormKeyUp(key->key());
    } else if (event->type() == QEvent::Wheel) {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0) FormMouseWheel(delta < 0); // toward the user zooms in
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace zelvano
