// The main window's selection tool: the mouse steps, the selection button, the summary at the job zoom
// and the outline's animation. The state and its arithmetic are the core's SelectionTool.
#include "ui/main_window.h"

#include "ui/job_tool_window.h"
#include "ui/map_view.h"
#include "ui/zoom_tool_window.h"
#include "view/view_texts.h"

#include <QComboBox>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

namespace zelvano {

namespace {

SelectionSize sizeAt(int zoom, const SelectionCorners& c) {
    return selectionSize(zoom, c.topLeft.lat, c.topLeft.lonW, c.bottomRight.lat, c.bottomRight.lonW);
}

} // namespace

void MainWindow::selectionPress(QPoint at) {
    selection_.press(at);
    timer1_->start();
    showOutline();
}

void MainWindow::selectionMove(QPoint at) {
    selection_.move(at);
    showOutline();
}

void MainWindow::selectionRelease(Qt::MouseButton button, QPoint at) {
    const auto corners = selection_.release(button, at, viewCentre(), viewSize());
    statusPanels_[3]->setText(QStringLiteral(" "));
    jobWindow_->showNoSelection(); // the press took the old selection away
    if (corners) {
        setSelectionCorners(state_.settings, *corners);
        ComboBox2Change();
        statusPanels_[3]->setText(selectionReleasePanel(*state_.language, sizeAt(jobWindow_->jobZoom(), *corners)));
    }
    showOutline();
    RefreshView();
}

void MainWindow::selectionRightRelease(QPoint at) {
    selection_.rightRelease(at);
    if (!selection_.present()) ComboBox2Change();
    showOutline();
}

void MainWindow::ComboBox2Change() {
    if (!selection_.shown()) {
        jobWindow_->showNoSelection();
        return;
    }
    const SelectionSize size = sizeAt(jobWindow_->jobZoom(), selectionCornersOf(state_.settings));
    jobWindow_->showSelectionLabel(selectionLabel(*state_.language, size));
    statusPanels_[3]->setText(selectionPanel(*state_.language, size));
}

void MainWindow::ToolButton8Click(bool down) {
    if (down) {
        jobWindow_->show();
        if (selectionCornersOf(state_.settings).enclosesArea()) {
            selection_.setPresent(true);
            timer1_->start();
            RxSlider1Changed();
        }
        ComboBox2Change(); // the summary and the run button with the selection back
    } else {
        if (jobWindow_->jobsBox()->count() == 0) {
            jobWindow_->hide();
            selection_.setPresent(false);
            statusPanels_[3]->setText(QStringLiteral(" "));
            ComboBox2Change();
        }
        showOutline();
        RxSlider1Changed();
    }
    updateCursor();
}

void MainWindow::showOutline() {
    const bool shown = selection_.shown() && zoomWindow_->selectButton()->isChecked() && !panPressed_;
    paintBox_->setOutline(shown ? selection_.pixels() : QRect(), outlineTicks_);
}

void MainWindow::Timer1Timer() {
    if (selection_.shown() && !panPressed_ && zoomWindow_->selectButton()->isChecked()) {
        outlineTicks_ = (outlineTicks_ + 1) % 5;
        showOutline();
    }
    // The search marker blinks 17 times after a jump, then stays hidden.
    if (markerBlinks_ < 17) {
        showSearchMarker(!searchMarker_->isVisible());
        ++markerBlinks_;
    } else {
        showSearchMarker(false);
    }
    if (!selection_.shown() && markerBlinks_ > 16) {
        timer1_->stop();
        showOutline();
    }
}

} // namespace zelvano
