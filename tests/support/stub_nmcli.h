// A stand-in for NetworkManager's nmcli, first on PATH for as long as it lives: it records each call's
// arguments (one line each in "calls") and what a passwd-file held ("secrets"), answers `connection show`
// from a fixed list (two dial-up entries of four profiles, one name with an escaped colon) and `--active`
// from the file "active", and fails `connection up` after failDials().
#pragma once

#include "support/temp_program_folder.h"

#include <QFile>
#include <QStringList>

namespace zelvano::test {

inline constexpr char kStubNmcli[] = R"stub(#!/bin/sh
dir="$(dirname "$0")"
echo "$*" >> "$dir/calls"
case "$*" in
  "-t -f NAME,TYPE connection show --active") cat "$dir/active" 2>/dev/null ;;
  "-t -f NAME,TYPE connection show")
    printf 'Home DSL:pppoe\nWired:802-3-ethernet\nPhone:gsm\nMy\\:Modem:bluetooth\nOffice VPN:vpn\n' ;;
  *"connection up"*)
    if [ -n "$STUB_FAIL" ]; then echo "Error: Connection activation failed: No modem found." >&2; exit 4; fi
    while [ $# -gt 0 ]; do
      if [ "$1" = passwd-file ]; then cat "$2" >> "$dir/secrets"; fi
      shift
    done ;;
  *"connection down id"*) : > "$dir/active" ;;
esac
)stub";

class StubNmcli {
public:
    StubNmcli() {
        folder_.write(QStringLiteral("nmcli"), kStubNmcli);
        QFile::setPermissions(folder_.file(QStringLiteral("nmcli")), QFile::ReadOwner | QFile::ExeOwner);
        qputenv("PATH", (folder_.path() + u':' + QString::fromLocal8Bit(savedPath_)).toLocal8Bit());
    }
    ~StubNmcli() {
        qputenv("PATH", savedPath_);
        qunsetenv("STUB_FAIL");
    }
    StubNmcli(const StubNmcli&) = delete;
    StubNmcli& operator=(const StubNmcli&) = delete;

    void failDials() { qputenv("STUB_FAIL", "1"); }
    QStringList calls() const {
        return QString::fromUtf8(folder_.read(QStringLiteral("calls"))).split(u'\n', Qt::SkipEmptyParts);
    }
    const TempProgramFolder& folder() const { return folder_; }

private:
    const QByteArray savedPath_ = qgetenv("PATH");
    TempProgramFolder folder_;
};

} // namespace zelvano::test
