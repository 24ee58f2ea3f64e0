#include "view/tool_images.h"

namespace zelvano {

ButtonLook workModeLook(WorkMode mode) {
    switch (mode) {
    case WorkMode::CacheOnly:
        return {kImageCacheOnly, 16};
    case WorkMode::InternetOnly:
        return {kImageInternetOnly, 17};
    case WorkMode::CacheAndInternet:
        break;
    }
    return {kImageCacheAndInternet, 18};
}

ButtonLook layerLook(const LayerChoice& l) {
    if (l.satellite && !l.map) return {kImageSatellite, 71};
    if (l.map && !l.satellite) return {kImageMap, 72};
    return {kImageMapAndSatellite, 70};
}

} // namespace zelvano
