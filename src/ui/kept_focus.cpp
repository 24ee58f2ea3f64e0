#include "ui/kept_focus.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

namespace zelvano {
namespace {

// The line edit that takes the typing for a focused widget: itself, or an editable box's field.
QLineEdit* fieldOf(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit;
    if (auto* box = qobject_cast<QComboBox*>(widget)) return box->lineEdit();
    return nullptr;
}

} // namespace

KeptFocus KeptFocus::take() {
    KeptFocus kept;
    kept.widget_ = QApplication::focusWidget();
    if (const QLineEdit* field = fieldOf(kept.widget_)) {
        kept.cursor_ = field->cursorPosition();
        kept.selectionStart_ = field->selectionStart();
        kept.selectionLength_ = field->selectionLength();
    }
    return kept;
}

void KeptFocus::giveBack() const {
    if (!widget_ || !widget_->isEnabled()) return;
    if (QApplication::focusWidget() != widget_) widget_->setFocus(Qt::OtherFocusReason);
    QLineEdit* field = fieldOf(widget_);
    if (!field) return;
    if (selectionStart_ < 0) {
        field->setCursorPosition(cursor_);
    } else if (cursor_ == selectionStart_) { // selected leftwards: the caret at the start
        field->setSelection(selectionStart_ + selectionLength_, -selectionLength_);
    } else {
        field->setSelection(selectionStart_, selectionLength_);
    }
}

} // namespace zelvano
