#include "ui/window_fixture.h"

#include "jobs/job_texts.h"
#include "support/stub_nmcli.h"
#include "ui/coordinate_dialog.h"
#include "ui/delay_dialog.h"
#include "ui/job_dialog.h"
#include "ui/report_window.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QFileDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>
#include <functional>

using namespace zelvano;
using test::in;
using test::onModal;

namespace {

int cachedTiles(const QString& folder) {
    int n = 0;
    for (QDirIterator it(folder + QStringLiteral("/Cache"), QDir::Files, QDirIterator::Subdirectories); it.hasNext();
         it.next())
        ++n;
    return n;
}

} // namespace

class JobsTest : public test::WindowTest {
protected:
    JobsTest() {
        settings.jobZoomIndex = 10; // level 11: 400 x 200 job pixels for the 200 x 100 view pixels
        settings.toolWindowLayout[2].visible = true;
        settings.autoGenerate = false;
    }
    void selectArea() {
        open();
        drag(QPoint(100, 100), QPoint(300, 200));
        ASSERT_TRUE(w().selectionPresent());
    }
    // "Выполнить", the task chosen in the job dialog and OK.
    void run(int taskButton) {
        onModal("TOKBottomDlg", [taskButton](QWidget* d) {
            in<QRadioButton>(d, QStringLiteral("RadioButton%1").arg(taskButton).toLatin1().constData())->click();
            in<QPushButton>(d, "OKBtn")->click();
        });
        child<QPushButton>("SpeedButton2")->click();
    }
    bool jobsDone() {
        return QTest::qWaitFor([this] { return w().jobList().size() == 0 && !w().jobList().workerBusy; }, 20000);
    }
    QComboBox* jobsBox() const { return child<QComboBox>("ComboBox4"); }
};

// The user's road: a selection, "Выполнить", "Выкачать фрагменты в кэш", the status line and the report
// window while the tiles arrive, and the job gone at the end.
TEST_F(JobsTest, DownloadFromTheWindow) {
    selectArea();
    const int viewRequests = static_cast<int>(server.requests().size());
    run(2);
    ASSERT_EQ(jobsBox()->count(), 1);
    EXPECT_TRUE(jobsBox()->itemText(0).contains(QStringLiteral(" начало ... Выделено 400x200 пикселей")))
        << jobsBox()->itemText(0).toStdString();
    EXPECT_TRUE(child<QFrame>("Panel4")->isVisible());
    EXPECT_TRUE(child<QPushButton>("SpeedButton3")->isEnabled());
    QWidget* jobWindow = child<QDockWidget>("TBToolWindow3")->widget();
    EXPECT_EQ(jobWindow->size(), QSize(723, 47));
    ASSERT_TRUE(jobsDone());
    QCoreApplication::processEvents(); // the log's last lines
    const ReportWindow& report = w().reportWindow();
    EXPECT_TRUE(report.isVisible());
    const QStringList shown = report.lines();
    ASSERT_GE(shown.size(), 8);
    EXPECT_TRUE(shown.first().startsWith(QStringLiteral("Поступила команда Выкачать ")));
    EXPECT_TRUE(shown.contains(QStringLiteral("Выкачано")));
    EXPECT_TRUE(shown.last().startsWith(QStringLiteral("выполнено в")));
    const int fetched = static_cast<int>(server.requests().size()) - viewRequests;
    EXPECT_GE(fetched, 2);
    EXPECT_GE(cachedTiles(folder.path()), fetched);

    w().Timer2Timer();
    EXPECT_EQ(jobsBox()->count(), 0);
    EXPECT_FALSE(child<QFrame>("Panel4")->isVisible());
    EXPECT_FALSE(child<QPushButton>("SpeedButton3")->isEnabled());
    EXPECT_EQ(jobWindow->size(), QSize(363, 47));
    EXPECT_TRUE(child<QDockWidget>("TBToolWindow3")->isVisible()); // the selection tool is still on
}

