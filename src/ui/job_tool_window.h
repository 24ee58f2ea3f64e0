// TBToolWindow3 ("Склеивание/Выкачивание"): Panel7 with the job zoom ComboBox2, the JPEG quality
// ComboBox3, the selection size Label15 and SpeedButton2 ("Выполнить"); Panel4, shown while jobs run,
// with the running jobs ComboBox4 and SpeedButton3. Docks at the top or the bottom only: wide there
// (Panel4 beside Panel7: 363 × 47, 723 × 47 with jobs), narrow when floating (Panel4 below Panel7 under a
// line: 350 × 47, 350 × 98 with jobs). UI thread.
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

    QString selectionLabelText() const;

    // The job zoom of ComboBox2 (its item index + 1).
    int jobZoom() const;

    void setWide(bool wide);
    bool isWide() const { return wide_; }
    // Panel4 and the window's size follow the job list: call when ComboBox4 changed.
    void arrange();

    QComboBox* jobZoomBox() const { return jobZoom_; }          // ComboBox2
    QComboBox* jpegQualityBox() const { return jpegQuality_; }  // ComboBox3
    QComboBox* jobsBox() const { return jobs_; }                // ComboBox4
    QPushButton* runButton() const { return runButton_; }       // SpeedButton2
    QPushButton* cancelButton() const { return cancelButton_; } // SpeedButton3

signals:
    // ComboBox2, ComboBox3 or ComboBox4 changed: the selection summary is computed again.
    void summaryInputsChanged();

private:
    QWidget* content_ = nullptr;
    QFrame* panel7_ = nullptr;
    QFrame* panel4_ = nullptr;
    QFrame* bevel_ = nullptr; // Bevel2
    QComboBox* jobZoom_ = nullptr;
    QComboBox* jpegQuality_ = nullptr;
    QComboBox* jobs_ = nullptr;
    QLabel* selectionLabel_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    bool wide_ = true;
};

} // namespace zelvano
