// Widgets carry the program's control names as their Qt objectName, so that tests and the layout code
// find them by the name the program has always given them.
#pragma once

#include <QLatin1String>

namespace zelvano {

template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace zelvano
