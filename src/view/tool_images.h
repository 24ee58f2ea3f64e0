// The pictures and hints of the toolbar buttons that show a state: the work mode (ToolButton2) and the
// layers (ToolButton1). Picture-list indices and language entries; the pictures themselves are drawn by
// the window. Pure data; any thread.
#pragma once

#include "config/settings.h"

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

struct ButtonLook {
    int image = 0;
    int hintEntry = 0; // language entry of the hint

    bool operator==(const ButtonLook&) const = default;
};

// Cache only: image 0, "Только кэш" (16); internet only: 1, "Только интернет" (17); cache and internet:
// 2, "Кэш и интернет" (18).
ButtonLook workModeLook(WorkMode mode);
// Satellite only: image 7, "Только снимок" (71); map only: 9, "Только карта" (72); otherwise 8,
// "Карта + снимок" (70).
ButtonLook layerLook(const LayerChoice& layers);

} // namespace zelvano
