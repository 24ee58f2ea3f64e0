#include "cli/terminal.h"

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace zelvano::cli {

Terminal::Terminal() : tty_(::isatty(STDERR_FILENO) == 1) {}

void Terminal::line(const QString& text) {
    std::lock_guard lock(mutex_);
    std::fprintf(stderr, "%s%s\n", tty_ ? "\r\033[K" : "", qUtf8Printable(text));
    std::fflush(stderr);
}

void Terminal::progress(int done, int all, double seconds) {
    if (!tty_ || all <= 0) return;
    constexpr int kWidth = 30;
    const int filled = static_cast<int>(static_cast<long long>(kWidth) * std::clamp(done, 0, all) / all);
    const double rate = seconds > 0 ? done / seconds : 0;
    QString left = QStringLiteral("--:--");
    if (rate > 0) {
        const int s = static_cast<int>((all - done) / rate);
        left = QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QChar(u'0'));
    }
    const QString bar = QString(filled, u'#') + QString(kWidth - filled, u'.');
    std::lock_guard lock(mutex_);
    std::fprintf(stderr, "\r\033[K[%s] %d/%d  %.1f tiles/s  %s left", qUtf8Printable(bar), done, all, rate,
                 qUtf8Printable(left));
    std::fflush(stderr);
}

void Terminal::done() {
    if (!tty_) return;
    std::lock_guard lock(mutex_);
    std::fputs("\r\033[K", stderr);
}

} // namespace zelvano::cli
