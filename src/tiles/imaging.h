// Picture operations shared by the fetcher, lower-zoom generation and the job worker: decoding tile files
// (JPEG strictly, through TurboJPEG: a file that is not whole does not decode; PNG through Qt), encoding
// JPEG and PNG through a temporary file, new tile bitmaps and the grey placeholder tile. Each thread works
// on its own images and its own decoder; no shared state.
#pragma once

#include "base/read_only_wait.h"
#include "base/text_file.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace zelvano {

inline constexpr int kTilePixels = 256;

// A tile picture wider or higher than this is refused before decoding, so a small hostile file cannot
// claim a large picture's memory.
inline constexpr int kMaxTileSide = 1024;
// Tile files larger than this are not read.
inline constexpr qint64 kMaxTileFileBytes = 16 * 1024 * 1024;

// Decodes a JPEG or PNG file (recognised by content) into `slot`, releasing what the slot held. Waits while
// the file is read-only (on `budget`, or on ten 5 ms checks of its own) and gives up after that.
bool LoadImageFile(QImage& slot, const QString& path, WaitBudget* budget = nullptr);

// Decodes a JPEG or PNG held in memory; a null image when it does not decode whole, is too large or is
// of another format.
QImage decodeImage(const QByteArray& bytes);

// Whether the bytes decode, for callers that do not keep the picture: a JPEG is decoded at an eighth of
// its size, which reads all of its coded data (and so finds a file that is not whole) but skips most of
// the pixel work.
bool decodesCleanly(const QByteArray& bytes);

// Encode and replace the file through a temporary file in its folder (created when missing). A target
// that stays read-only through the wait is left unchanged and counts as success. Cache tiles are saved
// unsynced; pictures the user asked for are flushed to the disk first.
bool SaveImageJpeg(const QImage& image, const QString& path, int quality, Durability durability = Durability::Synced);
bool SaveImagePng(const QImage& image, const QString& path, Durability durability = Durability::Synced);

// A new 256 x 256 tile bitmap (24-bit colour), filled with `fill`.
QImage newTileImage(QColor fill = Qt::black);

// Fills the bitmap grey (138, 138, 138) and writes, in black, centred on two lines: the message, then the
// tile letters between dashes ("-qrs-"). Nothing happens to a null bitmap.
void DrawTileMessage(QImage& bitmap, const QString& message, const QString& tileLetters);

} // namespace zelvano
