#include "ui/zoom_tool_window.h"

#include "geo/tile_id.h"
#include "ui/drag_handle.h"
#include "ui/named.h"
#include "ui/tool_icons.h"

#include <QLabel>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

namespace zelvano {

ZoomToolWindow::ZoomToolWindow(QWidget* parent) : QDockWidget(parent) {
    setObjectName(QStringLiteral("TBToolWindow1"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    content_ = new QWidget(this);
    slider_ = named(new QSlider(Qt::Horizontal, content_), "RxSlider1");
    slider_->setRange(geo::kMinLevel, geo::kMaxLevel);
    slider_->setPageStep(1);
    zoomLabel_ = named(new QLabel(content_), "Label1");
    zoomLabel_->setAlignment(Qt::AlignCenter);
    toolBar_ = named(new QToolBar(content_), "ToolBar1");
    toolBar_->setIconSize(QSize(20, 20));
    auto button = [this](const char* name, int image, bool checkable) {
        auto* b = named(new QToolButton(toolBar_), name);
        b->setIcon(toolIcon(image));
        b->setProperty("imageIndex", image);
        b->setCheckable(checkable);
        toolBar_->addWidget(b);
        return b;
    };
    workModeButton_ = button("ToolButton2", kImageCacheAndInternet, false);
    layerButton_ = button("ToolButton1", kImageSatellite, false);
    fetchButton_ = button("ToolButton3", kImageFetchMissing, false);
    searchButton_ = button("ToolButton5", kImageSearch, true);
    selectButton_ = button("ToolButton8", kImageSelection, true);
    measureButton_ = button("ToolButton9", kImageMeasure, true);
    settingsButton_ = button("ToolButton6", kImageSettings, false);
    setWidget(content_);
    setTitleBarWidget(new DragHandle(this)); // no caption, no close button
    connect(this, &QDockWidget::topLevelChanged, this, [this] { arrange(); });
    setVertical(false);
}

void ZoomToolWindow::setVertical(bool vertical) {
    vertical_ = vertical;
    // The handle runs across the window's narrow side: at the left of the horizontal window, on top of
    // the vertical one.
    setFeatures(vertical ? features() & ~QDockWidget::DockWidgetVerticalTitleBar
                         : features() | QDockWidget::DockWidgetVerticalTitleBar);
    arrange();
}

// Slider 269 long, the label 28 after its start + 1, the toolbar (222 long) after that. Floating, the
// slider and the toolbar 7 pixels in, the label at 276 and the window 260 longer than the slider.
void ZoomToolWindow::arrange() {
    const bool floating = isFloating();
    const int inset = floating ? 7 : 0;
    const int length = floating ? 269 + 260 : 520;
    const int label = floating ? 276 : 270;
    slider_->setOrientation(vertical_ ? Qt::Vertical : Qt::Horizontal);
    toolBar_->setOrientation(vertical_ ? Qt::Vertical : Qt::Horizontal);
    if (!vertical_) {
        content_->setFixedSize(length, 28);
        slider_->setGeometry(inset, 0, 269, 28);
        zoomLabel_->setGeometry(label, 0, 27, 28);
        toolBar_->setGeometry(298 + inset, 0, 222, 28);
    } else {
        content_->setFixedSize(29, length);
        slider_->setGeometry(0, inset, 29, 269);
        zoomLabel_->setGeometry(0, label, 29, 27);
        toolBar_->setGeometry(0, 298 + inset, 29, 222);
    }
}

void ZoomToolWindow::applyLanguage(const LanguageTable& t) {
    fetchButton_->setToolTip(t.languageText(9));
    searchButton_->setToolTip(t.languageText(10));
    measureButton_->setToolTip(t.languageText(11));
    selectButton_->setToolTip(t.languageText(12));
    settingsButton_->setToolTip(t.languageText(13));
}

void ZoomToolWindow::setLook(QToolButton* button, const ButtonLook& look, const LanguageTable& language) {
    button->setIcon(toolIcon(look.image));
    button->setProperty("imageIndex", look.image);
    button->setToolTip(language.languageText(look.hintEntry));
}

void ZoomToolWindow::showZoom(int zoom, const LanguageTable& language) {
    slider_->setToolTip(language.languageText(37) + u' ' + QString::number(zoom));
    zoomLabel_->setText(QString::number(zoom));
    if (slider_->isVisible())
        QToolTip::showText(slider_->mapToGlobal(QPoint(0, slider_->height())), slider_->toolTip(), slider_);
}

} // namespace zelvano
