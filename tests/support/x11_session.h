// The X server of the suite that types on a real keyboard: why it is missing, and xdotool against it.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace zelvano::test {

// Empty when the suite runs on its own Xvfb; otherwise the reason its tests skip.
extern QString x11Unavailable;

// Runs xdotool to its end: the X server queues the input for the window, which takes it in its event loop.
inline void xdotool(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    ASSERT_TRUE(p.waitForFinished(20000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
}

// Takes in events as they arrive until `done` holds or the time is up; whether it holds.
template <class Done> bool waitUntil(Done done, int milliseconds = 10000) {
    const QDeadlineTimer deadline(milliseconds);
    QTimer timeUp; // wakes the last wait when nothing more arrives
    timeUp.start(milliseconds);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

} // namespace zelvano::test
