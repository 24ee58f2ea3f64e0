#include "jobs/copy_job.h"

#include "base/text_file.h"
#include "geo/tile_math.h"
#include "jobs/job_builder.h"
#include "jobs/tile_list.h"

#include <QFile>

#include <algorithm>
#include <limits>

namespace zelvano {

namespace {

constexpr qint64 kLargestTileFile = 64LL * 1024 * 1024;

// One present tile: its copy, then its calibration files. False when something could not be written.
bool copyTile(const CopyRequest& r, const geo::TileId& tile, const QString& source, QStringList* seeYou,
              CopyResult& result) {
    const QString target = r.folder + tile.letters() + QStringLiteral(".jpg");
    if (!r.calibrationOnly) {
        const auto bytes = readSmallFile(source, kLargestTileFile);
        if (!bytes || !writeFileAtomically(target, *bytes)) return false; // a read-only copy stays
        ++result.copied;
        result.files << target;
    }
    const CalibrationFormats& f = r.formats;
    if (!f.ozi && !f.mapInfo && !f.worldFile && !f.seeYou) return true;
    CalibrationImage image;
    image.level = r.level;
    image.width = 256;
    image.height = 256;
    image.linkedToCache = r.calibrationOnly;
    image.cacheFile = source;
    image.imagePath = target;
    image.topLeft = geo::tileNorthWest(tile.wrapped());
    const CalibrationResult written = writeCalibration(image, f, seeYou);
    result.files << written.written;
    if (written.failed) return false;
    ++result.calibrated;
    return true;
}

} // namespace

int copyProgressTotal(int width, int height, int column0, int row0) {
    const qint64 total = static_cast<qint64>((width - column0) / 256) * ((height - row0) / 256);
    return static_cast<int>(std::min<qint64>(total, std::numeric_limits<int>::max()));
}

int copyProgressTotal(const CopyRequest& r) {
    const GridRect grid = selectionGrid(r.level, r.topLeft, r.bottomRight);
    const GridStart start = gridStart(grid);
    return copyProgressTotal(grid.width, grid.height, start.column, start.row);
}

int copyTileCount(const CopyRequest& r) {
    const GridRect grid = selectionGrid(r.level, r.topLeft, r.bottomRight);
    const GridStart start = gridStart(grid);
    const auto count = [](qint64 size, qint64 offset) { return size + offset > 0 ? (size + offset + 255) / 256 : 0; };
    const qint64 tiles =
        grid.width > 0 && grid.height > 0 ? count(grid.width, start.column) * count(grid.height, start.row) : 0;
    return static_cast<int>(std::min<qint64>(tiles, std::numeric_limits<int>::max()));
}

CopyResult runCopyJob(const CopyRequest& r, const std::function<bool(int done)>& progress) {
    CopyResult result;
    const GridRect grid = selectionGrid(r.level, r.topLeft, r.bottomRight);
    result.total = copyProgressTotal(r);
    QStringList index;
    QStringList* seeYou = r.formats.seeYou ? &index : nullptr;
    walkGrid(grid, [&](const geo::TileId& tile, int, int) {
        if (result.stopped) return;
        const QString source = satellitePath(r.layout, tile);
        if (QFile::exists(source) && !copyTile(r, tile, source, seeYou, result)) ++result.failed;
        ++result.visited;
        if (progress && !progress(result.visited)) result.stopped = true;
    });
    if (seeYou && !index.isEmpty()) {
        const QString path = r.folder + QStringLiteral("ForSeeYou.MDS");
        if (saveSeeYouIndex(index, path))
            result.files << path;
        else
            ++result.failed;
    }
    return result;
}

} // namespace zelvano
