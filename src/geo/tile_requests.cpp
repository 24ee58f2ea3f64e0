#include "geo/tile_requests.h"

#include "base/number_text.h"
#include "geo/mirror_random.h"

namespace zelvano::geo {

namespace {

// How one step rewrites the letters: trailing carry letters flip to the other side of their parent,
// then the first other letter moves one quarter in the direction of the step.
struct StepRule {
    char16_t carryFrom[2];
    char16_t carryTo[2];
    char16_t moveFrom[2];
    char16_t moveTo[2];
    int dx;
    int dy;
};

constexpr StepRule kEast = {{u'r', u's'}, {u'q', u't'}, {u'q', u't'}, {u'r', u's'}, 1, 0};
constexpr StepRule kWest = {{u'q', u't'}, {u'r', u's'}, {u'r', u's'}, {u'q', u't'}, -1, 0};
constexpr StepRule kNorth = {{u'q', u'r'}, {u't', u's'}, {u't', u's'}, {u'q', u'r'}, 0, -1};
constexpr StepRule kSouth = {{u't', u's'}, {u'q', u'r'}, {u'q', u'r'}, {u't', u's'}, 0, 1};

// Replaces c by its counterpart when it is one of `from`; false when it is neither.
bool swapLetter(QChar& c, const char16_t (&from)[2], const char16_t (&to)[2]) {
    for (int k = 0; k < 2; ++k) {
        if (c == QChar(from[k])) {
            c = QChar(to[k]);
            return true;
        }
    }
    return false;
}

// The decimal number after `marker` up to the next of `ends` (or the end); 0 when absent or not a number.
int numberAfter(const QString& text, QLatin1StringView marker, QLatin1StringView end) {
    const qsizetype start = text.indexOf(marker);
    if (start < 0) return 0;
    const qsizetype from = start + marker.size();
    const qsizetype stop = end.isEmpty() ? -1 : text.indexOf(end, from);
    return parseInt32(QStringView(text).sliced(from, (stop < 0 ? text.size() : stop) - from)).value_or(0);
}

void step(TileRequests& r, const RequestTemplates& templates, const StepRule& rule) {
    const qsizetype root = templates.satellite.lastIndexOf(u'=') + 1;
    qsizetype i = r.satellite.size() - 1;
    while (i > root && swapLetter(r.satellite[i], rule.carryFrom, rule.carryTo))
        --i;
    if (i > root) swapLetter(r.satellite[i], rule.moveFrom, rule.moveTo);

    const int x = numberAfter(r.map, QLatin1StringView("&x="), QLatin1StringView("&y="));
    const int y = numberAfter(r.map, QLatin1StringView("&y="), QLatin1StringView("&zoom="));
    const int zoom = serviceZoomOf(r.map);
    r.map = mapRequest(templates.map, x + rule.dx, y + rule.dy, zoom);
    r.hybrid = mapRequest(templates.hybrid, x + rule.dx, y + rule.dy, zoom);
}

} // namespace

int serviceZoomOf(const QString& mapRequest) {
    return numberAfter(mapRequest, QLatin1StringView("&zoom="), QLatin1StringView());
}

QString satelliteRequest(const QString& satelliteTemplate, const QString& letters) {
    return satelliteTemplate + letters;
}

QString mapRequest(const QString& mapTemplate, int x, int y, int serviceZoom) {
    return mapTemplate + QString::number(x) + QStringLiteral("&y=") + QString::number(y) + QStringLiteral("&zoom=") +
           QString::number(serviceZoom);
}

TileRequests tileRequests(const RequestTemplates& templates, const TileLocation& tile) {
    return {satelliteRequest(templates.satellite, tile.letters),
            mapRequest(templates.map, tile.x, tile.y, tile.serviceZoom),
            mapRequest(templates.hybrid, tile.x, tile.y, tile.serviceZoom)};
}

QString tileNameOf(const QString& satelliteRequest) {
    return satelliteRequest.mid(satelliteRequest.lastIndexOf(u'=') + 1);
}

QString quadkey(const QString& tileName) {
    QString key;
    key.reserve(tileName.size());
    for (qsizetype i = 1; i < tileName.size(); ++i) {
        const qsizetype digit = QStringView(u"qrts").indexOf(tileName[i]);
        if (digit >= 0) key += QChar(char16_t(u'0' + digit));
    }
    return key;
}

void StepEast(TileRequests& requests, const RequestTemplates& templates) {
    step(requests, templates, kEast);
}
void StepWest(TileRequests& requests, const RequestTemplates& templates) {
    step(requests, templates, kWest);
}
void StepNorth(TileRequests& requests, const RequestTemplates& templates) {
    step(requests, templates, kNorth);
}
void StepSouth(TileRequests& requests, const RequestTemplates& templates) {
    step(requests, templates, kSouth);
}

QString secondaryRequest(const QString& secondaryTemplate, const QString& satelliteRequest, bool mirrors) {
    const qsizetype dots = secondaryTemplate.indexOf(QLatin1StringView("..."));
    QString head = dots < 0 ? secondaryTemplate : secondaryTemplate.left(dots);
    const QString tail = dots < 0 ? QString() : secondaryTemplate.mid(dots + 3);
    if (mirrors) {
        const qsizetype scheme = head.indexOf(QLatin1StringView("://"));
        const qsizetype at = scheme + 4;
        if (scheme >= 0 && at < head.size()) head[at] = QChar(u'0' + mirrorDigit());
    }
    return head + quadkey(tileNameOf(satelliteRequest)) + tail;
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
