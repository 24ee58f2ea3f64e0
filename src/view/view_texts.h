// Texts of the view: the selection summaries. Pure functions.
#pragma once

#include "config/language_table.h"

#include <QString>

namespace zelvano {

// The size of a selection at the job zoom: (dx, dy) from the top-left to the bottom-right corner.
struct SelectionSize {
    qint64 dx = 0;
    qint64 dy = 0;
    qint64 width() const { return dx < 0 ? -dx : dx; }
    qint64 height() const { return dy < 0 ? -dy : dy; }
    double megabytes() const { return static_cast<double>(dx * dy) / 524288; } // 2 bytes a pixel
    double download() const { return megabytes() * 0.05; }
};

SelectionSize selectionSize(int zoom, double topLat, double leftLonW, double bottomLat, double rightLonW);

QString selectionLabel(const LanguageTable& t, const SelectionSize& s); // "Выделено 1024x1024 пикселей"
QString selectionPanel(const LanguageTable& t, const SelectionSize& s); // "… в памяти 2mb, скачать~0,1mb"
QString selectionReleasePanel(const LanguageTable& t, const SelectionSize& s); // "… 2,000mb, скачать~ 0,1mb"

inline constexpr char16_t kNoSelectionLabel[] = u"----------------------";

} // namespace zelvano
