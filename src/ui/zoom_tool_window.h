// TBToolWindow1: the zoom slider RxSlider1 with its label Label1, and the toolbar ToolBar1 with the
// work-mode, layer, fetch-missing, search, selection, measuring and settings buttons. No caption, a drag
// handle; horizontal (520 × 28) in the top and bottom docks, vertical (29 × 520) in the left and right
// ones, the content 7 pixels in when floating. UI thread.
#pragma once

#include "config/language_table.h"
#include "view/tool_images.h"

#include <QDockWidget>

class QLabel;
class QSlider;
class QToolBar;
class QToolButton;

namespace zelvano {

class ZoomToolWindow : public QDockWidget {
    Q_OBJECT
public:
    explicit ZoomToolWindow(QWidget* parent);

    void applyLanguage(const LanguageTable& language);
    // The picture and hint of a state button (work mode, layers).
    static void setLook(QToolButton* button, const ButtonLook& look, const LanguageTable& language);
    // The slider's hint "Увеличение N", shown at once, and the label.
    void showZoom(int zoom, const LanguageTable& language);

    void setVertical(bool vertical);
    bool isVertical() const { return vertical_; }

    QSlider* slider() const { return slider_; }
    QLabel* zoomLabel() const { return zoomLabel_; }
    QToolBar* toolBar() const { return toolBar_; }
    QToolButton* workModeButton() const { return workModeButton_; } // ToolButton2
    QToolButton* layerButton() const { return layerButton_; }       // ToolButton1
    QToolButton* fetchButton() const { return fetchButton_; }       // ToolButton3
    QToolButton* searchButton() const { return searchButton_; }     // ToolButton5
    QToolButton* selectButton() const { return selectButton_; }     // ToolButton8
    QToolButton* measureButton() const { return measureButton_; }   // ToolButton9
    QToolButton* settingsButton() const { return settingsButton_; } // ToolButton6

private:
    void arrange();

    QWidget* content_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QToolButton* workModeButton_ = nullptr;
    QToolButton* layerButton_ = nullptr;
    QToolButton* fetchButton_ = nullptr;
    QToolButton* searchButton_ = nullptr;
    QToolButton* selectButton_ = nullptr;
    QToolButton* measureButton_ = nullptr;
    QToolButton* settingsButton_ = nullptr;
    bool vertical_ = false;
};

} // namespace zelvano
