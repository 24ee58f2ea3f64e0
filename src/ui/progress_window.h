// TForm3 ("Процесс"): the progress of the copy job or the cache conversion, a bar above the total and the
// count done. Stays on top, centred on its owner, without border icons; the work moves it on. UI thread.
#pragma once

#include "config/language_table.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace zelvano {

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    ProgressWindow(const LanguageTable& language, QWidget* parent);

    // The entries of its three texts: "Всего:", "Выполнено: 0", "Выполнено:" (the copy job's; the
    // conversion has its own).
    struct Texts {
        int total = 67;
        int noneDone = 68;
        int done = 69;
    };

    // The bar at 0 of `total`, "Всего: N" and "Выполнено: 0"; shown centred on the parent.
    void start(int total, Texts texts);
    void start(int total) { start(total, Texts{}); }
    // The bar one further (it stops at its maximum) and "Выполнено: <the bar's position>".
    void step();

private:
    const LanguageTable& language_;
    Texts texts_;
    QProgressBar* bar_ = nullptr; // ProgressBar1
    QLabel* total_ = nullptr;     // Label1
    QLabel* done_ = nullptr;      // Label2
};

} // namespace zelvano
