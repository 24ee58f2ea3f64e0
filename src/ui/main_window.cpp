#include "ui/main_window.h"

#include "base/text_file.h"
#include "geo/mirror_random.h"
#include "tiles/cache_list.h"
#include "ui/map_view.h"
#include "ui/tool_icons.h"
#include "view/view_texts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace zelvano {

namespace {

template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

Qt::DockWidgetArea areaOf(int dockSide) {
    switch (dockSide) {
    case kBottomDock:
        return Qt::BottomDockWidgetArea;
    case kTopDock:
        return Qt::TopDockWidgetArea;
    case kRightDock:
        return Qt::RightDockWidgetArea;
    default:
        return Qt::LeftDockWidgetArea;
    }
}

int dockSideOf(Qt::DockWidgetArea area) {
    switch (area) {
    case Qt::BottomDockWidgetArea:
        return kBottomDock;
    case Qt::TopDockWidgetArea:
        return kTopDock;
    case Qt::RightDockWidgetArea:
        return kRightDock;
    default:
        return kLeftDock;
    }
}

} // namespace

MainWindow::MainWindow(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), programFolder_(programFolder), language_(std::make_shared<LanguageTable>()),
      shared_(std::make_shared<ViewShared>(language_)), buffer_(std::make_shared<BackBuffer>()) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Zelvano %1").arg(QStringLiteral(ZELVANO_VERSION)));
    buildWidgets();
    geo::seedMirrorRandom();
    language_->setApplyLanguage([this] { applyLanguage(); });
    buffer_->resize(paintBox_->size());
    shared_->meter.setStatusSink([panel = QPointer<QLabel>(statusPanels_[4])](const QString& text) {
        QMetaObject::invokeMethod(
            qApp,
            [panel, text] {
                if (panel) panel->setText(text);
            },
            Qt::QueuedConnection);
    });
    extraCaches_ = loadCacheList(programFolder_); // for the settings dialog; no tile lookup reads them
    const SettingsLoadResult loaded = loadSettings(settings_, *language_, programFolder_);
    applySettings(loaded);
    statusPanels_[4]->setText(shared_->meter.statusText());
    if (const auto favourites = readTextLines(programFolder_ + QStringLiteral("/Favorites.dat"))) {
        bookmarks_->clear();
        QStringList items = *favourites;
        items.sort();
        bookmarks_->addItems(items);
    }
    bookmarks_->setCurrentText(language_->languageText(19));
}

MainWindow::~MainWindow() {
    if (latestStop_) *latestStop_ = true;
}

