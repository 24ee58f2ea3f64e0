// The double drag handle of a tool window without a caption: two grooves along the window's edge. It
// takes no mouse event itself, so the dock under it drags, docks and floats the window. UI thread.
#pragma once

#include <QWidget>

namespace zelvano {

class DragHandle : public QWidget {
    Q_OBJECT
public:
    explicit DragHandle(QWidget* parent);

    QSize sizeHint() const override { return {8, 8}; }
    QSize minimumSizeHint() const override { return {8, 8}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace zelvano
