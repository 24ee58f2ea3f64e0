// A stitch job's picture in memory: widthPx × heightPx at 16 bits per pixel (RGB 5-6-5), each tile drawn
// in at its offset and clipped at the edges, then saved as JPEG or PNG. Distinct tiles may be drawn from
// several threads at once, since their areas never overlap; the encoders (stitch_encoders.h) read it
// from their own threads while nothing draws.
#pragma once

#include <QImage>
#include <QString>

#include <optional>

namespace zelvano {

// The largest side a JPEG can hold.
inline constexpr int kMaxJpegSide = 65500;

// The memory the system could give now (MemAvailable), in bytes.
qint64 availableMemory();

// Why an image of `width` × `height` cannot be stitched, as the user reads it: a JPEG side over 65 500
// pixels, or more memory than `available` (with a reserve for the encoders). The message suggests the
// split by the name of its check box (`splitOption`). Nothing when it can.
std::optional<QString> stitchSizeProblem(qint64 width, qint64 height, bool png, qint64 available,
                                         const QString& splitOption);

// The megabytes of the image-size log line: width × height × 2 / 1 048 576, truncated, with six decimals.
QString stitchMegabytes(int width, int height);

// A new image, black; null when it cannot be allocated.
QImage newStitchImage(int width, int height);

// The image's pixels as the drawing threads write them: taken once on the thread that owns the image,
// since every bits() call of a QImage touches its shared state.
struct StitchCanvas {
    uchar* bits = nullptr;
    qsizetype stride = 0;
    int width = 0;
    int height = 0;

    static StitchCanvas of(QImage& image);
};

// Draws the tile's picture, scaled to 256 × 256 when it has another size, with its top-left corner at
// (x, y) of the image; what falls outside is clipped. Nothing happens on a canvas without pixels.
void drawStitchTile(const StitchCanvas& canvas, const QImage& tile, int x, int y);

} // namespace zelvano
