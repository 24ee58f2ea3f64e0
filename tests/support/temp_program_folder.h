// A fresh program folder in the system temp folder for one test, removed afterwards, with helpers to
// place and read files in it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace zelvano::test {

class TempProgramFolder {
public:
    TempProgramFolder();

    QString path() const { return dir_.path(); }
    QString file(const QString& relative) const { return dir_.filePath(relative); }

    // Writes bytes to a file inside the folder, creating its parent folders.
    void write(const QString& relative, const QByteArray& bytes) const;
    // Lines joined with CR LF after each, in code page 1251.
    void writeLines(const QString& relative, const QStringList& lines) const;
    QByteArray read(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

} // namespace zelvano::test
