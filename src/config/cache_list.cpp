#include "config/cache_list.h"

#include "base/text_file.h"

namespace zelvano {

namespace {

QString cacheListPath(const QString& programFolder) {
    return programFolder + QStringLiteral("/CacheList.dat");
}

} // namespace

QStringList loadCacheList(const QString& programFolder) {
    return readTextLines(cacheListPath(programFolder)).value_or(QStringList());
}

bool saveCacheList(const QString& programFolder, const QStringList& folders) {
    return writeTextLines(cacheListPath(programFolder), folders);
}

} // namespace zelvano
