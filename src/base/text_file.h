// Whole-file reads and writes of the program's 8-bit text files (code page 1251, one entry per line), and
// the replacement of a file through a temporary file beside it. Blocking; any thread.
#pragma once

#include "base/read_only_wait.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace zelvano {

// Splits on CR LF, a lone CR or a lone LF. A terminator at the very end opens no further line.
QStringList splitLines(QByteArrayView bytes);

// The file's lines, or nothing when it is missing or unreadable.
std::optional<QStringList> readTextLines(const QString& path);

enum class Durability {
    Synced,   // flushed to the disk before the rename: settings and the other files written whole
    Unsynced, // renamed at once: cache tiles, which are fetched again if a crash loses them
};

// Replaces the file through a temporary file in the same folder, so a reader or a full disk never meets
// half a file where a good one stood. Fails on a read-only target.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, Durability durability = Durability::Synced);

// Each line in code page 1251 followed by CR LF, the last one included.
bool writeTextLines(const QString& path, const QStringList& lines);

} // namespace zelvano
