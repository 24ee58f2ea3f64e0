// TForm6 ("Отчет"): the log of one job, which it follows while the job runs. Stays on top, centred on the
// screen; Memo1 is read-only. Changed only on the UI thread. UI thread.
#pragma once

#include "config/language_table.h"

#include <QDialog>

class QPlainTextEdit;

namespace zelvano {

class ReportWindow : public QDialog {
    Q_OBJECT
public:
    ReportWindow(const LanguageTable& language, QWidget* parent);

    void applyLanguage(const LanguageTable& language);
    void setLog(const QStringList& lines);
    void appendLine(const QString& line);
    QStringList lines() const;

private:
    QPlainTextEdit* memo_ = nullptr; // Memo1
};

} // namespace zelvano