void MainWindow::buildWidgets() {
    panel1_ = named(new QFrame(this), "Panel1");
    panel1_->setAttribute(Qt::WA_OpaquePaintEvent);
    auto* panelLayout = new QVBoxLayout(panel1_);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    paintBox_ = new MapView(*this, buffer_, panel1_);
    panelLayout->addWidget(paintBox_);
    setCentralWidget(panel1_);
    resize(792, 564);

    QStatusBar* status = named(new QStatusBar(this), "StatusB");
    const int widths[] = {120, 120, 90, 340, 100};
    for (int i = 0; i < 5; ++i) {
        statusPanels_[i] = named(new QLabel(status), QStringLiteral("StatusBPanel%1").arg(i).toLatin1().constData());
        if (i == 4)
            statusPanels_[i]->setMinimumWidth(widths[i]); // grows to fit "0,000 Mb из интернета"
        else
            statusPanels_[i]->setFixedWidth(widths[i]);
        statusPanels_[i]->setFrameShape(QFrame::StyledPanel);
        if (i == 2 || i == 4) statusPanels_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        status->addWidget(statusPanels_[i]);
    }
    setStatusBar(status);

    zoomWindow_ = buildZoomWindow();
    searchWindow_ = buildSearchWindow();
    jobWindow_ = buildJobWindow();
    addDockWidget(Qt::BottomDockWidgetArea, zoomWindow_);
    addDockWidget(Qt::TopDockWidgetArea, searchWindow_);
    addDockWidget(Qt::TopDockWidgetArea, jobWindow_);
    splitDockWidget(searchWindow_, jobWindow_, Qt::Vertical); // the job window's designed row is the second

    timer1_ = named(new QTimer(this), "Timer1");
    timer1_->setInterval(200);
    connect(timer1_, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    timer1_->start();
    timer3_ = named(new QTimer(this), "Timer3");
    timer3_->setInterval(700);
    connect(timer3_, &QTimer::timeout, this, &MainWindow::Timer3Timer);
}

QDockWidget* MainWindow::buildZoomWindow() {
    auto* dock = named(new QDockWidget(this), "TBToolWindow1");
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* content = new QWidget(dock);
    auto* layout = new QHBoxLayout(content);
    layout->setContentsMargins(2, 0, 2, 0);
    slider_ = named(new QSlider(Qt::Horizontal, content), "RxSlider1");
    slider_->setRange(geo::kMinLevel, geo::kMaxLevel);
    slider_->setPageStep(1);
    slider_->setFixedWidth(269);
    zoomLabel_ = named(new QLabel(content), "Label1");
    zoomLabel_->setMinimumWidth(24);
    toolBar_ = named(new QToolBar(content), "ToolBar1");
    toolBar_->setIconSize(QSize(20, 20));
    auto button = [this](const char* name, int image, bool checkable) {
        auto* b = named(new QToolButton(toolBar_), name);
        b->setIcon(toolIcon(image));
        b->setProperty("imageIndex", image);
        b->setCheckable(checkable);
        toolBar_->addWidget(b);
        return b;
    };
    workModeButton_ = button("ToolButton2", kImageCacheAndInternet, false);
    layerButton_ = button("ToolButton1", kImageSatellite, false);
    fetchButton_ = button("ToolButton3", kImageFetchMissing, false);
    searchButton_ = button("ToolButton5", kImageSearch, true);
    selectButton_ = button("ToolButton8", kImageSelection, true);
    measureButton_ = button("ToolButton9", kImageMeasure, true);
    settingsButton_ = button("ToolButton6", kImageSettings, false);
    layout->addWidget(slider_);
    layout->addWidget(zoomLabel_);
    layout->addWidget(toolBar_);
    layout->addStretch();
    dock->setWidget(content);
    dock->setTitleBarWidget(new QWidget(dock)); // no caption, no close button

    connect(slider_, &QSlider::valueChanged, this, &MainWindow::RxSlider1Change);
    connect(slider_, &QSlider::sliderReleased, this, &MainWindow::RxSlider1Changed);
    connect(slider_, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove) QTimer::singleShot(0, this, &MainWindow::RxSlider1Changed);
    });
    connect(layerButton_, &QToolButton::clicked, this, &MainWindow::ToolButton1Click);
    connect(workModeButton_, &QToolButton::clicked, this, &MainWindow::ToolButton2Click);
    connect(fetchButton_, &QToolButton::clicked, this, &MainWindow::ToolButton3Click);
    connect(selectButton_, &QToolButton::clicked, this, &MainWindow::ToolButton8Click);
    connect(measureButton_, &QToolButton::clicked, this, &MainWindow::ToolButton9Click);
    connect(searchButton_, &QToolButton::clicked, this, [this](bool down) {
        searchWindow_->setVisible(down);
        searchWindow_->setFloating(true);
    });
    return dock;
}

QDockWidget* MainWindow::buildSearchWindow() {
    auto* dock = named(new QDockWidget(this), "TBToolWindow2");
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                      QDockWidget::DockWidgetClosable);
    auto* content = new QWidget(dock);
    auto* layout = new QHBoxLayout(content);
    layout->setContentsMargins(2, 0, 2, 0);
    auto panel = [&](const char* name, int index) {
        auto* p = named(new QFrame(content), name);
        auto* l = new QHBoxLayout(p);
        l->setContentsMargins(2, 2, 2, 2);
        searchPanels_[index] = p;
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
    bookmarks_->addItem(QStringLiteral("____________________ N E"));
    marks->addWidget(bookmarks_);
    marks->addWidget(named(new QPushButton(content), "ButtonSave"));
    marks->addWidget(named(new QPushButton(content), "ButtonDel"));
    layout->addStretch();
    dock->setWidget(content);
    connect(dock, &QDockWidget::visibilityChanged, this,
            [this](bool) { searchButton_->setChecked(searchWindow_->isVisible()); });
    return dock;
}

QDockWidget* MainWindow::buildJobWindow() {
    auto* dock = named(new QDockWidget(this), "TBToolWindow3");
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    auto* content = new QWidget(dock);
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
    dock->setWidget(content);
    for (QComboBox* box : {jobZoom_, jpegQuality_, jobs_})
        connect(box, &QComboBox::currentIndexChanged, this, &MainWindow::ComboBox2Change);
    connect(dock, &QDockWidget::visibilityChanged, this, [this](bool) {
        selectButton_->setChecked(jobWindow_->isVisible());
        updateCursor();
    });
    return dock;
}

void MainWindow::applyLanguage() {
    const LanguageTable& t = *language_;
    const std::pair<const char*, int> captions[] = {
        {"Label5", 0},       {"Label19", 1},   {"Label20", 2},        {"SpeedButton1", 3},
        {"ButtonSave", 4},   {"ButtonDel", 5}, {"Label6", 6},         {"Label14", 7},
        {"SpeedButton2", 8}, {"Label17", 207}, {"SpeedButton3", 208},
    };
    for (const auto& [name, entry] : captions) {
        QWidget* w = findChild<QWidget*>(QLatin1String(name));
        if (auto* label = qobject_cast<QLabel*>(w)) label->setText(t.languageText(entry));
        if (auto* button = qobject_cast<QPushButton*>(w)) button->setText(t.languageText(entry));
    }
    jobWindow_->setWindowTitle(t.languageText(200));
    searchWindow_->setWindowTitle(t.languageText(206));
    fetchButton_->setToolTip(t.languageText(9));
    searchButton_->setToolTip(t.languageText(10));
    measureButton_->setToolTip(t.languageText(11));
    selectButton_->setToolTip(t.languageText(12));
    settingsButton_->setToolTip(t.languageText(13));
}