// Each task shows its groups, in their order from the top; the others are hidden.
TEST_F(JobsTest, EachTaskShowsItsGroups) {
    open(false);
    JobDialog& d = w().jobDialog();
    d.show();
    const QStringList all = {"GroupBox6", "GroupBox2", "GroupBox3", "GroupBox4",
                             "GroupBox5", "Panel1",    "Panel2",    "Panel3"};
    const std::pair<int, QStringList> cases[] = {
        {1, {"GroupBox6", "GroupBox2", "GroupBox4", "Panel1", "Panel2", "Panel3"}},
        {2, {"GroupBox6", "GroupBox2"}},
        {3, {"GroupBox2", "GroupBox3", "Panel3"}},
        {4, {"GroupBox2", "GroupBox5", "Panel1"}},
    };
    for (const auto& [button, expected] : cases) {
        SCOPED_TRACE(button);
        in<QRadioButton>(&d, QStringLiteral("RadioButton%1").arg(button).toLatin1().constData())->click();
        QCoreApplication::processEvents();
        std::vector<QWidget*> visible;
        for (const QString& name : all)
            if (QWidget* g = d.findChild<QWidget*>(name); g->isVisible()) visible.push_back(g);
        std::sort(visible.begin(), visible.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
        QStringList names;
        for (QWidget* g : visible)
            names << g->objectName();
        EXPECT_EQ(names, expected);
    }
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Параметры"));
    EXPECT_EQ(d.width(), 494);
    EXPECT_GE(d.height(), 514);
}

// The settings into the controls and back: the layer buttons, the JPEG box, the piece checks.
TEST_F(JobsTest, DialogMappingsAndPieceChecks) {
    open(false);
    JobDialog& d = w().jobDialog();
    Settings s;
    s.jobSatellite = s.jobMap = false;
    s.jobJpegQuality = 10;
    const geo::Position topLeft{55.75, -37.6};
    // The corner whose offset from the top-left is exactly w x h pixels at level 12.
    const auto shifted = [&](int w, int h) {
        for (int dx : {w, w + 1})
            for (int dy : {h, h + 1}) {
                geo::Position p = topLeft;
                geo::ShiftPosition(dx, dy, 12, p);
                const geo::PixelOffsetResult o = geo::PixelOffset(12, p, topLeft);
                if (std::abs(o.ox) == w && std::abs(o.oy) == h) return p;
            }
        ADD_FAILURE() << "no corner " << w << " x " << h;
        return topLeft;
    };
    geo::Position bottomRight = shifted(300, 1000);
    d.fill(s, {topLeft, bottomRight}, 12);
    EXPECT_TRUE(in<QRadioButton>(&d, "RadioButton11")->isChecked());
    EXPECT_EQ(in<QComboBox>(&d, "ComboBox3")->currentText(), QStringLiteral("10%"));
    EXPECT_EQ(in<QLabel>(&d, "Label9")->text(), QStringLiteral("Размеры выделенного фрагмента: 300 x 1000"));
    EXPECT_EQ(in<QLabel>(&d, "Label4")->text(), QStringLiteral("N55°45,000'"));
    EXPECT_EQ(in<QLabel>(&d, "Label5")->text(), QStringLiteral("E37°36,000'"));

    auto* split = in<QCheckBox>(&d, "CheckBox1");
    auto* width = in<QLineEdit>(&d, "Edit1");
    auto* height = in<QLineEdit>(&d, "Edit2");
    width->setText(QStringLiteral("5000"));
    height->setText(QStringLiteral("5000"));
    split->click();
    EXPECT_EQ(width->text(), QStringLiteral("150"));
    EXPECT_EQ(height->text(), QStringLiteral("500"));
    EXPECT_TRUE(split->isChecked());
    EXPECT_TRUE(width->isEnabled());
    split->click();
    EXPECT_FALSE(width->isEnabled());

    bottomRight = shifted(200, 1000);
    d.fill(s, {topLeft, bottomRight}, 12);
    split->click();
    EXPECT_FALSE(split->isChecked()); // 200 wide: no pieces
    EXPECT_FALSE(width->isEnabled());

    // A piece size the selection cannot take sends the focus back to its edit, without a message.
    d.fill(s, {topLeft, shifted(1000, 1000)}, 12);
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    split->setChecked(false);
    split->click();
    ASSERT_TRUE(width->isEnabled());
    width->setFocus();
    width->setText(QStringLiteral("200")); // under 256
    height->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return width->hasFocus(); }, 2000));
    width->setText(QStringLiteral("400"));
    height->setFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(height->hasFocus());
    EXPECT_EQ(QApplication::activeModalWidget(), &d); // no message box over it
    d.hide();

    in<QRadioButton>(&d, "RadioButton12")->click();
    in<QComboBox>(&d, "ComboBox3")->setCurrentIndex(7);
    width->setText(QStringLiteral("many"));
    d.take(s);
    EXPECT_TRUE(!s.jobSatellite && s.jobMap);
    EXPECT_EQ(s.jobJpegQuality, 80);
    EXPECT_EQ(s.stitchPieceWidth, 5000); // not a number
    EXPECT_EQ(s.jobZoomIndex, 11);
}

