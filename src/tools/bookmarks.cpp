#include "tools/bookmarks.h"

#include "base/number_text.h"
#include "base/text_file.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace zelvano {

namespace {

QString bookmarksPath(const QString& programFolder) {
    return programFolder + QStringLiteral("/Favorites.dat");
}

} // namespace

QString bookmarkName(const QString& name) {
    return name.left(kBookmarkNameLength).leftJustified(kBookmarkNameLength, u' ');
}

QString bookmarkLine(const BookmarkFields& f) {
    QString line(53, u' ');
    line.insert(0, bookmarkName(f.name));
    line.insert(20, u' ' + f.zoom);
    line.insert(23, u' ' + f.latHemisphere + f.latText);
    line.insert(39, u' ' + f.lonHemisphere + f.lonText);
    return line.left(kBookmarkLineLength);
}

std::optional<ChosenBookmark> chosenBookmark(const QString& line) {
    if (line.size() < kBookmarkLineLength) return std::nullopt;
    ChosenBookmark b;
    b.zoom = parseInt32(QStringView(line).sliced(21, 2).trimmed()).value_or(1);
    b.south = line[24] == u'S';
    b.west = line[40] == u'W';
    b.latText = line.mid(25, 14).trimmed();
    b.lonText = line.mid(41, 14).trimmed();
    return b;
}

std::optional<QStringList> loadBookmarks(const QString& programFolder) {
    auto lines = readTextLines(bookmarksPath(programFolder));
    if (!lines) return lines;
    // Alphabetical in the common order of the scripts, case aside: Latin names first, then Cyrillic with Ё
    // beside Е, not after Я. (A Russian collation would put the Cyrillic names before the Latin ones.)
    QCollator collator(QLocale(QLocale::English, QLocale::UnitedStates));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(lines->begin(), lines->end(), collator);
    return lines;
}

bool saveBookmarks(const QString& programFolder, const QStringList& lines) {
    return writeTextLines(bookmarksPath(programFolder), lines);
}

} // namespace zelvano
