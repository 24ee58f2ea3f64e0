#include "geo/tile_id.h"

#include <ostream>

namespace zelvano::geo {

namespace {

// Letter of the quarter by its column bit and row bit.
constexpr char16_t kLetters[2][2] = {{u'q', u'r'}, {u't', u's'}}; // [row bit][column bit]
constexpr char16_t kQuadkeyDigits[2][2] = {{u'0', u'1'}, {u'2', u'3'}};

// One symbol per level, from the top: the quarter that the column and row bits of that level pick.
QString spell(const TileId& t, const char16_t (&symbols)[2][2]) {
    QString out(t.level, Qt::Uninitialized);
    for (int i = 0; i < t.level; ++i) {
        const int bit = t.level - 1 - i;
        out[i] = QChar(symbols[(t.y >> bit) & 1][(t.x >> bit) & 1]);
    }
    return out;
}

} // namespace

QString TileId::letters() const {
    return spell(*this, kLetters);
}

QString TileId::quadkey() const {
    return spell(*this, kQuadkeyDigits);
}

TileId TileId::wrapped() const {
    const int mask = static_cast<int>((1u << level) - 1);
    return {level, x & mask, y & mask};
}

std::optional<TileId> TileId::parent() const {
    if (level <= 0) return std::nullopt;
    const TileId w = wrapped();
    return TileId{level - 1, w.x >> 1, w.y >> 1};
}

std::optional<TileId> TileId::fromName(QStringView name) {
    if (name.isEmpty() || name[0] != u't' || name.size() > kMaxLevel + 1) return std::nullopt;
    TileId t{static_cast<int>(name.size() - 1), 0, 0};
    for (const QChar c : name.sliced(1)) {
        int column = 0;
        int row = 0;
        switch (c.unicode()) {
        case u'q':
            break;
        case u'r':
            column = 1;
            break;
        case u's':
            column = row = 1;
            break;
        case u't':
            row = 1;
            break;
        default:
            return std::nullopt;
        }
        t.x = 2 * t.x + column;
        t.y = 2 * t.y + row;
    }
    return t;
}

std::optional<TileId> TileId::fromQuadkey(QStringView quadkey) {
    if (quadkey.size() > kMaxLevel) return std::nullopt;
    TileId t{static_cast<int>(quadkey.size()), 0, 0};
    for (const QChar c : quadkey) {
        if (c < u'0' || c > u'3') return std::nullopt;
        const int digit = c.unicode() - u'0';
        t.x = 2 * t.x + (digit & 1);
        t.y = 2 * t.y + (digit >> 1);
    }
    return t;
}

std::ostream& operator<<(std::ostream& out, const TileId& t) {
    return out << "tile " << t.level << '/' << t.x << '/' << t.y << ' ' << t.name().toStdString();
}

} // namespace zelvano::geo
