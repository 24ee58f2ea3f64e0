#include "base/text_file.h"

#include "base/cp1251.h"

#include <QFile>
#include <QSaveFile>

#include <atomic>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace zelvano {

QStringList splitLines(QByteArrayView bytes) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        lines.append(fromCp1251(bytes.sliced(start, i - start)));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.append(fromCp1251(bytes.sliced(start)));
    return lines;
}

std::optional<QStringList> readTextLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return splitLines(bytes);
}

namespace {

// A temporary name of this thread's own beside the target, written and renamed over it.
bool writeAndRename(const QString& path, const QByteArray& bytes) {
    static std::atomic<unsigned> counter{0};
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temp = target + ".part" + QByteArray::number(static_cast<qulonglong>(::getpid())) + '-' +
                            QByteArray::number(++counter);
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += n;
    }
    const bool ok = ::close(fd) == 0 && written == bytes.size() && ::rename(temp.constData(), target.constData()) == 0;
    if (!ok) ::unlink(temp.constData());
    return ok;
}

} // namespace

bool writeFileAtomically(const QString& path, const QByteArray& bytes, Durability durability) {
    if (!waitWhileReadOnly(path)) return false;
    if (durability == Durability::Unsynced) return writeAndRename(path, bytes);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool writeTextLines(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += toCp1251(line);
        bytes += "\r\n";
    }
    return writeFileAtomically(path, bytes);
}

} // namespace zelvano
