// The toolbar's picture list: work modes (0 cache only, 1 internet only, 2 cache and internet), layers
// (7 satellite, 8 map and satellite, 9 map) and the other tools, drawn at run time; and the cursors.
#pragma once

#include <QCursor>
#include <QIcon>

namespace zelvano {

enum ToolImage {
    kImageCacheOnly = 0,
    kImageInternetOnly = 1,
    kImageCacheAndInternet = 2,
    kImageFetchMissing = 3,
    kImageSearch = 4,
    kImageSelection = 5,
    kImageMeasure = 6,
    kImageSatellite = 7,
    kImageMapAndSatellite = 8,
    kImageMap = 9,
    kImageSettings = 10,
};

QIcon toolIcon(int image);

// The measuring pointer: an arrow above a ruler.
QCursor measureCursor();

} // namespace zelvano
