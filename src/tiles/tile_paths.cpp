#include "tiles/tile_paths.h"

#include <QDir>

namespace zelvano {

QString levelFolder(const geo::TileId& tile) {
    return QStringLiteral("%1").arg(tile.level + 1, 2, 10, QLatin1Char('0'));
}

TilePathSet TilePaths(const CacheLayout& layout, const geo::TileId& tile) {
    const QString name = tile.name();
    const QString& root = layout.root;
    TilePathSet p;
    if (layout.singleFolder) {
        p.sat = root + name.mid(1) + QStringLiteral(".jpg");
        p.map = p.hybrid = root + name + QStringLiteral(".png");
        p.secAerial = p.sat;
        p.secRoad = p.map;
        p.secHybrid = p.hybrid;
        return p;
    }
    const QString nn = levelFolder(tile);
    auto path = [&](const char* folder, const char* ext) {
        return root + QLatin1String(folder) + nn + u'/' + name + QLatin1String(ext);
    };
    p.sat = path("kh/", ".jpg");
    p.map = path("mt/", ".png");
    p.hybrid = path("tt/", ".png");
    p.secAerial = path("virtualearth/vea/", ".jpg");
    p.secRoad = path("virtualearth/ver/", ".png");
    p.secHybrid = path("virtualearth/veh/", ".png");
    return p;
}

void createLevelFolders(const QString& root, std::initializer_list<const char*> layers) {
    for (const char* layer : layers)
        for (int level = geo::kMinLevel; level <= geo::kMaxLevel; ++level)
            QDir().mkpath(root + QLatin1String(layer) + levelFolder({level - 1, 0, 0}));
}

QStringList tileFolders(const CacheLayout& layout) {
    QStringList folders{layout.root};
    if (layout.singleFolder) return folders;
    for (const char* layer : {"kh/", "mt/", "tt/", "virtualearth/vea/", "virtualearth/ver/", "virtualearth/veh/"})
        for (int level = 0; level <= geo::kMaxLevel; ++level)
            folders.append(layout.root + QLatin1String(layer) + levelFolder({level, 0, 0}));
    return folders;
}

QString satellitePath(const CacheLayout& layout, const geo::TileId& tile) {
    return TilePaths(layout, tile).sat;
}

} // namespace zelvano
