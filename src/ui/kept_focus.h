// The keyboard focus of the window while a drawing pass disables its panels: a disabled widget loses the
// focus, and a line edit that loses it drops its selection. Taken before the pass and given back after it,
// the field the user types in keeps the focus, the caret and the selection.
#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;

namespace zelvano {

class KeptFocus {
public:
    // The application's focus widget as it is now.
    static KeptFocus take();
    // Focus, caret and selection back as they were, if the widget is still there and enabled.
    void giveBack() const;

private:
    QPointer<QWidget> widget_;
    int cursor_ = 0;
    int selectionStart_ = -1;
    int selectionLength_ = 0;
};

} // namespace zelvano
