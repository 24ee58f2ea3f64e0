// The rules of the job dialog that need no widget: the corner read-out, the order of the corners, the
// piece-size checks and the mappings of the layer buttons and the JPEG box. Pure functions; any thread.
#pragma once

#include "config/settings.h"
#include "view/selection.h"

#include <QString>

#include <optional>

namespace zelvano {

// "N55°45,123'": the letter for >= 0 or for < 0 and the absolute value, whole degrees (toward zero),
// minutes with three decimals.
QString dialogCornerText(double value, QChar positive, QChar negative);
inline QString dialogLatitudeText(double lat) {
    return dialogCornerText(lat, u'N', u'S');
}
inline QString dialogLongitudeText(double lonW) {
    return dialogCornerText(lonW, u'W', u'E');
}

// Two corners as the user left them, put in order at the level: the longitudes exchanged when the second
// lies west of the first, the latitudes when it lies north; both latitudes then clamped to ±85.05113.
SelectionCorners orderedCorners(int level, geo::Position first, geo::Position second);

// A piece edit read as an integer; -1 when it is not one.
int pieceEditValue(const QString& text);
// Edit1Exit, Edit2Exit: a piece size the edit may keep (at least 256 and smaller than the selection).
bool pieceSizeAccepted(int value, int dimension);

// CheckBox1Click when checked: each size that is not accepted becomes half the dimension; the box stays
// checked only when the selection is over 256 pixels both ways.
struct PieceSizes {
    int width;
    int height;
    bool checked;
};
PieceSizes checkedPieceSizes(int widthValue, int heightValue, int selectionWidth, int selectionHeight);

// The layer buttons: RadioButton10 satellite only, RadioButton11 both (or neither), RadioButton12 map only.
enum class LayerButton { Satellite, Both, Map };
LayerButton layerButtonFor(bool satellite, bool map);
void setLayersFrom(LayerButton button, Settings& settings);

// ComboBox3: "10%" … "100%".
inline int jpegQualityIndex(int quality) {
    return quality / 10 - 1;
}
inline int jpegQualityOf(int index) {
    return index * 10 + 10;
}

} // namespace zelvano
