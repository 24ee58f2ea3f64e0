// The main window's search panel and bookmarks: the jump to a typed place with its blinking marker, and
// the bookmarks saved to, deleted from and chosen in ComboBox1. The texts and lines are the core's.
#include "ui/main_window.h"

#include "tools/bookmarks.h"
#include "ui/coordinate_edit.h"
#include "ui/map_view.h"
#include "ui/search_tool_window.h"
#include "ui/zoom_tool_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <QTimer>

#include <algorithm>

namespace zelvano {

namespace {

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

} // namespace

void MainWindow::ButtonFindClick() {
    CoordinateFields& fields = searchWindow_->fields();
    // A field out of range is still used (the projection clamps the place); one that cannot be read
    // has shown its error and nothing moves.
    if (!fields.parseBoth()) return;
    setViewPosition(fields.position());
    const int zoom = searchWindow_->searchZoom()->currentIndex() + 1;
    QSlider* slider = zoomWindow_->slider();
    slider->blockSignals(true);
    slider->setValue(zoom);
    slider->blockSignals(false);
    state_.settings.viewZoom = zoom;
    zoomWindow_->zoomLabel()->setText(QString::number(zoom));
    searchMarker_->move(paintBox_->x() + paintBox_->width() / 2 - 10, paintBox_->y() + paintBox_->height() / 2 - 10);
    markerBlinks_ = 0;
    RefreshView();
    searchWindow_->latitudeEdit()->setFocus();
    showSearchMarker(true);
    timer1_->start();
}

void MainWindow::showSearchMarker(bool visible) {
    searchMarker_->setVisible(visible);
    if (visible) searchMarker_->raise();
}

void MainWindow::showBookmarkNeutralText() {
    searchWindow_->bookmarks()->setEditText(state_.language->languageText(19));
}

void MainWindow::ButtonSaveClick() {
    QComboBox* box = searchWindow_->bookmarks();
    const QString name = bookmarkName(box->currentText());
    const QString line =
        bookmarkLine({name, searchWindow_->searchZoom()->currentText(), searchWindow_->latHemisphere()->currentText(),
                      searchWindow_->latitudeEdit()->text(), searchWindow_->lonHemisphere()->currentText(),
                      searchWindow_->longitudeEdit()->text()});
    box->setEditText(name);
    box->insertItem(0, line); // at the top until the next start sorts it in
    if (!saveBookmarks(state_.folder, itemsOf(box)))
        QMessageBox::warning(this, state_.language->languageText(36), state_.language->languageText(39));
    box->setCurrentIndex(0);
    box->setEditText(line);
}

void MainWindow::ButtonDelClick() {
    QComboBox* box = searchWindow_->bookmarks();
    // A name typed over the chosen item is no longer that item: nothing is chosen then.
    const int chosen = box->currentIndex();
    if (chosen < 0 || box->currentText() != box->itemText(chosen)) return;
    box->removeItem(chosen);
    if (!saveBookmarks(state_.folder, itemsOf(box)))
        QMessageBox::warning(this, state_.language->languageText(36), state_.language->languageText(39));
    if (box->count() > 0) {
        box->setCurrentIndex(0);
    } else {
        box->setCurrentIndex(-1);
        box->setEditText(state_.language->languageText(19));
    }
}

void MainWindow::ComboBox1Select(int index) {
    const auto chosen = chosenBookmark(searchWindow_->bookmarks()->itemText(index));
    if (!chosen) return; // shorter than a bookmark line: the designed item
    searchWindow_->searchZoom()->setCurrentIndex(std::clamp(chosen->zoom, 1, searchWindow_->searchZoom()->count()) - 1);
    searchWindow_->latHemisphere()->setCurrentIndex(chosen->south ? 1 : 0);
    searchWindow_->lonHemisphere()->setCurrentIndex(chosen->west ? 0 : 1);
    searchWindow_->latitudeEdit()->setText(chosen->latText);
    searchWindow_->longitudeEdit()->setText(chosen->lonText);
    searchWindow_->fields().parseBoth(); // the view stays: the user presses "Показать"
}

} // namespace zelvano
