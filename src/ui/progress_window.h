// TForm3 ("Процесс"): the progress of the copy job, a bar above the total and the count done. Stays on
// top, centred on the main window, without border icons; the copy job moves it on. UI thread.
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

    // The bar at 0 of `total`, "Всего: N" and "Выполнено: 0"; shown centred on the parent.
    void start(int total);
    // The bar one further (it stops at its maximum) and "Выполнено: <the bar's position>".
    void step();

private:
    const LanguageTable& language_;
    QProgressBar* bar_ = nullptr; // ProgressBar1
    QLabel* total_ = nullptr;     // Label1
    QLabel* done_ = nullptr;      // Label2
};

} // namespace zelvano
