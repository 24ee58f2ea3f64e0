#include "tools/bookmarks.h"

#include "base/text_file.h"

namespace zelvano {

std::optional<QStringList> loadBookmarks(const QString& programFolder) {
    auto lines = readTextLines(programFolder + QStringLiteral("/Favorites.dat"));
    if (lines) lines->sort();
    return lines;
}

} // namespace zelvano
