#include "support/temp_program_folder.h"

#include "base/cp1251.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace zelvano::test {

TempProgramFolder::TempProgramFolder() {
    if (!dir_.isValid()) throw std::runtime_error("cannot create a temporary program folder");
}

void TempProgramFolder::write(const QString& relative, const QByteArray& bytes) const {
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + path.toStdString());
}

void TempProgramFolder::writeLines(const QString& relative, const QStringList& lines) const {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += toCp1251(line) + "\r\n";
    write(relative, bytes);
}

QByteArray TempProgramFolder::read(const QString& relative) const {
    QFile f(file(relative));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

} // namespace zelvano::test
