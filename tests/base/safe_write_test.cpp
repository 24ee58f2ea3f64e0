#include "base/text_file.h"
#include "support/small_disk.h"
#include "support/temp_program_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include <csignal>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
#include <utime.h>

using namespace zelvano;

namespace {

const QByteArray kOld = QByteArray("old contents, whole\r\n").repeated(60);
const QByteArray kNew = QByteArray("new contents\r\n").repeated(200);

// Every way a whole file is written.
struct Writer {
    const char* label;
    bool (*write)(const QString& path);
};
const Writer kWriters[] = {
    {"synced bytes", [](const QString& p) { return writeFileAtomically(p, kNew, Durability::Synced); }},
    {"unsynced bytes", [](const QString& p) { return writeFileAtomically(p, kNew, Durability::Unsynced); }},
    {"text lines", [](const QString& p) { return writeTextLines(p, QStringList(200, QStringLiteral("new"))); }},
};

QStringList filesIn(const QString& folder) {
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    return files;
}

unsigned modeOf(const QString& path) {
    struct stat info = {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

// A write limit for this process: writes past it fail with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

private:
    rlimit old_ = {};
};

} // namespace

// A write that fails half way (the fault the file-size limit injects) leaves the old file whole and no
// temporary file behind, and says so.
TEST(ReplaceFile, AFailedWriteLeavesTheOldFileWhole) {
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.label);
        test::TempProgramFolder folder;
        folder.write(QStringLiteral("ZLV2.ini"), kOld);
        {
            const FileSizeLimit limit(100);
            EXPECT_FALSE(w.write(folder.file(QStringLiteral("ZLV2.ini"))));
        }
        EXPECT_EQ(folder.read(QStringLiteral("ZLV2.ini")), kOld);
        EXPECT_EQ(filesIn(folder.path()), QStringList{QStringLiteral("ZLV2.ini")});
    }
}

// The same on a real disk that is full: the failure may show only when the data is flushed.
TEST(ReplaceFile, AFullDiskLeavesTheOldFileWhole) {
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.label);
        test::SmallDisk disk(64);
        if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
        const QString path = disk.file(QStringLiteral("ZLV2.ini"));
        ASSERT_TRUE(writeFileAtomically(path, kOld));
        disk.fill();
        EXPECT_FALSE(w.write(path));
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), kOld);
        EXPECT_EQ(filesIn(disk.path()), (QStringList{QStringLiteral("ZLV2.ini"), QStringLiteral("filler")}));
    }
}

// A file that did not exist appears only whole: a write that fails leaves no file and no temporary one,
// on a full disk as under the size limit; one that succeeds gets the mode the umask gives new files.
TEST(ReplaceFile, ANewFileAppearsOnlyWhole) {
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.label);
        test::TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("new.jpg"));
        {
            const FileSizeLimit limit(100);
            EXPECT_FALSE(w.write(path));
        }
        EXPECT_TRUE(filesIn(folder.path()).isEmpty());
        const mode_t umask = ::umask(022);
        EXPECT_TRUE(w.write(path));
        ::umask(umask);
        EXPECT_EQ(filesIn(folder.path()), QStringList{QStringLiteral("new.jpg")});
        EXPECT_EQ(modeOf(path), 0644u);
        EXPECT_FALSE(folder.read(QStringLiteral("new.jpg")).isEmpty());

        test::SmallDisk disk(64);
        if (!disk.mounted()) continue;
        disk.fill();
        EXPECT_FALSE(w.write(disk.file(QStringLiteral("new.jpg"))));
        EXPECT_EQ(filesIn(disk.path()), QStringList{QStringLiteral("filler")});
    }
}

TEST(ReplaceFile, KeepsThePermissionsOfTheFileItReplaces) {
    test::TempProgramFolder folder;
    folder.write(QStringLiteral("Favorites.dat"), kOld);
    const QString path = folder.file(QStringLiteral("Favorites.dat"));
    ::chmod(QFile::encodeName(path).constData(), 0600);
    ASSERT_TRUE(writeFileAtomically(path, kNew));
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_EQ(folder.read(QStringLiteral("Favorites.dat")), kNew);
}

