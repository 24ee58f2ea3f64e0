// The toolbar's picture list (indices in view/tool_images.h), drawn at run time; and the cursors.
#pragma once

#include "view/tool_images.h"

#include <QCursor>
#include <QIcon>

namespace zelvano {

QIcon toolIcon(int image);

// The measuring pointer: an arrow above a ruler.
QCursor measureCursor();

} // namespace zelvano
