// TBToolWindow2: coordinate search and bookmarks: Panel2 (latitude: Label5, SCB, Edit7), Panel3
// (longitude: Label19, DCB, Edit10), Panel6 (zoom: Label20, FCB, SpeedButton1) and Panel5 (bookmarks:
// ComboBox1, ButtonSave, ButtonDel). UI thread.
#pragma once

#include "config/language_table.h"

#include <QDockWidget>

#include <array>
#include <optional>

class QComboBox;
class QFrame;

namespace zelvano {

class SearchToolWindow : public QDockWidget {
    Q_OBJECT
public:
    explicit SearchToolWindow(QWidget* parent);

    void applyLanguage(const LanguageTable& language);
    // The bookmark lines in the box, or its one designed item when there are none; then the text of
    // entry 19 ("---Новое Имя---") for a new name.
    void showBookmarks(const std::optional<QStringList>& lines, const LanguageTable& language);

    QComboBox* latHemisphere() const { return latHemisphere_; } // SCB
    QComboBox* lonHemisphere() const { return lonHemisphere_; } // DCB
    QComboBox* searchZoom() const { return searchZoom_; }       // FCB
    QComboBox* bookmarks() const { return bookmarks_; }         // ComboBox1
    // Panel2, Panel3, Panel6, Panel5: disabled while the view redraws.
    const std::array<QFrame*, 4>& panels() const { return panels_; }

private:
    QComboBox* latHemisphere_ = nullptr;
    QComboBox* lonHemisphere_ = nullptr;
    QComboBox* searchZoom_ = nullptr;
    QComboBox* bookmarks_ = nullptr;
    std::array<QFrame*, 4> panels_ = {};
};

} // namespace zelvano
