// TKoordDlg ("Введите координаты"): one position typed as latitude and longitude, each a coordinate field
// with its hemisphere box in a group of its own, with the same keystroke filter and parse as the search
// panel. The job dialog fills it from a corner of the selection and reads the corner back on OK. UI thread.
#pragma once

#include "config/language_table.h"
#include "geo/position.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QGroupBox;
class QPushButton;

namespace zelvano {

class CoordinateEdit;
class CoordinateFields;

class CoordinateDialog : public QDialog {
    Q_OBJECT
public:
    CoordinateDialog(const LanguageTable& language, QWidget* parent);

    void applyLanguage(const LanguageTable& language);
    // Shows the position, asks modally, and gives the position typed when the user pressed OK and both
    // fields read; nothing after Cancel, or after OK with a field that cannot be read (its error box shown).
    std::optional<geo::Position> ask(geo::Position position);

    void fill(geo::Position position);
    // The position of the two fields as they read now; nothing when one cannot be read.
    std::optional<geo::Position> read();

    CoordinateEdit* latitudeEdit() const { return latitudeEdit_; }
    CoordinateEdit* longitudeEdit() const { return longitudeEdit_; }

private:
    QGroupBox* latitudeGroup_ = nullptr;  // GroupBox1
    QGroupBox* longitudeGroup_ = nullptr; // GroupBox2
    QComboBox* latHemisphere_ = nullptr;  // SCB
    QComboBox* lonHemisphere_ = nullptr;  // DCB
    CoordinateEdit* latitudeEdit_ = nullptr;
    CoordinateEdit* longitudeEdit_ = nullptr;
    CoordinateFields* fields_ = nullptr;
    QPushButton* okButton_ = nullptr;     // OKBtn
    QPushButton* cancelButton_ = nullptr; // CancelBtn
};

} // namespace zelvano
