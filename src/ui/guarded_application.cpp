#include "ui/guarded_application.h"

#include <QMessageBox>

#include <exception>

namespace zelvano {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {
    reporter_ = [](const QString& what) { showError(what); };
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        reporter_(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reporter_(QStringLiteral("unknown error"));
    }
    return false;
}

void GuardedApplication::showError(const QString& what, const QString& caption) {
    QMessageBox::critical(nullptr, caption.isEmpty() ? QStringLiteral("Ошибка") : caption, what);
}

} // namespace zelvano
