// The stitched image (RGB 5-6-5, stitched_image.h) written as an ordinary JPEG or PNG file. The rows are
// cut into horizontal strips that every core encodes at once, and the strips are joined into one file:
// restart markers between the JPEG strips (each strip starts its DC prediction afresh, as a restart
// does), one zlib stream of strips deflated apart for the PNG. The file goes through a temporary one and
// is renamed into place when whole; a stop request, a failed write or a target that stays read-only leaves
// the old file as it was. Blocking, on the caller's thread and helpers of its own.
#pragma once

#include <QImage>
#include <QString>

#include <stop_token>

namespace zelvano {

bool saveStitchJpeg(const QImage& image, const QString& path, int quality, std::stop_token stop = {});
bool saveStitchPng(const QImage& image, const QString& path, std::stop_token stop = {});

} // namespace zelvano
