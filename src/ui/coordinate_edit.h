// Edit7 and Edit10: a coordinate field with its keystroke filter (hemisphere keys set its hemisphere box,
// separator keys become the next mark, the rest is refused), and CoordinateFields, the pair of such fields
// with their hemisphere boxes that the search panel and the coordinate dialog share: the parse when a field
// is left, the range check that takes the focus back, and the values re-signed from the boxes. UI thread.
#pragma once

#include "config/language_table.h"
#include "geo/position.h"
#include "tools/coordinate_entry.h"

#include <QLineEdit>
#include <QObject>

class QComboBox;

namespace zelvano {

class CoordinateEdit : public QLineEdit {
    Q_OBJECT
public:
    // `hemisphere` is the box its hemisphere keys set (SCB: N 0, S 1; DCB: W 0, E 1).
    CoordinateEdit(CoordinateAxis axis, QComboBox* hemisphere, QWidget* parent);

    CoordinateAxis axis() const { return axis_; }
    QComboBox* hemisphereBox() const { return hemisphere_; }

signals:
    // A typed character went in (the main window then puts the neutral text into the bookmark box).
    void characterAccepted();
    // The field lost the keyboard focus.
    void left();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CoordinateAxis axis_;
    QComboBox* hemisphere_;
};

class CoordinateFields : public QObject {
    Q_OBJECT
public:
    // `language` gives the error box its caption (entry 15).
    CoordinateFields(CoordinateEdit* latitude, CoordinateEdit* longitude, const LanguageTable& language,
                     QObject* parent);

    // Parses one field into its stored value (Edit7Exit): an out-of-range value is stored too, and the
    // field takes the focus back; minutes that are not a number show an error box (one for each action
    // of the user), store nothing and give false. Then both values are re-signed from the hemisphere boxes.
    bool parse(CoordinateEdit* field);
    // The latitude, then the longitude; false, at the first field that cannot be read.
    bool parseBoth();
    // The stored position: north-positive latitude, west-positive longitude.
    geo::Position position() const { return {latitude_, longitude_}; }
    // Fills the boxes and fields from a position, as texts "55°30,000'".
    void fill(geo::Position position);

private:
    void resign();

    CoordinateEdit* latitudeEdit_;
    CoordinateEdit* longitudeEdit_;
    const LanguageTable& language_;
    double latitude_ = 0;
    double longitude_ = 0;
    bool reporting_ = false;                      // an error box is open: its focus change is not a new leave
    const CoordinateEdit* failedField_ = nullptr; // its error box was shown in the event at hand
};

} // namespace zelvano
