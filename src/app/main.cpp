// zelvano: the desktop program. SIGTERM and SIGINT close the main window the normal way, so a logout or
// Ctrl+C saves the settings like any other close.
#include "config/program_folder.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvano"));
    // The handler is in place before the window exists: a signal that comes early waits in the pipe
    // until the event loop runs and then closes the window like any other close.
    const bool signalsHandled = ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0;
    if (signalsHandled) {
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGINT, &action, nullptr);
    }
    zelvano::MainWindow window(zelvano::programFolder());
    if (signalsHandled) {
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
            char byte = 0;
            [[maybe_unused]] const auto n = ::read(signalPipe[0], &byte, 1);
            window.close();
        });
    }
    window.show();
    window.activateWindow(); // the first activation draws the map, with or without a window manager
    return QApplication::exec();
}
