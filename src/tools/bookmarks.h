// Bookmarks: named searches kept in Favorites.dat in the program folder, one 55-character line each in
// fixed columns (name 1–20, zoom 22–23, latitude hemisphere 25 and text 26–39, longitude hemisphere 41
// and text 42–55), code page 1251, CR LF. Pure functions and whole-file reads and writes; UI thread.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zelvano {

inline constexpr int kBookmarkNameLength = 20;
inline constexpr int kBookmarkLineLength = 55;

// The fields of the search panel that a bookmark keeps, as they stand there.
struct BookmarkFields {
    QString name;          // the bookmark box's text
    QString zoom;          // the zoom box's text, "1" to "24" or empty
    QString latHemisphere; // "N" or "S"
    QString latText;       // the latitude field's text
    QString lonHemisphere; // "W" or "E"
    QString lonText;
};

// The name cut or padded with spaces to 20 characters.
QString bookmarkName(const QString& name);

// The line of a bookmark: 53 spaces, then the name inserted at the start, " " + zoom after character 20,
// " " + hemisphere + latitude after character 23, " " + hemisphere + longitude after character 39, cut to
// 55. The insertions push the spaces to the right, so the fields keep their columns.
QString bookmarkLine(const BookmarkFields& fields);

// What choosing a line puts into the search panel; nothing for a line shorter than 55 characters.
struct ChosenBookmark {
    int zoom = 1; // columns 22–23, 1 when they are not a whole number
    bool south = false;
    bool west = false;
    QString latText;
    QString lonText;
};
std::optional<ChosenBookmark> chosenBookmark(const QString& line);

// The bookmark lines, sorted as the bookmark box lists them; nothing when the file is missing or unreadable.
std::optional<QStringList> loadBookmarks(const QString& programFolder);

// Replaces Favorites.dat with the lines; false (the old file whole) when it cannot be written.
bool saveBookmarks(const QString& programFolder, const QStringList& lines);

} // namespace zelvano
