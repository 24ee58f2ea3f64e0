#include "tiles/parent_builder.h"

#include "base/text_file.h"
#include "geo/tile_requests.h"
#include "tiles/imaging.h"

#include <QFile>
#include <QPainter>

namespace zelvano {

ParentBuild buildParentTile(const QString& parentRequest, const CacheLayout& layout, int quality) {
    struct Child {
        char16_t letter;
        int left;
        int top;
    };
    constexpr Child children[] = {{u'q', 0, 0}, {u'r', 128, 0}, {u's', 128, 128}, {u't', 0, 128}};
    QString paths[4];
    for (int i = 0; i < 4; ++i) {
        paths[i] = satellitePath(layout, parentRequest + QChar(children[i].letter));
        if (!QFile::exists(paths[i]) || isReadOnly(paths[i])) return ParentBuild::MissingChildren;
    }
    QImage parent = newTileImage();
    {
        QPainter painter(&parent);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        for (int i = 0; i < 4; ++i) {
            QImage child;
            if (LoadImageFile(child, paths[i]))
                painter.drawImage(QRect(children[i].left, children[i].top, 128, 128), child);
        }
    }
    return SaveImageJpeg(parent, satellitePath(layout, parentRequest), quality, Durability::Unsynced)
               ? ParentBuild::Built
               : ParentBuild::Failed;
}

void BuildParents(const QString& satelliteRequest, bool replace, const CacheLayout& layout, int quality) {
    QString request = satelliteRequest;
    while (geo::tileNameOf(request).size() > 1) {
        request.chop(1);
        if (!replace && QFile::exists(satellitePath(layout, request))) return;
        if (buildParentTile(request, layout, quality) == ParentBuild::Failed) return;
    }
}

} // namespace zelvano