// The program's text files are read only when they are what they claim to be: a regular file of at most
// 1 MB. A FIFO is not waited for, a device is not read without end.
TEST(ReadSmallFile, OnlyRegularFilesUnderTheCap) {
    test::TempProgramFolder folder;
    folder.write(QStringLiteral("small.txt"), "a\r\nb\r\n");
    folder.write(QStringLiteral("large.txt"), QByteArray(kMaxTextFileBytes + 1, 'x'));
    folder.write(QStringLiteral("exact.txt"), QByteArray(kMaxTextFileBytes, 'x'));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file(QStringLiteral("fifo.txt"))).constData(), 0644), 0);
    QDir(folder.path()).mkdir(QStringLiteral("folder.txt"));
    QFile::link(folder.file(QStringLiteral("small.txt")), folder.file(QStringLiteral("link.txt")));
    QFile::link(QStringLiteral("/dev/zero"), folder.file(QStringLiteral("zero.txt")));
    struct Case {
        QString path;
        std::optional<qsizetype> size; // nothing: refused
    };
    const Case cases[] = {
        {folder.file(QStringLiteral("small.txt")), 6},
        {folder.file(QStringLiteral("exact.txt")), kMaxTextFileBytes},
        {folder.file(QStringLiteral("link.txt")), 6},
        {folder.file(QStringLiteral("large.txt")), std::nullopt},
        {folder.file(QStringLiteral("fifo.txt")), std::nullopt},
        {folder.file(QStringLiteral("folder.txt")), std::nullopt},
        {folder.file(QStringLiteral("zero.txt")), std::nullopt},
        {QStringLiteral("/dev/zero"), std::nullopt},
        {folder.file(QStringLiteral("missing.txt")), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const auto bytes = readSmallFile(c.path, kMaxTextFileBytes);
        EXPECT_EQ(bytes ? std::optional<qsizetype>(bytes->size()) : std::nullopt, c.size);
    }
    EXPECT_EQ(readTextLines(folder.file(QStringLiteral("fifo.txt"))), std::nullopt);
}

// What a crash left: a temporary file of a writer that no longer runs, older than a minute. Anything else
// stays, the files of a live writer and every tile among them.
TEST(StaleTemporaryFiles, RemovedWhenTheirWriterIsGoneAndTheyAreOld) {
    test::TempProgramFolder folder;
    const QString dead = QStringLiteral("2147483646"); // above any pid the system gives
    const QString live = QString::number(::getpid());
    struct Case {
        QString name;
        bool old;
        bool removed;
    };
    const Case cases[] = {
        {QStringLiteral("tqrs.jpg.part%1-7").arg(dead), true, true},
        {QStringLiteral("ZLV2.ini.part%1-1").arg(dead), true, true},
        {QStringLiteral("ZLV2.ini.Ab3dE9"), true, true}, // the settings writer of earlier versions
        {QStringLiteral("Favorites.dat.x1Y2z3"), true, true},
        {QStringLiteral("tqrt.jpg.part%1-8").arg(dead), false, false}, // too young to be sure
        {QStringLiteral("tqrq.jpg.part%1-9").arg(live), true, false},  // its writer runs
        {QStringLiteral("tqrs.jpg"), true, false},
        {QStringLiteral("notes.part"), true, false},
        {QStringLiteral("ZLV2.ini.toolong"), true, false},
    };
    for (const Case& c : cases) {
        folder.write(c.name, "x");
        if (c.old) {
            const timeval twoMinutesAgo[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
            ::utimes(QFile::encodeName(folder.file(c.name)).constData(), twoMinutesAgo);
        }
    }
    const int removed = removeStaleTemporaryFiles(QFile::encodeName(folder.path()).toStdString());
    int expected = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(QFile::exists(folder.file(c.name)), !c.removed);
        EXPECT_EQ(isTemporaryFileName(c.name),
                  c.name != u"tqrs.jpg" && c.name != u"notes.part" && c.name != u"ZLV2.ini.toolong");
        expected += c.removed;
    }
    EXPECT_EQ(removed, expected);
}
