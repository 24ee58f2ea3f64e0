#include "tiles/cache_conversion.h"

#include "base/text_file.h"
#include "tiles/tile_paths.h"

#include <QDir>
#include <QFile>

namespace zelvano {

namespace {

constexpr qint64 kLargestTile = 16LL * 1024 * 1024;

QString withSlash(const QString& root) {
    return root.endsWith(u'/') ? root : root + u'/';
}

} // namespace

void createLayerFolders(const QString& cacheRoot) {
    createLevelFolders(withSlash(cacheRoot), {"kh/", "mt/", "tt/"});
}

std::optional<QString> conversionTarget(const QString& cacheRoot, const QString& fileName) {
    const QString lower = fileName.toLower();
    const qsizetype p = lower.indexOf(QLatin1StringView(".jpg")) + 1; // 1-based, 0 when absent
    if (p < 2 || p > 24) return std::nullopt;
    // p − 1 letters: a tile of level p − 1, whose name is p characters long.
    return withSlash(cacheRoot) + QStringLiteral("kh/") + levelFolder({static_cast<int>(p) - 1, 0, 0}) +
           QStringLiteral("/t") + lower;
}

QStringList conversionSources(const QString& cacheRoot) {
    QStringList sources;
    const QStringList names =
        QDir(cacheRoot).entryList({QStringLiteral("*.jpg")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names)
        if (conversionTarget(cacheRoot, name)) sources << name;
    return sources;
}

bool isCompleteTile(const QByteArray& bytes) {
    return bytes.size() > 1000 && bytes.endsWith("\xFF\xD9");
}

QString conversionQuestion(const LanguageTable& t, int count) {
    return t.languageText(164) + u' ' + QString::number(count) + u' ' + t.languageText(165) + u' ' +
           QString::number(count / 12 * 60) + t.languageText(166) + QStringLiteral(" .") + u' ' + t.languageText(167) +
           u' ';
}

ConversionResult convertCache(const QString& cacheRoot, const std::function<void(int done)>& progress) {
    ConversionResult result;
    const QString root = withSlash(cacheRoot);
    int done = 0;
    for (const QString& name : conversionSources(root)) {
        const QString source = root + name;
        // Each file's own bytes or none: a read that fails never hands on what an earlier file held.
        const std::optional<QByteArray> bytes = readSmallFile(source, kLargestTile);
        if (!bytes) {
            ++result.failed;
        } else if (!isCompleteTile(*bytes)) {
            ++result.incomplete;
        } else if (writeFileAtomically(*conversionTarget(root, name), *bytes, Durability::Synced) &&
                   QFile::remove(source)) {
            ++result.moved;
        } else {
            ++result.failed;
        }
        if (progress) progress(++done);
    }
    return result;
}

} // namespace zelvano
