// TBToolWindow3 ("Склеивание/Выкачивание"): Panel7 with the job zoom ComboBox2, the JPEG quality
// ComboBox3, the selection size Label15 and SpeedButton2 ("Выполнить"); Panel4, hidden until a job runs,
// with the running jobs ComboBox4 and SpeedButton3. Docks at the top or the bottom only. UI thread.
#pragma once

#include "config/language_table.h"

#include <QDockWidget>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace zelvano {

class JobToolWindow : public QDockWidget {
    Q_OBJECT
public:
    explicit JobToolWindow(QWidget* parent);

    void applyLanguage(const LanguageTable& language);
    // Label15 and SpeedButton2: the selection's size at the job zoom, or "----------------------" and the
    // button disabled when there is no selection.
    void showSelectionLabel(const QString& label);
    void showNoSelection();

    // The job zoom of ComboBox2 (its item index + 1).
    int jobZoom() const;

    QComboBox* jobZoomBox() const { return jobZoom_; }         // ComboBox2
    QComboBox* jpegQualityBox() const { return jpegQuality_; } // ComboBox3
    QComboBox* jobsBox() const { return jobs_; }               // ComboBox4
    QPushButton* runButton() const { return runButton_; }      // SpeedButton2

signals:
    // ComboBox2, ComboBox3 or ComboBox4 changed: the selection summary is computed again.
    void summaryInputsChanged();

private:
    QComboBox* jobZoom_ = nullptr;
    QComboBox* jpegQuality_ = nullptr;
    QComboBox* jobs_ = nullptr;
    QLabel* selectionLabel_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QFrame* runningPanel_ = nullptr;
};

} // namespace zelvano
