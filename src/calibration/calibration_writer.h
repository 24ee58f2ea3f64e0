// Calibration files beside an image written by a job, so that GIS and navigation programs place it: an
// OziExplorer map file, a MapInfo raster table, a world file (with a .prj naming WGS 84 beside it) and a
// SeeYou index entry, each when its flag is set, in that order. Numbers with the period, code page 1251,
// CR LF after every line; every file written whole through a temporary one. Any thread.
#pragma once

#include "geo/position.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace zelvano {

struct CalibrationFormats {
    bool ozi = false;
    bool mapInfo = false;
    bool worldFile = false;
    bool seeYou = false;
};

struct CalibrationImage {
    int level = 1; // of the image's pixels
    int width = 0; // pixels; the absolute values are used
    int height = 0;
    bool linkedToCache = false; // the MapInfo table names the image's file in the cache
    QString cacheFile;          // that file, for linkedToCache
    QString imagePath;
    geo::Position topLeft; // west-positive longitude
};

struct CalibrationResult {
    QStringList written;           // the files written, in order
    std::optional<QString> failed; // the file that could not be written; the later ones were not tried
};

// Writes the files of the set flags. With `seeYouIndex` the SeeYou entry is appended to it (the caller
// saves the index); without, a one-entry index is written beside the image.
CalibrationResult writeCalibration(const CalibrationImage& image, const CalibrationFormats& formats,
                                   QStringList* seeYouIndex = nullptr);

// The files' names: the image path without its last three characters + "map", "tab", "MDS"; the path + "w".
QString oziPath(const QString& imagePath);
QString mapInfoPath(const QString& imagePath);
QString worldFilePath(const QString& imagePath);
QString seeYouPath(const QString& imagePath);

// The lines of each file.
QStringList oziLines(const CalibrationImage& image);
QStringList mapInfoLines(const CalibrationImage& image);
QStringList worldFileLines(const CalibrationImage& image);
QString seeYouEntry(const CalibrationImage& image);

} // namespace zelvano
