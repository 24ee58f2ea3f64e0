// Small real tile files for tests: JPEG satellite tiles (over 1700 bytes, ending FF D9) and PNG overlays.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>

namespace zelvano::test {

// A 256 x 256 JPEG with a pattern that depends on `seed`.
QByteArray jpegTile(int seed = 0);
// A 256 x 256 JPEG of one colour (with a faint diagonal, so that it is over 1700 bytes).
QByteArray solidJpeg(QColor colour);
// A 256 x 256 PNG; transparent except a diagonal band of `colour` when `overlay` is set.
QByteArray pngTile(QColor colour = Qt::red, bool overlay = true);

QImage decoded(const QByteArray& bytes);

// Colours within a JPEG's error of each other.
bool nearColour(QColor a, QColor b, int tolerance = 16);

} // namespace zelvano::test
