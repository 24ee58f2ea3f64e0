#include "ui/zoom_tool_window.h"

#include "geo/tile_id.h"
#include "ui/named.h"
#include "ui/tool_icons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>

namespace zelvano {

ZoomToolWindow::ZoomToolWindow(QWidget* parent) : QDockWidget(parent) {
    setObjectName(QStringLiteral("TBToolWindow1"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* content = new QWidget(this);
    auto* layout = new QHBoxLayout(content);
    layout->setContentsMargins(2, 0, 2, 0);
    slider_ = named(new QSlider(Qt::Horizontal, content), "RxSlider1");
    slider_->setRange(geo::kMinLevel, geo::kMaxLevel);
    slider_->setPageStep(1);
    slider_->setFixedWidth(269);
    zoomLabel_ = named(new QLabel(content), "Label1");
    zoomLabel_->setMinimumWidth(24);
    toolBar_ = named(new QToolBar(content), "ToolBar1");
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
    layout->addWidget(slider_);
    layout->addWidget(zoomLabel_);
    layout->addWidget(toolBar_);
    layout->addStretch();
    setWidget(content);
    setTitleBarWidget(new QWidget(this)); // no caption, no close button
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
}

} // namespace zelvano
