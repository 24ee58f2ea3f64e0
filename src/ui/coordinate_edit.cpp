#include "ui/coordinate_edit.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include <cmath>

namespace zelvano {

CoordinateEdit::CoordinateEdit(CoordinateAxis axis, QComboBox* hemisphere, QWidget* parent)
    : QLineEdit(parent), axis_(axis), hemisphere_(hemisphere) {
    setMaxLength(kCoordinateTextLength);
}

void CoordinateEdit::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    // Keys without a character (arrows, Delete, Enter and Escape, which the platform gives control
    // codes) and shortcuts (pasting) are not filtered; Enter and Escape go on to the dialog's buttons.
    const bool backspace = event->key() == Qt::Key_Backspace;
    if (text.size() != 1 || (text[0].category() == QChar::Other_Control && !backspace) ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QChar key = backspace ? QChar(8) : text[0];
    const CoordinateKey k = filterCoordinateKey(key, this->text(), cursorPosition(), axis_);
    using Hemisphere = CoordinateKey::Hemisphere;
    if (k.hemisphere != Hemisphere::None && hemisphere_)
        hemisphere_->setCurrentIndex(k.hemisphere == Hemisphere::South || k.hemisphere == Hemisphere::East ? 1 : 0);
    event->accept();
    if (!k.accepted) return;
    if (key == QChar(8))
        QLineEdit::keyPressEvent(event);
    else
        insert(k.insert);
    emit characterAccepted();
}

void CoordinateEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit left();
}

CoordinateFields::CoordinateFields(CoordinateEdit* latitude, CoordinateEdit* longitude, const LanguageTable& language,
                                   QObject* parent)
    : QObject(parent), latitudeEdit_(latitude), longitudeEdit_(longitude), language_(language) {
    for (CoordinateEdit* field : {latitude, longitude})
        connect(field, &CoordinateEdit::left, this, [this, field] { parse(field); });
}

bool CoordinateFields::parse(CoordinateEdit* field) {
    const auto value = parseCoordinate(field->text(), field->axis());
    if (!value) {
        // One box for one action of the user: when leaving the field has shown it, the button or the
        // closing dialog that took the focus reads the field again without a second box.
        if (reporting_ || failedField_ == field) return false;
        failedField_ = field;
        reporting_ = true;
        QMessageBox::critical(field->window(), language_.languageText(15),
                              QStringLiteral("'%1' is not a valid floating point value").arg(field->text()));
        reporting_ = false;
        QTimer::singleShot(0, this, [this] { failedField_ = nullptr; });
        return false;
    }
    (field == latitudeEdit_ ? latitude_ : longitude_) = value->value;
    if (!value->valid) QTimer::singleShot(0, field, [field] { field->setFocus(); });
    resign();
    return true;
}

bool CoordinateFields::parseBoth() {
    return parse(latitudeEdit_) && parse(longitudeEdit_);
}

void CoordinateFields::resign() {
    if (latitudeEdit_->hemisphereBox()->currentIndex() == 1) latitude_ = -std::fabs(latitude_);    // S
    if (longitudeEdit_->hemisphereBox()->currentIndex() == 1) longitude_ = -std::fabs(longitude_); // E
}

void CoordinateFields::fill(geo::Position p) {
    latitude_ = p.lat;
    longitude_ = p.lonW;
    latitudeEdit_->hemisphereBox()->setCurrentIndex(p.lat >= 0 ? 0 : 1);
    latitudeEdit_->setText(coordinateText(std::fabs(p.lat)));
    longitudeEdit_->hemisphereBox()->setCurrentIndex(p.lonW >= 0 ? 0 : 1);
    longitudeEdit_->setText(coordinateText(std::fabs(p.lonW)));
}

} // namespace zelvano
