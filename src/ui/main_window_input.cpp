// The main window's pointer and keyboard handling: the pan tool, zoom by slider, wheel, clicks and keys,
// the work-mode and layer buttons, the pointer read-out, and the selection tool.
#include "ui/main_window.h"

#include "geo/tile_math.h"
#include "ui/map_view.h"
#include "ui/tool_icons.h"
#include "view/view_texts.h"

#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

namespace zelvano {

QPoint MainWindow::toOffset(QPoint pixel) const {
    const QSize size = paintBox_->size();
    return {pixel.x() - size.width() / 2, pixel.y() - size.height() / 2};
}

bool MainWindow::positionAt(QPoint pixel, double& lonW, double& lat) const {
    const QPoint offset = toOffset(pixel);
    lonW = settings_.viewLongitude;
    lat = settings_.viewLatitude;
    return geo::ShiftPosition(offset.x(), offset.y(), settings_.viewZoom, lonW, lat);
}

void MainWindow::setCentreToPixel(QPoint pixel) {
    positionAt(pixel, settings_.viewLongitude, settings_.viewLatitude);
}

// --- Pointer ---

void MainWindow::PaintBox1MouseDown(Qt::MouseButton button, QPoint at) {
    if (measureButton_->isChecked()) {
        paintBox_->update(); // the measured path is drawn by the paint handler
        return;
    }
    if (selectButton_->isChecked()) {
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
    if (selectionDragging_) {
        selectionMove(at);
    } else if (panPressed_) {
        panIsClick_ = false;
        paintBox_->setCursor(Qt::ClosedHandCursor);
        paintBox_->setPanOffset(at - panStart_);
    }
    double lonW = 0;
    double lat = 0;
    positionAt(at, lonW, lat);
    statusPanels_[0]->setText(latitudeText(lat));
    statusPanels_[1]->setText(longitudeText(lonW));
}

void MainWindow::PaintBox1MouseUp(Qt::MouseButton button, QPoint at) {
    if (selectButton_->isChecked() && selectionDragging_) {
        selectionRelease(button, at);
        return;
    }
    if (selectButton_->isChecked() && selectionPresent_ && button == Qt::RightButton) {
        selectionRightRelease(at);
        return;
    }
    if (!panPressed_) return;
    panPressed_ = false;
    paintBox_->setPanOffset({});
    updateCursor();
    if (!panIsClick_) {
        const QPoint offset = panStart_ - at;
        geo::ShiftPosition(offset.x(), offset.y(), settings_.viewZoom, settings_.viewLongitude, settings_.viewLatitude);
    } else {
        setCentreToPixel(panStart_);
        if (settings_.mouseMode == MouseMode::Click) {
            if (button == Qt::LeftButton) slider_->setValue(slider_->value() + 1);
            if (button == Qt::RightButton) slider_->setValue(slider_->value() - 1);
        }
    }
    RxSlider1Changed();
}

// --- Zoom ---

void MainWindow::RxSlider1Change(int value) {
    slider_->setToolTip(language_->languageText(37) + u' ' + QString::number(value));
    zoomLabel_->setText(QString::number(value));
}

void MainWindow::RxSlider1Changed() {
    settings_.viewZoom = slider_->value();
    zoomLabel_->setText(QString::number(settings_.viewZoom));
    RefreshView();
}

void MainWindow::FormMouseWheel(bool down) {
    if (!inputReady_ || settings_.mouseMode != MouseMode::Wheel) return;
    inputReady_ = false;
    slider_->setValue(slider_->value() + (down ? 1 : -1));
    timer3_->start();
    inputReady_ = true;
}

void MainWindow::Timer3Timer() {
    if (slider_->value() == settings_.viewZoom) return;
    timer3_->stop();
    RxSlider1Changed();
}

// --- Keys ---

void MainWindow::FormKeyDown(int key) {
    if (key == Qt::Key_Alt) {
        measureButton_->setChecked(true);
        updateCursor();
        return;
    }
    if (!paintBox_->isEnabled() || !panel1_->isEnabled()) return;
    const QSize size = buffer_->size();
    QPoint offset;
    switch (key) {
    case Qt::Key_Left:
        offset = {-size.width() / 3, 0};
        break;
    case Qt::Key_Up:
        offset = {0, -size.height() / 3};
        break;
    case Qt::Key_Right:
        offset = {size.width() / 3, 0};
        break;
    case Qt::Key_Down:
        offset = {0, size.height() / 3};
        break;
    case Qt::Key_PageUp:
        slider_->setValue(slider_->value() + 1);
        break;
    case Qt::Key_PageDown:
        slider_->setValue(slider_->value() - 1);
        break;
    default:
        break;
    }
    if (!offset.isNull()) {
        geo::ShiftPosition(offset.x(), offset.y(), settings_.viewZoom, settings_.viewLongitude, settings_.viewLatitude);
    }
    RxSlider1Changed();
}

void MainWindow::FormKeyUp(int key) {
    if (key == Qt::Key_Alt) measureButton_->setChecked(false);
    RxSlider1Changed();
}

// --- Toolbar ---

void MainWindow::ToolButton1Click() {
    Settings& s = settings_;
    if (s.viewMap && !s.viewSatellite) {
        s.viewMap = false;
        s.viewSatellite = true;
    } else if (s.viewSatellite && !s.viewMap) {
        s.viewMap = true;
    } else if (s.viewMap && s.viewSatellite) {
        s.viewSatellite = false;
    } else {
        s.viewMap = s.viewSatellite = true;
    }
    UpdateLayerButton();
    QToolTip::showText(layerButton_->mapToGlobal(QPoint(0, layerButton_->height())), layerButton_->toolTip(),
                       layerButton_);
    RefreshView();
}

void MainWindow::ToolButton2Click() {
    switch (settings_.workMode) {
    case WorkMode::CacheOnly:
        settings_.workMode = WorkMode::InternetOnly;
        break;
    case WorkMode::InternetOnly:
        settings_.workMode = WorkMode::CacheAndInternet;
        break;
    case WorkMode::CacheAndInternet:
        settings_.workMode = WorkMode::CacheOnly;
        break;
    }
    setWorkModeButton();
    QToolTip::showText(workModeButton_->mapToGlobal(QPoint(0, workModeButton_->height())), workModeButton_->toolTip(),
                       workModeButton_);
}

void MainWindow::setWorkModeButton() {
    int image = kImageCacheAndInternet;
    int entry = 18;
    if (settings_.workMode == WorkMode::CacheOnly) {
        image = kImageCacheOnly;
        entry = 16;
    } else if (settings_.workMode == WorkMode::InternetOnly) {
        image = kImageInternetOnly;
        entry = 17;
    }
    workModeButton_->setIcon(toolIcon(image));
    workModeButton_->setProperty("imageIndex", image);
    workModeButton_->setToolTip(language_->languageText(entry));
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
    if (measureButton_->isChecked())
        paintBox_->setCursor(measureCursor());
    else if (selectButton_->isChecked())
        paintBox_->setCursor(Qt::CrossCursor);
    else
        paintBox_->setCursor(Qt::ArrowCursor);
}

// --- Selection ---

void MainWindow::selectionPress(QPoint at) {
    x1_ = x2_ = at.x();
    y1_ = y2_ = at.y();
    selectionDragging_ = true;
    timer1_->start();
    showOutline();
}

void MainWindow::selectionMove(QPoint at) {
    x2_ = at.x();
    y2_ = at.y();
    showOutline();
}

void MainWindow::selectionRelease(Qt::MouseButton button, QPoint at) {
    selectionPresent_ = false;
    selectionDragging_ = false;
    statusPanels_[3]->setText(QStringLiteral(" "));
    ComboBox2Change();
    if (button == Qt::LeftButton && (at.x() != x1_ || at.y() != y1_)) {
        x2_ = at.x();
        y2_ = at.y();
        if (x2_ < x1_) std::swap(x1_, x2_);
        if (y2_ < y1_) std::swap(y1_, y2_);
        positionAt({x1_, y1_}, settings_.selectionLeft, settings_.selectionTop);
        positionAt({x2_, y2_}, settings_.selectionRight, settings_.selectionBottom);
        selectionPresent_ = true;
        ComboBox2Change();
        statusPanels_[3]->setText(selectionReleasePanel(
            *language_, selectionSize(jobZoom_->currentIndex() + 1, settings_.selectionTop, settings_.selectionLeft,
                                      settings_.selectionBottom, settings_.selectionRight)));
    }
    showOutline();
    RefreshView();
}

void MainWindow::selectionRightRelease(QPoint at) {
    const bool inside = x1_ < at.x() && at.x() < x2_ && y1_ < at.y() && at.y() < y2_;
    if (!inside) {
        selectionPresent_ = false;
        selectionDragging_ = false;
        ComboBox2Change();
    }
    showOutline();
}

// The pixel corners follow the stored corners through pans and zooms.
void MainWindow::placeSelection() {
    const QSize size = paintBox_->size();
    const ViewCentre c = viewCentre();
    const geo::PixelOffsetResult tl =
        geo::PixelOffset(c.zoom, settings_.selectionLeft, settings_.selectionTop, c.lonW, c.lat);
    const geo::PixelOffsetResult br =
        geo::PixelOffset(c.zoom, settings_.selectionRight, settings_.selectionBottom, c.lonW, c.lat);
    x1_ = size.width() / 2 - tl.ox;
    y1_ = size.height() / 2 - tl.oy;
    x2_ = size.width() / 2 - br.ox;
    y2_ = size.height() / 2 - br.oy;
    showOutline();
}

void MainWindow::ComboBox2Change() {
    if (!selectionPresent_ && !selectionDragging_) {
        selectionLabel_->setText(QString::fromUtf16(kNoSelectionLabel));
        runButton_->setEnabled(false);
        return;
    }
    const SelectionSize size =
        selectionSize(jobZoom_->currentIndex() + 1, settings_.selectionTop, settings_.selectionLeft,
                      settings_.selectionBottom, settings_.selectionRight);
    selectionLabel_->setText(selectionLabel(*language_, size));
    statusPanels_[3]->setText(selectionPanel(*language_, size));
    runButton_->setEnabled(true);
}

void MainWindow::ToolButton8Click(bool down) {
    if (down) {
        jobWindow_->show();
        if (settings_.selectionTop != settings_.selectionBottom &&
            settings_.selectionLeft != settings_.selectionRight) {
            selectionPresent_ = true;
            timer1_->start();
            RxSlider1Changed();
        }
    } else {
        if (jobs_->count() == 0) {
            jobWindow_->hide();
            selectionPresent_ = false;
            statusPanels_[3]->setText(QStringLiteral(" "));
        }
        showOutline();
        RxSlider1Changed();
    }
    updateCursor();
}

void MainWindow::showOutline() {
    const bool shown = (selectionPresent_ || selectionDragging_) && selectButton_->isChecked() && !panPressed_;
    paintBox_->setOutline(shown ? QRect(QPoint(x1_, y1_), QPoint(x2_, y2_)) : QRect(), outlineTicks_);
}

void MainWindow::Timer1Timer() {
    if ((selectionPresent_ || selectionDragging_) && !panPressed_ && selectButton_->isChecked()) {
        outlineTicks_ = (outlineTicks_ + 1) % 5;
        showOutline();
    }
    if (markerBlinks_ < 17) ++markerBlinks_;
    if (!selectionPresent_ && !selectionDragging_ && markerBlinks_ > 16) {
        timer1_->stop();
        showOutline();
    }
}

} // namespace zelvano
