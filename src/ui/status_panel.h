// A panel of the status bar StatusB: a label that, when its text is wider than the room the window
// leaves it, shows as much as fits with "…" and the whole text as its hint. UI thread.
#pragma once

#include <QLabel>

namespace zelvano {

class StatusPanel : public QLabel {
    Q_OBJECT
public:
    explicit StatusPanel(QWidget* parent);

    // Sized to hold the longest of these texts whole (the status bar font is a little smaller than the
    // window's, as the designed panels are narrow).
    void fitTexts(const QStringList& longest);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};

} // namespace zelvano
