// TForm2 ("Таймер"): the delay before a job starts and the dial-up connection around it. Made once; keeps
// its values while the program runs, except the delay, which every showing sets back to 0. Its two test
// buttons dial and hang up at once, off the UI thread, so the window keeps answering. UI thread.
#pragma once

#include "config/language_table.h"
#include "jobs/dial_up.h"
#include "jobs/job_builder.h"

#include <QDialog>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zelvano {

class DelayDialog : public QDialog {
    Q_OBJECT
public:
    DelayDialog(const LanguageTable& language, std::shared_ptr<DialUp> dialUp, QWidget* parent);

    void applyLanguage(const LanguageTable& language);
    // What a builder reads: the delay always, the connection choices only when `confirmed`.
    DelayChoice choice(bool confirmed) const;

    // Handlers.
    void FormShow();
    void Button3Click();
    void Button4Click();

    // Shows a failed dial's text, captioned "ошибки"; returns when the box is closed.
    static void showDialError(QWidget* parent, const LanguageTable& language, const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Runs `work` on a thread of its own with the dialog's input off, the window answering meanwhile.
    void runAside(const std::function<void()>& work);

    const LanguageTable& language_;
    std::shared_ptr<DialUp> dialUp_;
    QSpinBox* hours_ = nullptr;           // Edit1 + UpDown1
    QSpinBox* minutes_ = nullptr;         // Edit2 + UpDown2
    QCheckBox* autoConnect_ = nullptr;    // CheckBox3
    QComboBox* entries_ = nullptr;        // Cs
    QLineEdit* user_ = nullptr;           // Edit7
    QLineEdit* password_ = nullptr;       // Edit10
    QCheckBox* hangUp_ = nullptr;         // CheckBox1
    QGroupBox* testGroup_ = nullptr;      // GroupBox1
    QPushButton* dialButton_ = nullptr;   // Button3
    QPushButton* hangUpButton_ = nullptr; // Button4
    QPushButton* okButton_ = nullptr;     // Button1
    QPushButton* cancelButton_ = nullptr; // Button2
    bool hasEntries_ = false;
};

} // namespace zelvano
