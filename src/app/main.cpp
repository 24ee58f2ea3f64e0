// zelvano: the desktop program. SIGTERM and SIGINT close the main window the normal way, so a logout or
// Ctrl+C saves the settings like any other close.
#include "base/termination_signals.h"
#include "config/program_folder.h"
#include "ui/guarded_application.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QSocketNotifier>

#include <exception>
#include <optional>

#include <unistd.h>

namespace {

int run() {
    // The handler is in place before the window exists: a signal that comes early waits in the pipe
    // until the event loop runs and then closes the window like any other close.
    const zelvano::TerminationSignals termination;
    zelvano::MainWindow window(zelvano::programFolder());
    std::optional<QSocketNotifier> notifier; // gone before the pipe closes
    if (termination.ok()) {
        notifier.emplace(termination.readEnd(), QSocketNotifier::Read);
        QObject::connect(&*notifier, &QSocketNotifier::activated, &window, [&window, &termination] {
            unsigned char byte = 0;
            [[maybe_unused]] const auto n = ::read(termination.readEnd(), &byte, 1);
            window.close();
        });
    }
    window.show();
    window.activateWindow(); // the first activation draws the map, with or without a window manager
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    zelvano::GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvano"));
    try {
        return run();
    } catch (const std::exception& e) { // the window could not even be made
        zelvano::GuardedApplication::showError(QString::fromLocal8Bit(e.what()));
        return 1;
    }
}
