// The toolbar's picture list (indices in view/tool_images.h), drawn at run time; and the cursors.
#pragma once

#include "view/tool_images.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace zelvano {

QIcon toolIcon(int image);

// The search marker Image5: a ring with a cross, 20 x 20, transparent around it.
QPixmap searchMarkerPicture();

// The measuring pointer: an arrow above a ruler.
QCursor measureCursor();

} // namespace zelvano