// A corner edited through the coordinate dialog north of the other: the latitudes change places and the
// one at 89° is kept inside the map.
TEST_F(JobsTest, CornerEditPutsTheCornersInOrder) {
    selectArea();
    const Settings before = w().settings();
    onModal("TOKBottomDlg", [](QWidget* d) {
        onModal("TKoordDlg", [](QWidget* k) {
            static_cast<CoordinateDialog*>(k)->fill({89, -30});
            in<QPushButton>(k, "OKBtn")->click();
        });
        in<QPushButton>(d, "Button2")->click(); // the bottom-right corner
        EXPECT_EQ(in<QLabel>(d, "Label6")->text(), QStringLiteral("N89°0,000'"));
        in<QRadioButton>(d, "RadioButton4")->click(); // generation: nothing cached, nothing fetched
        in<QPushButton>(d, "OKBtn")->click();
    });
    child<QPushButton>("SpeedButton2")->click();
    const Settings& after = w().settings();
    EXPECT_DOUBLE_EQ(after.selectionTop, 85.05113);
    EXPECT_DOUBLE_EQ(after.selectionBottom, before.selectionTop);
    EXPECT_DOUBLE_EQ(after.selectionLeft, before.selectionLeft);
    EXPECT_DOUBLE_EQ(after.selectionRight, -30);
    // The generation over that tall area has thousands of tiles to look at: it is not what this test is for.
    if (const auto job = w().jobList().head()) job->cancel.request_stop();
    ASSERT_TRUE(jobsDone());
}

// With the timer dialog on: 1 h 30 min puts the job off, its status line says until when, and Cancel
// ends the wait at once without a request. Cancelling the timer dialog builds nothing.
TEST_F(JobsTest, DelayedStartAndCancel) {
    settings.showTimerDialog = true;
    selectArea();
    const int viewRequests = static_cast<int>(server.requests().size());
    onModal("TForm2", [](QWidget* t) {
        EXPECT_EQ(in<QComboBox>(t, "Cs")->currentText(), QStringLiteral("нет подключений")); // no nmcli here
        in<QSpinBox>(t, "UpDown1")->setValue(1);
        in<QSpinBox>(t, "UpDown2")->setValue(30);
        in<QPushButton>(t, "Button1")->click();
    });
    const QDateTime before = QDateTime::currentDateTime();
    run(2);
    const auto job = w().jobList().head();
    ASSERT_TRUE(job);
    EXPECT_NEAR(before.secsTo(job->startTime), 5400, 5);
    EXPECT_FALSE(job->autoConnect);
    w().Timer2Timer();
    EXPECT_EQ(jobsBox()->itemText(0), QStringLiteral("Отложено до ") + jobDateTimeText(job->startTime));

    child<QPushButton>("SpeedButton3")->click();
    // The worker, woken by the stop, may add its closing lines at once: the cancel line is among them.
    const QStringList log = w().jobList().log(*job);
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const QString& l) {
        return l.startsWith(QStringLiteral("Поступила команда Прекратить в "));
    }));
    ASSERT_TRUE(jobsDone());
    EXPECT_EQ(static_cast<int>(server.requests().size()), viewRequests);

    // A generation job never shows the timer dialog but waits for the delay it holds.
    run(4);
    const auto generation = w().jobList().head();
    ASSERT_TRUE(generation);
    EXPECT_NEAR(QDateTime::currentDateTime().secsTo(generation->startTime), 5400, 5);
    generation->cancel.request_stop();
    ASSERT_TRUE(jobsDone());

    onModal("TForm2", [](QWidget* t) {
        EXPECT_EQ(in<QSpinBox>(t, "UpDown1")->value(), 0); // every showing starts without a delay
        in<QPushButton>(t, "Button2")->click();
    });
    w().Timer2Timer();
    run(2);
    EXPECT_EQ(w().jobList().size(), 0);
    EXPECT_EQ(jobsBox()->count(), 0);
}

