#include "support/small_disk.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace zelvano::test {

SmallDisk::SmallDisk(int kib) {
    if (::geteuid() != 0) {
        whyNot_ = QStringLiteral("mounting a small disk needs root");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(kib) + "k";
    if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.constData()) != 0) {
        whyNot_ = QStringLiteral("cannot mount a tmpfs here: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    mounted_ = true;
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

void SmallDisk::fill() const {
    const int fd = ::open(QFile::encodeName(file(QStringLiteral("filler"))).constData(), O_WRONLY | O_CREAT, 0644);
    if (fd < 0) return;
    const QByteArray block(4096, 'x');
    while (::write(fd, block.constData(), static_cast<size_t>(block.size())) > 0) {
    }
    while (::write(fd, block.constData(), 1) > 0) { // the last bytes of the last block
    }
    ::close(fd);
}

bool SmallDisk::makeReadOnly() const {
    return mounted_ &&
           ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

} // namespace zelvano::test
