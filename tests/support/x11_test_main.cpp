// Test main for the suite that drives the window through a real X server: its own Xvfb on a free display,
// the xcb platform, and keys and clicks from xdotool. Without Xvfb or xdotool the tests skip and say why.
#include "base/headless_gui.h"
#include "support/x11_session.h"
#include "ui/guarded_application.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include <memory>

namespace zelvano::test {

QString x11Unavailable;

} // namespace zelvano::test

int main(int argc, char** argv) {
    using zelvano::test::x11Unavailable;
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

    std::unique_ptr<QProcess> server;
    for (const char* program : {"Xvfb", "xdotool"})
        if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())
            x11Unavailable =
                QStringLiteral("%1 is not installed (scripts/setup installs it)").arg(QLatin1String(program));
    if (x11Unavailable.isEmpty()) {
        // -displayfd: the server picks a free display and writes its number once it accepts clients.
        server = std::make_unique<QProcess>();
        server->setStandardErrorFile(QProcess::nullDevice()); // it reports each taken display it skips
        server->start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1280x900x24"), QStringLiteral("-nolisten"),
                       QStringLiteral("tcp")});
        QByteArray display;
        while (!display.endsWith('\n') && server->waitForReadyRead(10000))
            display += server->readAllStandardOutput();
        if (display.trimmed().isEmpty()) {
            x11Unavailable = QStringLiteral("Xvfb did not start");
        } else {
            qputenv("DISPLAY", ":" + display.trimmed());
            qputenv("QT_QPA_PLATFORM", "xcb");
            qunsetenv("XAUTHORITY");
        }
    }
    if (!x11Unavailable.isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    zelvano::prepareHeadlessGui(); // the runtime folder; the platform is chosen above

    int result = 0;
    {
        zelvano::GuardedApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    if (server) {
        server->terminate();
        server->waitForFinished(5000);
    }
    return result;
}
