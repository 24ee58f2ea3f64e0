#include "view/navigation.h"

namespace zelvano {

geo::Position panResult(const ViewCentre& centre, QPoint pressed, QPoint released) {
    return positionAtOffset(centre, pressed - released);
}

KeyStep keyStep(int key, QSize buffer) {
    switch (key) {
    case Qt::Key_Left:
        return {{-buffer.width() / 3, 0}, 0};
    case Qt::Key_Up:
        return {{0, -buffer.height() / 3}, 0};
    case Qt::Key_Right:
        return {{buffer.width() / 3, 0}, 0};
    case Qt::Key_Down:
        return {{0, buffer.height() / 3}, 0};
    case Qt::Key_PageUp:
        return {{}, 1};
    case Qt::Key_PageDown:
        return {{}, -1};
    default:
        return {};
    }
}

int clickZoomStep(MouseMode mode, Qt::MouseButton button) {
    if (mode != MouseMode::Click) return 0;
    if (button == Qt::LeftButton) return 1;
    if (button == Qt::RightButton) return -1;
    return 0;
}

LayerChoice nextLayers(LayerChoice l) {
    if (l.map && !l.satellite) {
        l.map = false;
        l.satellite = true;
    } else if (l.satellite && !l.map) {
        l.map = true;
    } else if (l.map && l.satellite) {
        l.satellite = false;
    } else {
        l.map = l.satellite = true;
    }
    return l;
}

WorkMode nextWorkMode(WorkMode mode) {
    switch (mode) {
    case WorkMode::CacheOnly:
        return WorkMode::InternetOnly;
    case WorkMode::InternetOnly:
        return WorkMode::CacheAndInternet;
    case WorkMode::CacheAndInternet:
        break;
    }
    return WorkMode::CacheOnly;
}

} // namespace zelvano