// A second job built while the first runs is listed above it and waits; once the first has gone, the job
// timer starts it. Closing the window ends a running job.
TEST_F(JobsTest, QueuedJobsAndClosingTheWindow) {
    server.setFallback([](const std::string&) {
        return test::ScriptedAnswer{200, test::jpegTile(3), "image/jpeg", 150};
    });
    selectArea();
    run(2);
    const auto first = w().jobList().head();
    run(2);
    const auto second = w().jobList().head();
    ASSERT_NE(first, second);
    EXPECT_EQ(jobsBox()->count(), 2);
    EXPECT_EQ(w().jobList().jobs(), (std::vector<JobList::JobPtr>{second, first}));
    const auto started = [this](const JobList::JobPtr& job) {
        const QStringList log = w().jobList().log(*job);
        return std::any_of(log.begin(), log.end(),
                           [](const QString& l) { return l.startsWith(QStringLiteral("Запуск потока")); });
    };
    EXPECT_TRUE(started(first));
    EXPECT_FALSE(started(second)); // one worker at a time

    // The older job, second in the box: its log in the report window, then Cancel.
    jobsBox()->setCurrentIndex(1);
    emit jobsBox()->activated(1);
    EXPECT_EQ(w().reportWindow().lines(), w().jobList().log(*first));
    child<QPushButton>("SpeedButton3")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w().jobList().size() == 1 && !w().jobList().workerBusy; }, 20000));
    w().Timer2Timer();
    EXPECT_TRUE(started(second));
    EXPECT_EQ(jobsBox()->count(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->tilesDone > 0; }, 20000));
    window->close(); // cancels it and waits for the worker
    EXPECT_FALSE(w().jobList().workerBusy);
    EXPECT_TRUE(second->cancelled());
}

// A dial that fails on the worker shows NetworkManager's text in a box on the window's thread, captioned
// "ошибки"; the job waits for it to close and then goes on.
TEST_F(JobsTest, FailedDialShowsItsTextAndTheJobGoesOn) {
    test::StubNmcli nmcli;
    nmcli.failDials();
    settings.showTimerDialog = true;
    selectArea();
    onModal("TForm2", [](QWidget* t) {
        EXPECT_EQ(in<QComboBox>(t, "Cs")->currentText(), QStringLiteral("Home DSL"));
        in<QComboBox>(t, "Cs")->setCurrentIndex(1); // "Phone"
        in<QCheckBox>(t, "CheckBox3")->setChecked(true);
        in<QLineEdit>(t, "Edit10")->setText(QStringLiteral("pin"));
        EXPECT_EQ(in<QLineEdit>(t, "Edit10")->echoMode(), QLineEdit::Password);
        in<QPushButton>(t, "Button1")->click();
    });
    QString shown, caption;
    onModal("DialErrorBox", [&](QWidget* box) {
        shown = static_cast<QMessageBox*>(box)->text();
        caption = box->windowTitle();
        static_cast<QMessageBox*>(box)->accept();
    });
    run(2);
    ASSERT_TRUE(jobsDone());
    EXPECT_EQ(shown, QStringLiteral("Error: Connection activation failed: No modem found."));
    EXPECT_EQ(caption, QStringLiteral("ошибки"));
    EXPECT_TRUE(nmcli.calls().contains(QStringLiteral("--wait 120 connection up id Phone passwd-file ") +
                                       nmcli.calls().last().section(u' ', -1)));
    QCoreApplication::processEvents();
    const QStringList log = w().reportWindow().lines();
    EXPECT_TRUE(log.contains(QStringLiteral("подключение")));
    EXPECT_TRUE(log.contains(QStringLiteral("Выкачано")));
}

// The selection tool switched off while a job runs: the job window stays until the last job has gone,
// then leaves with the selection.
TEST_F(JobsTest, JobWindowLeavesWithTheLastJobWhenTheToolIsOff) {
    server.setFallback([](const std::string&) {
        return test::ScriptedAnswer{200, test::jpegTile(3), "image/jpeg", 50};
    });
    selectArea();
    run(2);
    child<QToolButton>("ToolButton8")->click();
    ASSERT_FALSE(child<QToolButton>("ToolButton8")->isChecked());
    EXPECT_TRUE(child<QDockWidget>("TBToolWindow3")->isVisible());
    ASSERT_TRUE(jobsDone());
    w().Timer2Timer();
    EXPECT_FALSE(child<QDockWidget>("TBToolWindow3")->isVisible());
    EXPECT_FALSE(w().selectionPresent());
}

