// The main window's pointer and keyboard handling: the pan tool, zoom by slider, wheel, clicks and keys,
// the work-mode and layer buttons and the pointer read-out. The arithmetic is the core's.
#include "ui/main_window.h"

#include "tools/coordinate_text.h"
#include "ui/map_view.h"
#include "ui/tool_icons.h"
#include "ui/zoom_tool_window.h"

#include <QFrame>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

namespace zelvano {

namespace {

void showHint(QToolButton* button) {
    QToolTip::showText(button->mapToGlobal(QPoint(0, button->height())), button->toolTip(), button);
}

} // namespace

void MainWindow::setViewPosition(geo::Position position) {
    zelvano::setViewPosition(state_.settings, position);
}

// --- Pointer ---

void MainWindow::PaintBox1MouseDown(Qt::MouseButton button, QPoint at) {
    if (zoomWindow_->measureButton()->isChecked()) {
        measureClick(button, at);
        return;
    }
    if (zoomWindow_->selectButton()->isChecked()) {
        if (button == Qt::LeftButton) selectionPress(at);
        return;
    }
    panPressed_ = true;
    panIsClick_ = true;
    panStart_ = at;
}

void MainWindow::PaintBox1MouseMove(QPoint at) {
    if (isActiveWindow() && !paintBox_->hasFocus()) paintBox_->setFocus();
    lastPointer_ = at;
    if (selection_.dragging()) {
        selectionMove(at);
    } else if (panPressed_) {
        panIsClick_ = false;
        paintBox_->setCursor(Qt::ClosedHandCursor);
        paintBox_->setPanOffset(at - panStart_);
    }
    showPointerPosition();
}

// Panels 0 and 1: the position under the pointer, renewed by its moves and by every redraw.
void MainWindow::showPointerPosition() {
    if (!lastPointer_) return;
    const geo::Position under = positionAt(viewCentre(), viewSize(), *lastPointer_);
    statusPanels_[0]->setText(latitudeText(under.lat));
    statusPanels_[1]->setText(longitudeText(under.lonW));
}

// --- Measuring ---

// A left click adds a point to the path, any other button clears it; panel 2 shows the total.
void MainWindow::measureClick(Qt::MouseButton button, QPoint at) {
    if (button == Qt::LeftButton)
        path_.add(viewCentre().position, viewCentre().zoom, session_->backBuffer()->size(), at);
    else
        path_.clear();
    statusPanels_[2]->setText(path_.readOut());
    showMeasuredPath();
}

void MainWindow::showMeasuredPath() {
    paintBox_->setPath(path_.lines(session_->backBuffer()->size(), viewCentre().zoom));
}

void MainWindow::PaintBox1MouseUp(Qt::MouseButton button, QPoint at) {
    const bool selecting = zoomWindow_->selectButton()->isChecked();
    if (selecting && selection_.dragging()) {
        selectionRelease(button, at);
        return;
    }
    if (selecting && selection_.present() && button == Qt::RightButton) {
        selectionRightRelease(at);
        return;
    }
    if (!panPressed_) return;
    panPressed_ = false;
    paintBox_->setPanOffset({});
    updateCursor();
    if (!panIsClick_) {
        setViewPosition(panResult(viewCentre(), panStart_, at));
    } else {
        setViewPosition(positionAt(viewCentre(), viewSize(), panStart_));
        QSlider* slider = zoomWindow_->slider();
        slider->setValue(slider->value() + clickZoomStep(state_.settings.mouseMode, button));
    }
    RxSlider1Changed();
}

// --- Zoom ---

void MainWindow::RxSlider1Change(int value) {
    zoomWindow_->showZoom(value, *state_.language);
}

void MainWindow::RxSlider1Changed() {
    state_.settings.viewZoom = zoomWindow_->slider()->value();
    zoomWindow_->zoomLabel()->setText(QString::number(state_.settings.viewZoom));
    RefreshView();
}

void MainWindow::FormMouseWheel(bool down) {
    if (!inputReady_ || state_.settings.mouseMode != MouseMode::Wheel) return;
    inputReady_ = false;
    QSlider* slider = zoomWindow_->slider();
    slider->setValue(slider->value() + (down ? 1 : -1));
    if (!timer3_->isActive()) timer3_->start(); // notches within one period cost one redraw
    inputReady_ = true;
}

void MainWindow::Timer3Timer() {
    if (zoomWindow_->slider()->value() == state_.settings.viewZoom) return;
    timer3_->stop();
    RxSlider1Changed();
}

// --- Keys ---

void MainWindow::FormKeyDown(int key) {
    if (key == Qt::Key_Alt) {
        zoomWindow_->measureButton()->setChecked(true);
        updateCursor();
        return;
    }
    if (!paintBox_->isEnabled() || !panel1_->isEnabled()) return;
    const KeyStep step = keyStep(key, session_->backBuffer()->size());
    QSlider* slider = zoomWindow_->slider();
    if (step.zoom != 0) slider->setValue(slider->value() + step.zoom);
    if (!step.pan.isNull()) setViewPosition(positionAtOffset(viewCentre(), step.pan));
    RxSlider1Changed();
}

void MainWindow::FormKeyUp(int key) {
    if (key == Qt::Key_Alt) zoomWindow_->measureButton()->setChecked(false);
    RxSlider1Changed();
}

// --- Toolbar ---

void MainWindow::ToolButton1Click() {
    const LayerChoice next = nextLayers(viewLayers(state_.settings));
    state_.settings.viewSatellite = next.satellite;
    state_.settings.viewMap = next.map;
    UpdateLayerButton();
    showHint(zoomWindow_->layerButton());
    RefreshView();
}

void MainWindow::ToolButton2Click() {
    state_.settings.workMode = nextWorkMode(state_.settings.workMode);
    setWorkModeButton();
    showHint(zoomWindow_->workModeButton());
}

void MainWindow::setWorkModeButton() {
    ZoomToolWindow::setLook(zoomWindow_->workModeButton(), workModeLook(state_.settings.workMode), *state_.language);
}

void MainWindow::ToolButton3Click() {
    fetchMissing_ = true;
    RefreshView();
    fetchMissing_ = false;
}

void MainWindow::ToolButton9Click() {
    updateCursor();
    RxSlider1Changed();
}

void MainWindow::updateCursor() {
    if (zoomWindow_->measureButton()->isChecked())
        paintBox_->setCursor(measureCursor());
    else if (zoomWindow_->selectButton()->isChecked())
        paintBox_->setCursor(Qt::CrossCursor);
    else
        paintBox_->setCursor(Qt::ArrowCursor);
}

} // namespace zelvano
