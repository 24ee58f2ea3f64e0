// A real small disk for one test: a tmpfs of a few KiB mounted in a temporary folder, to be filled up or
// made read-only. Mounting needs root; elsewhere mounted() is false and whyNot() says why, for the test's
// skip message.
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace zelvano::test {

class SmallDisk {
public:
    explicit SmallDisk(int kib = 256);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString whyNot() const { return whyNot_; }
    QString path() const { return dir_.path(); }
    QString file(const QString& relative) const { return dir_.filePath(relative); }

    // Takes every free byte, so that the next write of any size fails.
    void fill() const;
    // Remounts the disk read-only: writes, renames and deletions fail although the files look writable.
    bool makeReadOnly() const;

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString whyNot_;
};

} // namespace zelvano::test