// "Склеить": the file chosen in SDialog, the calibration files at once, the image saved by the worker.
// SDialog cancelled builds nothing.
TEST_F(JobsTest, StitchFromTheWindow) {
    settings.calibOzi = settings.calibMapInfo = settings.calibArcGis = settings.calibSeeYou = true;
    selectArea();
    onModal("SDialog", [](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
    run(1);
    EXPECT_EQ(w().jobList().size(), 0);
    EXPECT_EQ(jobsBox()->count(), 0);

    const QString path = folder.file(QStringLiteral("area.jpg"));
    onModal("SDialog", [path](QWidget* d) {
        auto* dialog = static_cast<QFileDialog*>(d);
        EXPECT_EQ(dialog->nameFilters(), (QStringList{"JPEG Image File (*.jpg)", "PNG Image File (*.png)"}));
        EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("jpg"));
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog checks the name as its Save button does
    });
    run(1);
    ASSERT_EQ(jobsBox()->count(), 1);
    EXPECT_TRUE(jobsBox()->itemText(0).contains(QStringLiteral("  начало ... Выделено 400x200 пикселей")));
    for (const char* file : {"area.map", "area.tab", "area.jpgw", "area.MDS"})
        EXPECT_TRUE(QFile::exists(folder.file(QString::fromLatin1(file)))) << file;
    EXPECT_TRUE(w().isEnabled());
    ASSERT_TRUE(jobsDone());
    QCoreApplication::processEvents();
    EXPECT_TRUE(w().reportWindow().lines().contains(QStringLiteral("файл сохранен")));
    const QImage image(path);
    EXPECT_EQ(image.size(), QSize(400, 200));
}

// A split run: one file for all, a stitch job per piece (the next one started by the job timer), the
// SeeYou index rewritten after every piece.
TEST_F(JobsTest, SplitRunQueuesEveryPiece) {
    settings.jobZoomIndex = 11; // level 12: 800 x 400, pieces of half of it
    settings.calibOzi = false;
    settings.calibSeeYou = true;
    selectArea();
    onModal("TOKBottomDlg", [](QWidget* d) {
        in<QRadioButton>(d, "RadioButton1")->click();
        in<QCheckBox>(d, "CheckBox1")->click();
        EXPECT_EQ(in<QLineEdit>(d, "Edit1")->text(), QStringLiteral("400"));
        in<QPushButton>(d, "OKBtn")->click();
    });
    const QString path = folder.file(QStringLiteral("city.png"));
    onModal("SDialog", [path](QWidget* d) {
        static_cast<QFileDialog*>(d)->selectFile(path);
        static_cast<QDialog*>(d)->accept();
    });
    child<QPushButton>("SpeedButton2")->click();
    EXPECT_EQ(jobsBox()->count(), 4);
    EXPECT_EQ(folder.read(QStringLiteral("city.MDS")).count("\r\n"), 4);
    for (int guard = 0; guard < 8 && w().jobList().size() > 0; ++guard) {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !w().jobList().workerBusy; }, 20000));
        w().Timer2Timer();
    }
    ASSERT_TRUE(jobsDone());
    for (const char* piece : {"city_x1y1.png", "city_x1y2.png", "city_x2y1.png", "city_x2y2.png"}) {
        SCOPED_TRACE(piece);
        const QImage image(folder.file(QString::fromLatin1(piece)));
        EXPECT_GE(image.width(), 400);
        EXPECT_GE(image.height(), 200);
    }
}

// "Перенести часть кэша": the cached tiles copied with the progress window counting them, and the window
// answering again at the end.
TEST_F(JobsTest, CopyFromTheWindow) {
    settings.calibOzi = false;
    settings.calibArcGis = true;
    selectArea();
    run(2);
    ASSERT_TRUE(jobsDone());
    const QString out = folder.file(QStringLiteral("out"));
    QDir().mkpath(out);
    onModal("TOKBottomDlg", [out](QWidget* d) {
        in<QRadioButton>(d, "RadioButton3")->click();
        in<QLineEdit>(d, "DirectoryEdit1")->setText(out);
        in<QPushButton>(d, "OKBtn")->click();
    });
    child<QPushButton>("SpeedButton2")->click();
    const QStringList copies = QDir(out).entryList({QStringLiteral("*.jpg")}, QDir::Files);
    EXPECT_GE(copies.size(), 2);
    EXPECT_EQ(QDir(out).entryList({QStringLiteral("*.jpgw")}, QDir::Files).size(), copies.size());
    auto* progress = w().findChild<QDialog*>(QStringLiteral("TForm3"));
    ASSERT_TRUE(progress);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(progress->windowTitle(), QStringLiteral("Процесс"));
    EXPECT_TRUE(in<QLabel>(progress, "Label1")->text().startsWith(QStringLiteral("Всего: ")));
    EXPECT_TRUE(in<QLabel>(progress, "Label2")->text().startsWith(QStringLiteral("Выполнено: ")));
    EXPECT_TRUE(w().isEnabled());
    EXPECT_EQ(w().settings().copyFolder, out);
}
