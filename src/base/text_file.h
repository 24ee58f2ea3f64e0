// Whole-file reads and writes of the program's 8-bit text files (code page 1251, one entry per line), and
// the replacement of a file through a temporary file beside it. Blocking; any thread.
#pragma once

#include "base/read_only_wait.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace zelvano {

// Splits on CR LF, a lone CR or a lone LF. A terminator at the very end opens no further line.
QStringList splitLines(QByteArrayView bytes);

// The program's own text files are small; anything larger is not one of them.
inline constexpr qint64 kMaxTextFileBytes = 1024 * 1024;

// The whole file when it is a regular file of at most `maxBytes`; nothing for a missing or unreadable
// file, a larger one, or a FIFO, device or folder in its place (which are never waited for).
std::optional<QByteArray> readSmallFile(const QString& path, qint64 maxBytes);

// The file's lines, or nothing when readSmallFile gives nothing (at most kMaxTextFileBytes).
std::optional<QStringList> readTextLines(const QString& path);

enum class Durability {
    Synced,   // flushed to the disk before the rename: settings and the other files written whole
    Unsynced, // renamed at once: cache tiles, which are fetched again if a crash loses them
};

// Replaces the file through a temporary file in the same folder (named by temporaryNameFor), so a reader
// or a full disk never meets half a file where a good one stood: `write` fills the temporary file, and
// every write, the flush to the disk and the rename are checked; on any failure the temporary file goes
// and the old file stays whole. The replaced file keeps its permissions. Fails on a read-only target.
bool replaceFile(const QString& path, Durability durability, const std::function<bool(QIODevice&)>& write);
bool writeFileAtomically(const QString& path, const QByteArray& bytes, Durability durability = Durability::Synced);

// "<path>.part<pid>-<n>": the temporary name of this process's next write of the file.
QByteArray temporaryNameFor(const QString& path);

// Whether a file name is one of the program's temporary names: "<name>.part<pid>-<n>" of its writer, or
// "<name>.ini|dat|txt.XXXXXX" of the settings writer of earlier versions. Such files are never tiles.
bool isTemporaryFileName(const QString& name);

// Removes, in one folder (not below it), the temporary files that a crash left: those of a process that
// no longer runs and older than `minimumAge`. Returns how many went. Uses no Qt state, so it may run on a
// thread of its own until the process ends.
int removeStaleTemporaryFiles(const std::string& folder, std::chrono::seconds minimumAge = std::chrono::minutes(1));

// Each line in code page 1251 followed by CR LF, the last one included.
bool writeTextLines(const QString& path, const QStringList& lines);

} // namespace zelvano
