// A stitch job from its build to its saved image: the log, the calibration files written at the build,
// each tile's picture at its offset, the placeholder for a tile that cannot be obtained, skipped tiles
// left black, a cancelled or failed job, the split into pieces with their SeeYou index.
#include "jobs/job_fixture.h"

#include "base/number_text.h"
#include "base/text_file.h"

#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>
#include <set>

using namespace zelvano;
using namespace zelvano::test;

namespace {

// The middle of the part of the tile that lies inside the image.
QPoint middleOf(const JobTile& t, QSize image) {
    return {(std::max(t.x, 0) + std::min(t.x + 256, image.width())) / 2,
            (std::max(t.y, 0) + std::min(t.y + 256, image.height())) / 2};
}

bool near(QRgb a, QColor b, int tolerance = 12) {
    return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance &&
           std::abs(qBlue(a) - b.blue()) <= tolerance;
}

} // namespace

class StitchJobTest : public JobFixture {
protected:
    // A stitch of 3 × 2 tiles (568 × 312 pixels) into a PNG with every calibration file; each tile a colour
    // of its own, by its place in the list.
    JobDefinition stitch(const QString& name = QStringLiteral("area.png")) {
        JobDefinition d = area(3, 2, JobKind::Stitch);
        d.fileName = folder.file(name);
        d.savePng = name.endsWith(QStringLiteral(".png"));
        d.calibration = {true, true, true, true};
        return d;
    }

    // Serves the job's tiles in their colours; the tiles of `failing` (list order) answer 404.
    void serveColours(const stichtype& job, std::set<int> failing = {}) {
        const QStringList order = targets(job);
        std::map<std::string, int> index;
        for (int i = 0; i < order.size(); ++i)
            index[order[i].toStdString()] = i;
        server.setFallback([index, failing, this](const std::string& t) {
            const auto it = index.find(t);
            if (it == index.end() || failing.contains(it->second)) return ScriptedAnswer{404, "gone"};
            return ScriptedAnswer{200, solidJpeg(colour(it->second))};
        });
    }

    static QColor colour(int i) { return QColor::fromHsv(i * 55 % 360, 200, 230); }

    // The tiles in the order the worker takes them.
    static std::vector<JobTile> inOrder(const stichtype& job) {
        const auto& built = job.tiles.built();
        return {built.rbegin(), built.rend()};
    }

    QStringList folderFiles() const { return QDir(folder.path()).entryList(QDir::Files, QDir::Name); }
};

TEST_F(StitchJobTest, TilesAtTheirOffsetsAPlaceholderAndTheLog) {
    limits.retryCount = 0;
    const auto job = build(stitch());
    ASSERT_TRUE(job);
    ASSERT_EQ(job->tileCount, 6);
    EXPECT_EQ(job->widthPx, 568);
    EXPECT_EQ(job->heightPx, 312);
    // The calibration files stand before the image is made.
    EXPECT_EQ(folderFiles(), (QStringList{"area.MDS", "area.map", "area.pngw", "area.prj", "area.tab"}));
    const std::vector<JobTile> tiles = inOrder(*job);
    serveColours(*job, {4});
    const JobSummary summary = runJob(host, job);
    EXPECT_TRUE(summary.saved);
    EXPECT_EQ(summary.obtained, 5);
    EXPECT_EQ(summary.failed, 1);

    const QStringList log = jobs->log(*job);
    ASSERT_GE(log.size(), 10);
    EXPECT_EQ(log.mid(0, 5),
              (QStringList{
                  QStringLiteral("Поступила команда Склеить 10.12.2026 12:00:00"),
                  QStringLiteral("Начато формирование списка склеиваимых фрагментов 10.12.2026 12:00:00"),
                  QStringLiteral("Список создан 10.12.2026 12:00:00"),
                  QStringLiteral("Выделение памяти под битовый образ Мб:0,00000010.12.2026 12:00:01"),
                  QStringLiteral("Начало склеивания в 10.12.2026 12:00:01  Размеры  568x312  координаты ") +
                      formatFixed(job->topLat, 6) + u' ' + formatFixed(job->leftLon, 6) + u' ' + job->fileName,
              }));
    EXPECT_EQ(log.mid(log.size() - 5),
              (QStringList{QStringLiteral("Склеено в памяти"), QStringLiteral("начало сохранения"),
                           QStringLiteral("файл сохранен"), QStringLiteral("очистка памяти"),
                           QStringLiteral("выполнено в10.12.2026 12:00:02")})); // one retry pause
    EXPECT_FALSE(job->image);                                                   // released with the job

    const QImage image(job->fileName);
    ASSERT_EQ(image.size(), QSize(568, 312));
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(testing::Message() << "tile " << i << " at " << tiles[i].x << ", " << tiles[i].y);
        const QPoint p = middleOf(tiles[i], image.size());
        EXPECT_TRUE(near(image.pixel(p), i == 4 ? QColor(138, 138, 138) : colour(i))) << std::hex << image.pixel(p);
    }
    // The first row and column start 100 pixels into their tiles; the first tile built holds the corner.
    EXPECT_EQ(tiles.back().x, -100);
    EXPECT_EQ(tiles.back().y, -100);
    EXPECT_TRUE(near(image.pixel(0, 0), colour(5)));
}

