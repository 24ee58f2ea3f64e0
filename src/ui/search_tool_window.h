// TBToolWindow2: coordinate search and bookmarks: Panel2 (latitude: Label5, SCB, Edit7), Panel3
// (longitude: Label19, DCB, Edit10), Panel6 (zoom: Label20, FCB, SpeedButton1) and Panel5 (bookmarks:
// ComboBox1, ButtonSave, ButtonDel), side by side (771 × 47) in the top and bottom docks and stacked
// (192 × 142) in the left and right ones. Its close button hides it. UI thread.
#pragma once

#include "config/language_table.h"

#include <QDockWidget>

#include <array>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace zelvano {

class CoordinateEdit;
class CoordinateFields;

class SearchToolWindow : public QDockWidget {
    Q_OBJECT
public:
    SearchToolWindow(const LanguageTable& language, QWidget* parent);

    void applyLanguage(const LanguageTable& language);
    // The bookmark lines in the box, or its one designed item when there are none; then the text of
    // entry 19 ("---Новое Имя---") for a new name.
    void showBookmarks(const std::optional<QStringList>& lines, const LanguageTable& language);

    void setVertical(bool vertical);
    bool isVertical() const { return vertical_; }

    CoordinateEdit* latitudeEdit() const { return latitudeEdit_; }   // Edit7
    CoordinateEdit* longitudeEdit() const { return longitudeEdit_; } // Edit10
    CoordinateFields& fields() const { return *fields_; }
    QComboBox* latHemisphere() const { return latHemisphere_; } // SCB
    QComboBox* lonHemisphere() const { return lonHemisphere_; } // DCB
    QComboBox* searchZoom() const { return searchZoom_; }       // FCB
    QComboBox* bookmarks() const { return bookmarks_; }         // ComboBox1
    QPushButton* showButton() const { return showButton_; }     // SpeedButton1
    QPushButton* saveButton() const { return saveButton_; }     // ButtonSave
    QPushButton* deleteButton() const { return deleteButton_; } // ButtonDel
    // Panel2, Panel3, Panel6, Panel5: disabled while the view redraws.
    const std::array<QFrame*, 4>& panels() const { return panels_; }

signals:
    // The window floats at a new place (moved by the user, or put there).
    void floatingPlaceChanged(QPoint place);

protected:
    void moveEvent(QMoveEvent* event) override;

private:
    QWidget* content_ = nullptr;
    std::array<QFrame*, 4> panels_ = {};
    std::array<QLabel*, 3> labels_ = {}; // Label5, Label19, Label20
    QComboBox* latHemisphere_ = nullptr;
    QComboBox* lonHemisphere_ = nullptr;
    CoordinateEdit* latitudeEdit_ = nullptr;
    CoordinateEdit* longitudeEdit_ = nullptr;
    CoordinateFields* fields_ = nullptr;
    QComboBox* searchZoom_ = nullptr;
    QPushButton* showButton_ = nullptr;
    QComboBox* bookmarks_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    bool vertical_ = false;
};

} // namespace zelvano
