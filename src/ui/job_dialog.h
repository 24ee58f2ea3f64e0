// TOKBottomDlg ("Параметры"): the task of a job and its options. Four tasks, each showing its groups in
// a fixed order (work mode and layers, the selected area with its two corners and level, copy, stitch,
// generation, JPEG quality, calibration files); the piece-size checks; a corner edited through the
// coordinate dialog. Made once with the main window; it keeps its state between uses. UI thread.
#pragma once

#include "config/language_table.h"
#include "config/settings.h"
#include "view/selection.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace zelvano {

class CoordinateDialog;

enum class JobTask { Stitch, Download, Copy, Generate };

class JobDialog : public QDialog {
    Q_OBJECT
public:
    JobDialog(const LanguageTable& language, CoordinateDialog& coordinates, QWidget* parent);

    void applyLanguage(const LanguageTable& language);

    // Fills the dialog for a run over the corners at the level (steps 1 and 2 of a definition).
    void fill(const Settings& settings, const SelectionCorners& corners, int level);
    // Takes the settings back from the controls after OK (step 4).
    void take(Settings& settings) const;

    JobTask task() const;
    void setTask(JobTask task);
    SelectionCorners corners() const { return corners_; }
    int level() const; // FCB + 1
    bool splitChecked() const;
    bool addCoordinates() const;
    bool replaceGenerated() const; // RadioButton5
    QString copyFolder() const;
    int selectionWidth() const { return width_; }
    int selectionHeight() const { return height_; }

    // Handlers, named as the program names them.
    void Allfalse();
    void CheckBox1Click();
    void Edit1Exit();
    void Edit2Exit();
    void Button1Click(bool bottomRight);
    void FCBChange();
    void refresh(); // corner labels, size label, pixel sizes

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTask(JobTask task);
    void refocus(QLineEdit* edit);
    void setLabelText(const char* name, const QString& text);

    CoordinateDialog& coordinates_;
    const LanguageTable& language_;
    QVBoxLayout* groups_ = nullptr;
    QGroupBox* taskGroup_ = nullptr; // GroupBox1
    QRadioButton* tasks_[4] = {};    // RadioButton1 … 4
    QGroupBox* workMode_ = nullptr;  // GroupBox6
    QRadioButton *internetOnly_ = nullptr, *cacheAndInternet_ = nullptr, *cacheOnly_ = nullptr;
    QGroupBox* layers_ = nullptr; // GroupBox7
    QRadioButton *satellite_ = nullptr, *both_ = nullptr, *map_ = nullptr;
    QGroupBox* area_ = nullptr;            // GroupBox2
    QComboBox* level_ = nullptr;           // FCB
    QGroupBox* copy_ = nullptr;            // GroupBox3
    QLineEdit* folder_ = nullptr;          // DirectoryEdit1
    QCheckBox* calibrationOnly_ = nullptr; // CheckBox5
    QGroupBox* stitch_ = nullptr;          // GroupBox4
    QCheckBox* addCoordinates_ = nullptr;  // CheckBox3
    QCheckBox* split_ = nullptr;           // CheckBox1
    QLineEdit* pieceWidthEdit_ = nullptr;  // Edit1
    QLineEdit* pieceHeightEdit_ = nullptr; // Edit2
    QGroupBox* generate_ = nullptr;        // GroupBox5
    QRadioButton *replace_ = nullptr, *keep_ = nullptr;
    QFrame* quality_ = nullptr; // Panel1
    QComboBox* qualityBox_ = nullptr;
    QFrame* ozi_ = nullptr; // Panel2
    QCheckBox* calibOzi_ = nullptr;
    QFrame* others_ = nullptr; // Panel3
    QCheckBox *calibMapInfo_ = nullptr, *calibArcGis_ = nullptr, *calibSeeYou_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;

    SelectionCorners corners_;
    int width_ = 0; // the selection at the FCB level, pixels
    int height_ = 0;
    int pieceWidth_ = 0;
    int pieceHeight_ = 0;
    bool refocusing_ = false;
};

} // namespace zelvano