// Past the fetch error limit the rest is skipped and stays black; the job still stitches and saves.
TEST_F(StitchJobTest, SkippedTilesStayBlack) {
    limits.retryCount = 0;
    limits.fetchErrorLimit = 0;
    const auto job = build(stitch());
    ASSERT_TRUE(job);
    const std::vector<JobTile> tiles = inOrder(*job);
    serveColours(*job, {1});
    const JobSummary summary = runJob(host, job);
    EXPECT_EQ(summary.skipped, 4);
    EXPECT_TRUE(summary.saved);
    const QImage image(job->fileName);
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(near(image.pixel(middleOf(tiles[0], image.size())), colour(0)));
    EXPECT_TRUE(near(image.pixel(middleOf(tiles[1], image.size())), QColor(138, 138, 138)));
    for (int i = 2; i < 6; ++i)
        EXPECT_EQ(image.pixel(middleOf(tiles[i], image.size())), qRgb(0, 0, 0)) << "tile " << i;
}

// A cancelled stitch saves nothing and leaves its calibration files; a save that fails says so and leaves
// what stood there; calibration files that cannot be written abandon the build with nothing listed.
TEST_F(StitchJobTest, EndingsWithoutANewImage) {
    {
        const auto job = build(stitch(QStringLiteral("cancelled.jpg")));
        job->cancel.request_stop();
        const JobSummary summary = runJob(host, job);
        EXPECT_FALSE(summary.saved);
        EXPECT_FALSE(QFile::exists(job->fileName));
        EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("cancelled.map"))));
        EXPECT_FALSE(jobs->log(*job).contains(QStringLiteral("начало сохранения")));
    }
    {
        const QString path = folder.file(QStringLiteral("kept.jpg"));
        ASSERT_TRUE(writeFileAtomically(path, "old"));
        QFile(path).setPermissions(QFile::ReadOwner);
        const auto job = build(stitch(QStringLiteral("kept.jpg")));
        serveColours(*job);
        const JobSummary summary = runJob(host, job);
        EXPECT_FALSE(summary.saved);
        EXPECT_TRUE(jobs->log(*job).contains(QStringLiteral("ошибка в процессе сохранения")));
        EXPECT_EQ(fileBytes(path), "old");
    }
    {
        CalibrationResult calibration;
        const auto job = buildJob(host, stitch(QStringLiteral("missing/area.jpg")), &calibration);
        EXPECT_FALSE(job);
        ASSERT_TRUE(calibration.failed);
        EXPECT_EQ(*calibration.failed, folder.file(QStringLiteral("missing/area.map")));
        EXPECT_EQ(jobs->size(), 0);
    }
}

// 12 000 × 7 000 pixels in pieces of 5000: three columns of two rows, the last column and row what
// remains; each piece's far corner is shifted by its size + 1, so a piece may reach one pixel into its
// neighbour (by the rounding of the corners' positions), and the SeeYou index collects one entry per piece instead of a
// file each.
TEST_F(StitchJobTest, SplitIntoPiecesWithOneSeeYouIndex) {
    JobDefinition whole = stitch(QStringLiteral("city.jpg"));
    whole.level = 16;
    whole.topLeft = {55.75, -37.6};
    whole.bottomRight = whole.topLeft;
    geo::ShiftPosition(12000, 7000, 16, whole.bottomRight);
    whole.calibration = {false, false, false, true};
    QStringList index;
    whole.seeYouIndex = &index;
    const std::vector<JobDefinition> pieces = pieceDefinitions(whole, whole.fileName, 5000, 5000, false);
    struct Expected {
        const char* name;
        int width, height;
    };
    const Expected expected[] = {{"city_x1y1.jpg", 5001, 5001}, {"city_x1y2.jpg", 5001, 2001},
                                 {"city_x2y1.jpg", 5001, 5001}, {"city_x2y2.jpg", 5001, 2001},
                                 {"city_x3y1.jpg", 2001, 5001}, {"city_x3y2.jpg", 2001, 2001}};
    ASSERT_EQ(pieces.size(), 6u);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(pieces[i].fileName, folder.file(QString::fromUtf8(expected[i].name)));
        EXPECT_FALSE(pieces[i].savePng);
        const QSize size = selectionPixels(pieces[i]);
        EXPECT_LE(std::abs(size.width() - expected[i].width), 1) << size.width();
        EXPECT_LE(std::abs(size.height() - expected[i].height), 1) << size.height();
        ASSERT_TRUE(buildJob(host, pieces[i]));
        EXPECT_TRUE(saveSeeYouIndex(index, seeYouPath(whole.fileName)));
    }
    EXPECT_EQ(index.size(), 6);
    EXPECT_TRUE(index[2].startsWith(QStringLiteral("city_x2y1.jpg,")));
    EXPECT_EQ(readTextLines(folder.file(QStringLiteral("city.MDS"))), index);
    EXPECT_EQ(folderFiles(), QStringList{QStringLiteral("city.MDS")}); // no .MDS per piece
    // With coordinates in the name every piece is a JPEG named after its own corner.
    const auto named = pieceDefinitions(whole, folder.file(QStringLiteral("MAP.PNG")), 5000, 5000, true);
    EXPECT_TRUE(named[1].fileName.endsWith(QStringLiteral(".jpg")));
    EXPECT_TRUE(named[1].fileName.contains(QStringLiteral("MAP_x1y2_")));
    EXPECT_EQ(pieceDefinitions(whole, folder.file(QStringLiteral("MAP.PNG")), 5000, 5000, false)[5].fileName,
              folder.file(QStringLiteral("MAP_x3y2.png")));
}
