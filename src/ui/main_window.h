// TForm1, the main window: the map view PaintBox1 with its status bar and the three tool windows. It holds
// the program's state and the view session, and its handlers (named as the program names them:
// PaintBox1MouseDown, Timer3Timer, …) forward to the core: the session draws and loads, the navigation and
// selection functions compute, the text functions word. UI thread only.
#pragma once

#include "config/program_state.h"
#include "jobs/job_builder.h"
#include "tools/measured_path.h"
#include "ui/kept_focus.h"
#include "view/navigation.h"
#include "view/selection.h"
#include "view/view_session.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>

class QFileDialog;
class QFrame;
class QLabel;
class QTimer;

namespace zelvano {

class CoordinateDialog;
class DelayDialog;
class JobDialog;
class JobToolWindow;
class ProgressWindow;
class ReportWindow;
class SettingsDialog;
class MapView;
class SearchToolWindow;
class ZoomToolWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const QString& programFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What the rest of the program and the tests read.
    const Settings& settings() const { return state_.settings; }
    const LanguageTable& language() const { return *state_.language; }
    ViewCentre viewCentre() const { return viewCentreOf(state_.settings); }
    std::shared_ptr<BackBuffer> backBuffer() const { return session_->backBuffer(); }
    int runningLoaders() const { return session_->runningLoaders(); }
    int drawingPasses() const { return session_->passes(); }
    const DrawPassResult& lastPass() const { return session_->lastPass(); }
    bool selectionPresent() const { return selection_.present(); }
    QRect selectionPixels() const { return selection_.pixels(); }
    QString statusText(int panel) const;
    const MeasuredPath& measuredPath() const { return path_; }
    // The coordinate dialog, kept for the whole run (the job dialog opens it).
    CoordinateDialog& coordinateDialog() const { return *coordinateDialog_; }
    // The job dialog, the delay dialog and the report window, made once with the window.
    JobDialog& jobDialog() const { return *jobDialog_; }
    DelayDialog& delayDialog() const { return *delayDialog_; }
    ReportWindow& reportWindow() const { return *reportWindow_; }
    JobList& jobList() const { return *jobs_; }
    // Waits until no view loader runs, then handles what they posted; false when `ms` ran out first.
    bool waitForLoaders(int ms);

    void RefreshView();
    // main_window_jobs.cpp: "Выполнить", the job timer, Cancel.
    void SpeedButton2Click();
    void Timer2Timer();
    void ComboBox4Select(int index);
    void SpeedButton3Click();
    void SetInputEnabled(bool enabled);
    // main_window_settings.cpp: the settings dialog.
    void ToolButton6Click();
    SettingsDialog& settingsDialog() const { return *settingsDialog_; }
    void UpdateLayerButton();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWidgets();
    void connectWidgets();
    void applyLanguage();
    void applySettings();
    void collectSettings();
    void FormShow();
    void FormActivate();
    void connectToolWindows();

    // main_window_view.cpp: the window's side of a drawing pass.
    void DrawView();
    FetchOptions viewOptions() const;
    QSize viewSize() const;
    void Panel1Resize();
    // A tool window shown or hidden: the map has another size, drawn anew once the docks have settled.
    void redrawForToolWindow();

    // main_window_input.cpp: pointer, wheel, keys and toolbar.
    void PaintBox1MouseDown(Qt::MouseButton button, QPoint at);
    void PaintBox1MouseMove(QPoint at);
    void PaintBox1MouseUp(Qt::MouseButton button, QPoint at);
    void FormMouseWheel(bool down);
    void RxSlider1Change(int value);
    void RxSlider1Changed();
    void Timer3Timer();
    void FormKeyDown(int key);
    void FormKeyUp(int key);
    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton3Click();
    void ToolButton9Click();
    void setWorkModeButton();
    void updateCursor();
    void setViewPosition(geo::Position position);
    void showPointerPosition();
    void measureClick(Qt::MouseButton button, QPoint at);
    void showMeasuredPath();

    // main_window_search.cpp: the search panel and the bookmarks.
    void ButtonFindClick();
    void ButtonSaveClick();
    void ButtonDelClick();
    void ComboBox1Select(int index);
    void showBookmarkNeutralText();
    void showSearchMarker(bool visible);

    // main_window_selection.cpp: the selection tool.
    void selectionPress(QPoint at);
    void selectionMove(QPoint at);
    void selectionRelease(Qt::MouseButton button, QPoint at);
    void selectionRightRelease(QPoint at);
    void ToolButton8Click(bool down);
    void ComboBox2Change();
    void Timer1Timer();
    void showOutline();

    // main_window_jobs.cpp
    JobHost jobHost();
    void runBuilder(JobKind kind, bool replace);
    bool runStitchBuilder(JobDefinition definition, const QString& fileName, bool coordinates, bool piece);
    void splitRun();
    QString askStitchFile();
    bool queueJob(const JobDefinition& definition, bool piece);
    void runCopy(const QString& folder, bool calibrationOnly);
    void startWorker(const JobHost& host, int entry);
    void jobLogged(const std::shared_ptr<stichtype>& job);
    void showJobLog(const std::shared_ptr<stichtype>& job);
    void stopJobs();

    ProgramState state_;
    ViewSession* session_ = nullptr;
    LanguageTable::Subscription relabel_;
    bool activated_ = false;
    bool shownOnce_ = false;
    bool inputReady_ = false;
    bool fetchMissing_ = false;
    bool closing_ = false;

    bool restoringLayout_ = false; // from construction to the first showing
    KeptFocus focusBeforePass_;

    // Pan tool and the pointer read-out.
    bool panPressed_ = false;
    bool panIsClick_ = false;
    QPoint panStart_;
    std::optional<QPoint> lastPointer_; // over the map

    MeasuredPath path_;

    // Selection tool.
    SelectionTool selection_;
    int outlineTicks_ = 0;
    int markerBlinks_ = 20;

    QFrame* panel1_ = nullptr;
    MapView* paintBox_ = nullptr;
    QLabel* statusPanels_[5] = {};
    ZoomToolWindow* zoomWindow_ = nullptr;
    SearchToolWindow* searchWindow_ = nullptr;
    JobToolWindow* jobWindow_ = nullptr;
    QLabel* searchMarker_ = nullptr; // Image5
    CoordinateDialog* coordinateDialog_ = nullptr;
    JobDialog* jobDialog_ = nullptr;
    DelayDialog* delayDialog_ = nullptr;
    ReportWindow* reportWindow_ = nullptr;
    SettingsDialog* settingsDialog_ = nullptr; // TForm5
    QFileDialog* sDialog_ = nullptr;           // SDialog, made when first needed
    ProgressWindow* progressWindow_ = nullptr; // TForm3, likewise
    QTimer* timer2_ = nullptr;
    std::shared_ptr<JobList> jobs_ = std::make_shared<JobList>();
    std::shared_ptr<SharedJobLimits> jobLimits_ = std::make_shared<SharedJobLimits>();
    std::shared_ptr<DialUp> dialUp_;
    QPointer<JobWorker> worker_;
    std::weak_ptr<stichtype> reportJob_;                     // the job whose log the report window follows
    int reportLines_ = 0;                                    // its lines the window shows
    std::shared_ptr<char> alive_ = std::make_shared<char>(); // gone with the window
    QTimer* timer1_ = nullptr;
    QTimer* timer3_ = nullptr;
};

} // namespace zelvano