void MainWindow::applySettings(const SettingsLoadResult& loaded) {
    const Settings& s = settings_;
    resize(s.windowWidth, s.windowHeight);
    move(s.windowLeft, s.windowTop);
    latHemisphere_->setCurrentIndex(s.searchLatHemisphere);
    lonHemisphere_->setCurrentIndex(s.searchLonHemisphere);
    searchZoom_->setCurrentIndex(s.searchZoomIndex);
    jpegQuality_->setCurrentIndex(s.panelJpegIndex);
    jobZoom_->setCurrentIndex(s.jobZoomIndex);
    QDockWidget* docks[] = {zoomWindow_, searchWindow_, jobWindow_};
    for (int w = 0; w < kToolWindowCount; ++w) {
        const ToolWindowLayout& l = s.toolWindowLayout[w];
        if (dockWidgetArea(docks[w]) != areaOf(l.dockSide)) addDockWidget(areaOf(l.dockSide), docks[w]);
        docks[w]->setFloating(l.floating);
        if (l.floating) docks[w]->move(l.floatLeft, l.floatTop);
    }
    selectButton_->setChecked(s.toolWindowLayout[2].visible);
    selectionPresent_ = loaded.selectionPresent;
    slider_->blockSignals(true);
    slider_->setValue(s.viewZoom);
    slider_->blockSignals(false);
    setWorkModeButton();
    UpdateLayerButton();
    ComboBox2Change();
}

void MainWindow::collectSettings() {
    Settings& s = settings_;
    // The same measures that applySettings sets: the client size, and the frame's place (as move() takes it).
    const bool normal = !isMaximized() && !isFullScreen();
    const QSize size = normal ? this->size() : normalGeometry().size();
    const QPoint place = normal ? pos() : normalGeometry().topLeft();
    s.windowWidth = size.width();
    s.windowHeight = size.height();
    s.windowLeft = place.x();
    s.windowTop = place.y();
    s.searchLatHemisphere = latHemisphere_->currentIndex();
    s.searchLonHemisphere = lonHemisphere_->currentIndex();
    s.searchZoomIndex = searchZoom_->currentIndex();
    s.panelJpegIndex = jpegQuality_->currentIndex();
    s.jobZoomIndex = jobZoom_->currentIndex();
    QDockWidget* docks[] = {zoomWindow_, searchWindow_, jobWindow_};
    for (int w = 0; w < kToolWindowCount; ++w) {
        ToolWindowLayout& l = s.toolWindowLayout[w];
        l.floating = docks[w]->isFloating();
        if (l.floating) {
            l.floatLeft = docks[w]->x();
            l.floatTop = docks[w]->y();
        } else {
            l.dockSide = dockSideOf(dockWidgetArea(docks[w]));
        }
        if (w > 0) l.visible = shownOnce_ ? docks[w]->isVisible() : l.visible;
    }
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
        searchWindow_->setVisible(settings_.toolWindowLayout[1].visible);
        searchButton_->setChecked(settings_.toolWindowLayout[1].visible);
        jobWindow_->setVisible(settings_.toolWindowLayout[2].visible);
        selectButton_->setChecked(settings_.toolWindowLayout[2].visible);
    }
    slider_->blockSignals(true);
    slider_->setValue(settings_.viewZoom);
    slider_->blockSignals(false);
    zoomLabel_->setText(QString::number(settings_.viewZoom));
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
    if (!saveSettings(settings_, programFolder_))
        QMessageBox::warning(nullptr, language_->languageText(36), language_->languageText(35));
    stopLatestLoader();
    waitForLoaders(20000);
    event->accept();
}

bool MainWindow::waitForLoaders(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (shared_->loaderCount.load() > 0) {
        const qint64 left = ms - timer.elapsed();
        if (left <= 0) return false;
        for (const QPointer<ViewLoader>& loader : std::as_const(loaders_)) {
            if (loader && loader->isRunning()) {
                loader->wait(QDeadlineTimer(std::min<qint64>(left, 100)));
                break;
            }
        }
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents(); // the loaders' last repaint requests
    return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Every key of the window passes its native window first, once, whichever widget has the focus.
    if (watched == windowHandle() && !closing_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::KeyPress)
            FormKeyDown(key->key());
        else if (!key->isAutoRepeat())
            FormKeyUp(key->key());
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace zelvano
