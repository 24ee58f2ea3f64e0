// Moving an old single-folder cache to the per-layer layout: the primary service's layer and level
// folders are made, and every complete satellite tile of levels 1 to 23 in the cache root moves to its
// per-layer path ("ab.jpg" → "kh/03/tab.jpg", the name in lower case). A move never loses a tile: the
// target is written whole and flushed before the source is deleted, so a crash or a full disk leaves
// every tile in one of its two places; a source that cannot be read is left alone. Blocking, on the
// caller's thread; `progress` runs after every file.
#pragma once

#include "config/language_table.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zelvano {

// Makes "kh", "mt" and "tt" below the root, each with the level folders "01" to "24"; failures are left
// for the moves to meet.
void createLayerFolders(const QString& cacheRoot);

// The per-layer path of a single-folder tile file name, or nothing for a name that takes no part (its
// first ".jpg", in lower case, not after 1 to 23 characters).
std::optional<QString> conversionTarget(const QString& cacheRoot, const QString& fileName);

// The cache root's ".jpg" files (any case) that take part, in name order.
QStringList conversionSources(const QString& cacheRoot);

// Over 1000 bytes and ending with the JPEG end marker.
bool isCompleteTile(const QByteArray& bytes);

// The question before the moves: "Обнаружено N  файлов, их обработка может занять около M минут. .
// Продолжить? " with M = (N div 12) × 60, from the entries 164 to 167.
QString conversionQuestion(const LanguageTable& language, int count);

struct ConversionResult {
    int moved = 0;
    int incomplete = 0; // left in the root
    int failed = 0;     // unreadable, or the target could not be written: left in the root
};

ConversionResult convertCache(const QString& cacheRoot, const std::function<void(int done)>& progress = {});

} // namespace zelvano
