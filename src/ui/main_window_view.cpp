// The main window's side of the view: refreshing, the input it disables while a pass runs, the layer
// button, resizing.
#include "ui/main_window.h"

#include "ui/map_view.h"
#include "ui/search_tool_window.h"
#include "ui/zoom_tool_window.h"

#include <QApplication>
#include <QFrame>
#include <QMessageBox>
#include <QSlider>
#include <QTimer>
#include <QToolBar>

namespace zelvano {

void MainWindow::RefreshView() {
    if (selection_.present()) {
        selection_.place(viewCentre(), viewSize(), selectionCornersOf(state_.settings));
        showOutline();
    }
    SetInputEnabled(false);
    if (activated_ && !closing_) DrawView(); // the session stops the latest loader first
    SetInputEnabled(true);
    showPointerPosition();
}

void MainWindow::DrawView() {
    Settings& s = state_.settings;
    if (s.singleFolderCache && s.viewMap) {
        QMessageBox::warning(this, state_.language->languageText(168), state_.language->languageText(34));
        s.viewMap = false;
        s.viewSatellite = true;
        UpdateLayerButton();
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    DrawPassInput input;
    input.centre = viewCentre();
    input.size = viewSize();
    input.options = viewOptions();
    input.buttonFace = palette().button().color();
    input.showProgress = [this] { paintBox_->repaint(); };
    session_->refresh(input, std::make_shared<const FetchSettings>(fetchSettingsFrom(s, state_.folder)));
    path_.renewOffsets(input.centre.position, input.centre.zoom);
    showMeasuredPath();
    paintBox_->update();
    QGuiApplication::restoreOverrideCursor();
    updateCursor();
}

void MainWindow::SetInputEnabled(bool enabled) {
    inputReady_ = enabled;
    const auto& panels = searchWindow_->panels(); // Panel2, Panel3, Panel6, Panel5
    QWidget* parts[] = {
        panel1_, panels[0], panels[1], panels[3], panels[2], zoomWindow_->slider(), zoomWindow_->toolBar()};
    if (!enabled) {
        // The field the user types in gets the focus, caret and selection back after the pass, so a key
        // that redraws the view never takes them away (and the key still reaches the field).
        focusBeforePass_ = KeptFocus::take();
        for (QWidget* w : parts)
            w->setEnabled(false);
    } else {
        for (auto it = std::rbegin(parts); it != std::rend(parts); ++it)
            (*it)->setEnabled(true);
        focusBeforePass_.giveBack();
        focusBeforePass_ = {};
    }
}

void MainWindow::UpdateLayerButton() {
    ZoomToolWindow::setLook(zoomWindow_->layerButton(), layerLook(viewLayers(state_.settings)), *state_.language);
}

FetchOptions MainWindow::viewOptions() const {
    // The fetch-missing button fetches what is missing whatever the work mode.
    const WorkMode mode = fetchMissing_ ? WorkMode::CacheAndInternet : state_.settings.workMode;
    return fetchOptions(FetchMode::DrawingPass, viewLayers(state_.settings), mode);
}

QSize MainWindow::viewSize() const {
    return paintBox_->size();
}

void MainWindow::Panel1Resize() {
    const QSize size = viewSize();
    BackBuffer& buffer = *session_->backBuffer();
    const QSize current = buffer.size();
    if (current.width() >= size.width() && current.height() >= size.height()) {
        paintBox_->update();
        buffer.cropCentred(size); // what the box shows now; no redraw
    } else {
        buffer.resize(size);
        RefreshView();
    }
}

void MainWindow::redrawForToolWindow() {
    paintBox_->update();
    if (restoringLayout_ || closing_) return;
    QTimer::singleShot(0, this, [this] {
        session_->backBuffer()->resize(viewSize());
        RefreshView();
    });
}

} // namespace zelvano
