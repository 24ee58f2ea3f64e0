#include "base/text_file.h"

#include "base/cp1251.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <limits>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
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

std::optional<QByteArray> readSmallFile(const QString& path, qint64 maxBytes) {
    // Not blocking on open: a FIFO or a device in the file's place is refused by the type test below.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info = {};
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxBytes) {
        QByteArray buffer(static_cast<qsizetype>(info.st_size), Qt::Uninitialized);
        qsizetype got = 0;
        for (;;) {
            if (got == buffer.size()) buffer.resize(got + 4096); // the file grew since fstat
            const ssize_t n = ::read(fd, buffer.data() + got, static_cast<size_t>(buffer.size() - got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) break;
            got += n;
            if (n == 0) {
                buffer.truncate(got);
                if (got <= maxBytes) bytes = std::move(buffer);
                break;
            }
            if (got > maxBytes) break;
        }
    }
    ::close(fd);
    return bytes;
}

std::optional<QStringList> readTextLines(const QString& path) {
    const auto bytes = readSmallFile(path, kMaxTextFileBytes);
    if (!bytes) return std::nullopt;
    return splitLines(*bytes);
}

QByteArray temporaryNameFor(const QString& path) {
    static std::atomic<unsigned> counter{0};
    return QFile::encodeName(path) + ".part" + QByteArray::number(static_cast<qulonglong>(::getpid())) + '-' +
           QByteArray::number(++counter);
}

namespace {

// Writes through the descriptor, unbuffered: every write reaches the file at once, and its failure shows
// as the device's error.
bool writeThrough(int fd, const std::function<bool(QIODevice&)>& write) {
    QFile file;
    return file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle) && write(file) &&
           file.error() == QFileDevice::NoError;
}

void syncFolder(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir); // the new name itself reaches the disk
        ::close(dir);
    }
}

enum class NewFile { Written, Failed, NotThisWay };

// A file that does not exist yet: written into an unnamed file of its folder and given its name only when
// whole, so no temporary name ever shows and a crash leaves nothing behind. NotThisWay where the file
// system has no unnamed files or the name was taken meanwhile.
NewFile createWhole(const QByteArray& target, const QString& path, Durability durability,
                    const std::function<bool(QIODevice&)>& write) {
#ifdef O_TMPFILE
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_WRONLY | O_TMPFILE | O_CLOEXEC, 0666);
    if (fd < 0) return errno == ENOENT || errno == EACCES || errno == ENOSPC ? NewFile::Failed : NewFile::NotThisWay;
    bool ok = writeThrough(fd, write);
    if (ok && durability == Durability::Synced) ok = ::fsync(fd) == 0;
    NewFile result = NewFile::Failed;
    if (ok) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target.constData(), AT_SYMLINK_FOLLOW) == 0)
            result = NewFile::Written;
        else if (errno == EEXIST || errno == ENOENT || errno == EPERM || errno == EXDEV)
            result = NewFile::NotThisWay; // a file came meanwhile, or no /proc: the renaming way
    }
    ok = ::close(fd) == 0 && result == NewFile::Written;
    if (ok && durability == Durability::Synced) syncFolder(path);
    return ok ? NewFile::Written : result == NewFile::Written ? NewFile::Failed : result;
#else
    (void)target, (void)path, (void)durability, (void)write;
    return NewFile::NotThisWay;
#endif
}

} // namespace

bool replaceFile(const QString& path, Durability durability, const std::function<bool(QIODevice&)>& write) {
    if (!waitWhileReadOnly(path)) return false;
    const QByteArray target = QFile::encodeName(path);
    struct stat existing = {};
    if (::stat(target.constData(), &existing) != 0 && errno == ENOENT) {
        const NewFile created = createWhole(target, path, durability, write);
        if (created != NewFile::NotThisWay) return created == NewFile::Written;
    }
    const QByteArray temp = temporaryNameFor(path);
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool ok = writeThrough(fd, write);
    struct stat old = {};
    if (ok && ::stat(target.constData(), &old) == 0) ok = ::fchmod(fd, old.st_mode & 07777) == 0; // as it was
    if (ok && durability == Durability::Synced) ok = ::fsync(fd) == 0; // a full disk may say so only here
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.constData(), target.constData()) == 0;
    if (!ok) {
        ::unlink(temp.constData()); // the old file stays as it was
        return false;
    }
    if (durability == Durability::Synced) syncFolder(path);
    return true;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, Durability durability) {
    return replaceFile(path, durability, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); });
}

namespace {

// "<name>.part<pid>-<n>": the pid, or 0 when the name is not of that form.
long long partPid(std::string_view name) {
    const std::size_t part = name.rfind(".part");
    if (part == std::string_view::npos) return 0;
    const std::string_view rest = name.substr(part + 5);
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == rest.size()) return 0;
    const auto digits = [](std::string_view t) {
        return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(rest.substr(0, dash)) || !digits(rest.substr(dash + 1))) return 0;
    long long pid = 0;
    std::from_chars(rest.data(), rest.data() + dash, pid);
    return pid > 0 ? pid : 0;
}

// "<name>.ini.XXXXXX", "<name>.dat.XXXXXX", "<name>.txt.XXXXXX".
bool earlierWriterName(std::string_view name) {
    if (name.size() < 12 || name[name.size() - 7] != '.') return false;
    const std::string_view tail = name.substr(name.size() - 6);
    const std::string_view kind = name.substr(name.size() - 11, 4);
    return (kind == ".ini" || kind == ".dat" || kind == ".txt") &&
           std::all_of(tail.begin(), tail.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

bool processRuns(long long pid) {
    if (pid > std::numeric_limits<pid_t>::max()) return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

bool isTemporaryFileName(const QString& name) {
    const QByteArray bytes = QFile::encodeName(name);
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return partPid(view) != 0 || earlierWriterName(view);
}

int removeStaleTemporaryFiles(const std::string& folder, std::chrono::seconds minimumAge) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    const auto now = std::chrono::system_clock::now();
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        const long long pid = partPid(name);
        if (pid == 0 && !earlierWriterName(name)) continue;
        if (pid != 0 && processRuns(pid)) continue; // its writer may still rename it into place
        const std::string path = folder + '/' + std::string(name);
        struct stat info = {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        const auto modified = std::chrono::system_clock::from_time_t(info.st_mtime);
        if (now - modified < minimumAge) continue;
        if (::unlink(path.c_str()) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
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
