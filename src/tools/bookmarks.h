// Favorites.dat in the program folder: the user's named bookmarks, one fixed-column line each (code page
// 1251, CR LF). UI thread.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zelvano {

// The bookmark lines, sorted as the bookmark box lists them; nothing when the file is missing or unreadable.
std::optional<QStringList> loadBookmarks(const QString& programFolder);

} // namespace zelvano
