// The desktop program's application object: an exception that escapes an event handler is shown in an
// error box, and the program goes on, instead of ending it silently. UI thread.
#pragma once

#include <QApplication>

#include <functional>

namespace zelvano {

class GuardedApplication : public QApplication {
    Q_OBJECT
public:
    GuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The error box with the exception's text ("Ошибка" unless a caption is given).
    static void showError(const QString& what, const QString& caption = {});
    // Where caught exceptions are reported; the error box unless a test puts another reporter.
    void setReporter(std::function<void(const QString&)> reporter) { reporter_ = std::move(reporter); }

private:
    std::function<void(const QString&)> reporter_;
};

} // namespace zelvano
