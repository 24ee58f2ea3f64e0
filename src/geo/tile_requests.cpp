#include "geo/tile_requests.h"

#include "geo/mirror_random.h"

namespace zelvano::geo {

QString satelliteRequest(const QString& satelliteTemplate, const TileId& tile) {
    return satelliteTemplate + tile.letters();
}

QString mapRequest(const QString& mapTemplate, const TileId& tile) {
    return mapTemplate + QString::number(tile.x) + QStringLiteral("&y=") + QString::number(tile.y) +
           QStringLiteral("&zoom=") + QString::number(tile.serviceZoom());
}

QString secondaryRequest(const QString& secondaryTemplate, const TileId& tile, bool mirrors) {
    const qsizetype dots = secondaryTemplate.indexOf(QLatin1StringView("..."));
    QString head = dots < 0 ? secondaryTemplate : secondaryTemplate.left(dots);
    const QString tail = dots < 0 ? QString() : secondaryTemplate.mid(dots + 3);
    if (mirrors) {
        const qsizetype scheme = head.indexOf(QLatin1StringView("://"));
        const qsizetype at = scheme + 4;
        if (scheme >= 0 && at < head.size()) head[at] = QChar(u'0' + mirrorDigit());
    }
    return head + tile.quadkey() + tail;
}

QString withMirror(const QString& request, bool mirrors) {
    if (!mirrors) return request;
    const qsizetype at = request.indexOf(QLatin1StringView(".orbexa"));
    if (at < 0) return request;
    QString sent = request;
    sent.insert(at, QChar(u'0' + mirrorDigit()));
    return sent;
}

} // namespace zelvano::geo
