// TForm1, the main window: the map view with its status bar and three tool windows, and the state of the
// whole run (settings, language table, view, selection, view loaders). Handlers keep the program's names
// (PaintBox1MouseDown, Timer3Timer, …); the drawing pass and the loader live in the widget-free view
// module, the texts and numbers in the core. UI thread only.
#pragma once

#include "config/settings_file.h"
#include "view/draw_pass.h"
#include "view/view_loader.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QComboBox;
class QDockWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTimer;
class QToolBar;
class QToolButton;
class QFrame;

namespace zelvano {

class MapView;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const QString& programFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What the rest of the program and the tests read.
    const Settings& settings() const { return settings_; }
    const LanguageTable& language() const { return *language_; }
    ViewCentre viewCentre() const { return {settings_.viewLongitude, settings_.viewLatitude, settings_.viewZoom}; }
    std::shared_ptr<BackBuffer> backBuffer() const { return buffer_; }
    int runningLoaders() const { return shared_->loaderCount.load(); }
    int drawingPasses() const { return passes_; }
    const DrawPassResult& lastPass() const { return lastPass_; }
    bool selectionPresent() const { return selectionPresent_; }
    QRect selectionPixels() const { return QRect(QPoint(x1_, y1_), QPoint(x2_, y2_)); }
    QString statusText(int panel) const;
    // Waits, handling events, until no view loader runs; false when `ms` ran out first.
    bool waitForLoaders(int ms);

    void RefreshView();
    void SetInputEnabled(bool enabled);
    void UpdateLayerButton();

    // From PaintBox1 (MapView).
    void PaintBox1MouseDown(Qt::MouseButton button, QPoint at);
    void PaintBox1MouseMove(QPoint at);
    void PaintBox1MouseUp(Qt::MouseButton button, QPoint at);
    void FormMouseWheel(bool down);
    void Panel1Resize();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWidgets();
    QDockWidget* buildZoomWindow();
    QDockWidget* buildSearchWindow();
    QDockWidget* buildJobWindow();
    void applyLanguage();
    void applySettings(const SettingsLoadResult& loaded);
    void collectSettings();
    void FormShow();
    void FormActivate();

    FetchOptions viewOptions() const;
    void startLoader(std::vector<jtype> queue, FetchOptions options,
                     std::shared_ptr<const FetchSettings> fetchSettings);
    void stopLatestLoader();
    void requestRepaint();

    QPoint toOffset(QPoint pixel) const; // from the view centre
    bool positionAt(QPoint pixel, double& lonW, double& lat) const;
    void setCentreToPixel(QPoint pixel);
    void RxSlider1Change(int value);
    void RxSlider1Changed();
    void Timer3Timer();
    void FormKeyDown(int key);
    void FormKeyUp(int key);
    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton3Click();
    void ToolButton8Click(bool down);
    void ToolButton9Click();
    void setWorkModeButton();
    void updateCursor();

    void selectionPress(QPoint at);
    void selectionMove(QPoint at);
    void selectionRelease(Qt::MouseButton button, QPoint at);
    void selectionRightRelease(QPoint at);
    void placeSelection();
    void ComboBox2Change();
    void Timer1Timer();
    void showOutline();

    QString programFolder_;
    Settings settings_;
    QStringList extraCaches_; // CacheList.dat
    std::shared_ptr<LanguageTable> language_;
    std::shared_ptr<ViewShared> shared_;
    std::shared_ptr<BackBuffer> buffer_;
    std::shared_ptr<std::atomic<bool>> latestStop_;
    QList<QPointer<ViewLoader>> loaders_;
    DrawPassResult lastPass_;
    int passes_ = 0;
    bool activated_ = false;
    bool shownOnce_ = false;
    bool inputReady_ = false;
    bool fetchMissing_ = false;
    bool closing_ = false;

    // Pan tool.
    bool panPressed_ = false;
    bool panIsClick_ = false;
    QPoint panStart_;
    QPoint lastPointer_;

    // Selection tool.
    int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    bool selectionDragging_ = false;
    bool selectionPresent_ = false;
    int outlineTicks_ = 0;
    int markerBlinks_ = 20;

    QFrame* panel1_ = nullptr;
    MapView* paintBox_ = nullptr;
    QLabel* statusPanels_[5] = {};
    QDockWidget* zoomWindow_ = nullptr;
    QDockWidget* searchWindow_ = nullptr;
    QDockWidget* jobWindow_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QToolButton* layerButton_ = nullptr;    // ToolButton1
    QToolButton* workModeButton_ = nullptr; // ToolButton2
    QToolButton* fetchButton_ = nullptr;    // ToolButton3
    QToolButton* searchButton_ = nullptr;   // ToolButton5
    QToolButton* settingsButton_ = nullptr; // ToolButton6
    QToolButton* selectButton_ = nullptr;   // ToolButton8
    QToolButton* measureButton_ = nullptr;  // ToolButton9
    QFrame* searchPanels_[4] = {};          // Panel2, Panel3, Panel6, Panel5
    QComboBox* latHemisphere_ = nullptr;    // SCB
    QComboBox* lonHemisphere_ = nullptr;    // DCB
    QComboBox* searchZoom_ = nullptr;       // FCB
    QComboBox* bookmarks_ = nullptr;        // ComboBox1
    QComboBox* jobZoom_ = nullptr;          // ComboBox2
    QComboBox* jpegQuality_ = nullptr;      // ComboBox3
    QComboBox* jobs_ = nullptr;             // ComboBox4
    QLabel* selectionLabel_ = nullptr;      // Label15
    QPushButton* runButton_ = nullptr;      // SpeedButton2
    QFrame* runningPanel_ = nullptr;        // Panel4
    QTimer* timer1_ = nullptr;
    QTimer* timer3_ = nullptr;
};

} // namespace zelvano
