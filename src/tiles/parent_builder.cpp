#include "tiles/parent_builder.h"

#include "base/text_file.h"
#include "tiles/imaging.h"

#include <QFile>
#include <QPainter>

namespace zelvano {

ParentBuild buildParentTile(const geo::TileId& parent, const CacheLayout& layout, int quality,
                            UnreadableChild unreadable) {
    struct Child {
        int dx;
        int dy;
    };
    constexpr Child children[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}}; // q, r, s, t
    QString paths[4];
    for (int i = 0; i < 4; ++i) {
        paths[i] = satellitePath(layout, parent.child(children[i].dx, children[i].dy));
        if (!QFile::exists(paths[i]) || isReadOnly(paths[i])) return ParentBuild::MissingChildren;
    }
    QImage composed = newTileImage();
    {
        QPainter painter(&composed);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        for (int i = 0; i < 4; ++i) {
            QImage child;
            if (LoadImageFile(child, paths[i]))
                painter.drawImage(QRect(128 * children[i].dx, 128 * children[i].dy, 128, 128), child);
            else if (unreadable == UnreadableChild::NoParent)
                return ParentBuild::Failed;
        }
    }
    return SaveImageJpeg(composed, satellitePath(layout, parent), quality, Durability::Unsynced) ? ParentBuild::Built
                                                                                                 : ParentBuild::Failed;
}

ParentBuild buildJobParent(const geo::TileId& tile, bool replace, const CacheLayout& layout, int quality) {
    const auto parent = tile.parent();
    if (!parent || (!replace && QFile::exists(satellitePath(layout, *parent)))) return ParentBuild::Kept;
    return buildParentTile(*parent, layout, quality, UnreadableChild::NoParent);
}

void BuildParents(const geo::TileId& tile, bool replace, const CacheLayout& layout, int quality) {
    for (auto parent = tile.parent(); parent; parent = parent->parent()) {
        if (!replace && QFile::exists(satellitePath(layout, *parent))) return;
        if (buildParentTile(*parent, layout, quality) == ParentBuild::Failed) return;
    }
}

} // namespace zelvano
