#include "tools/coordinate_entry.h"

#include <gtest/gtest.h>

using namespace zelvano;

namespace {

using Hemisphere = CoordinateKey::Hemisphere;

// Types the keys one after another at the end of the text, as the filter lets them in.
QString typed(const QString& keys, CoordinateAxis axis = CoordinateAxis::Latitude) {
    QString text;
    for (const QChar key : keys) {
        const CoordinateKey k = filterCoordinateKey(key, text, static_cast<int>(text.size()), axis);
        if (k.accepted && k.insert != QChar(8)) text += k.insert;
    }
    return text;
}

} // namespace

TEST(CoordinateEntry, SeparatorKeysBecomeTheNextMissingMark) {
    EXPECT_EQ(typed(QStringLiteral("55 30 5 ")), QStringLiteral("55°30,5'"));
    EXPECT_EQ(typed(QStringLiteral("55.30.5.")), QStringLiteral("55°30,5'"));
    EXPECT_EQ(typed(QStringLiteral("55,30,5,")), QStringLiteral("55°30,5'"));
    EXPECT_EQ(typed(QStringLiteral(" 55")), QStringLiteral("55"));              // a separator first is refused
    EXPECT_EQ(typed(QStringLiteral("55  30")), QStringLiteral("55°30"));        // a comma right after "°" is refused
    EXPECT_EQ(typed(QStringLiteral("55 30 5 9 ")), QStringLiteral("55°30,5'")); // no digit after "'", no fourth mark
    EXPECT_EQ(typed(QStringLiteral("5a5-x")), QStringLiteral("55"));            // other characters are refused
}

TEST(CoordinateEntry, KeysOneByOne) {
    struct Case {
        const char* label;
        QChar key;
        QString text;
        int caret;
        CoordinateAxis axis;
        bool accepted;
        QChar insert;
        Hemisphere hemisphere;
    };
    using enum CoordinateAxis;
    const QString full = QStringLiteral("55°30,5'");
    const Case cases[] = {
        {"N", u'n', {}, 0, Latitude, false, {}, Hemisphere::North},
        {"Cyrillic т is N", u'т', {}, 0, Latitude, false, {}, Hemisphere::North},
        {"Cyrillic Т is N", u'Т', {}, 0, Latitude, false, {}, Hemisphere::North},
        {"S", u'S', {}, 0, Latitude, false, {}, Hemisphere::South},
        {"Cyrillic ы is S", u'ы', {}, 0, Latitude, false, {}, Hemisphere::South},
        {"E in the latitude does nothing", u'e', {}, 0, Latitude, false, {}, Hemisphere::None},
        {"E", u'E', {}, 0, Longitude, false, {}, Hemisphere::East},
        {"Cyrillic у is E", u'у', {}, 0, Longitude, false, {}, Hemisphere::East},
        {"W", u'w', {}, 0, Longitude, false, {}, Hemisphere::West},
        {"Cyrillic Ц is W", u'Ц', {}, 0, Longitude, false, {}, Hemisphere::West},
        {"N in the longitude does nothing", u'N', {}, 0, Longitude, false, {}, Hemisphere::None},
        {"a digit before the minutes mark", u'7', full, 7, Latitude, true, u'7', Hemisphere::None},
        {"a digit after the minutes mark", u'7', full, 8, Latitude, false, u'7', Hemisphere::None},
        {"a degree sign in front of digits", u' ', QStringLiteral("5530"), 2, Latitude, true, u'°', Hemisphere::None},
        {"a comma needs a character after °", u'.', QStringLiteral("55°30"), 3, Latitude, false, {}, Hemisphere::None},
        {"a comma after one", u'.', QStringLiteral("55°30"), 4, Latitude, true, u',', Hemisphere::None},
        {"the minutes mark at the end", u',', QStringLiteral("55°30,5"), 7, Latitude, true, u'\'', Hemisphere::None},
        {"backspace", QChar(8), full, 3, Latitude, true, QChar(8), Hemisphere::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const CoordinateKey k = filterCoordinateKey(c.key, c.text, c.caret, c.axis);
        EXPECT_EQ(k.accepted, c.accepted);
        if (k.accepted) {
            EXPECT_EQ(k.insert, c.insert);
        }
        EXPECT_EQ(k.hemisphere, c.hemisphere);
    }
}

TEST(CoordinateEntry, ParseAndRange) {
    struct Case {
        QString text;
        CoordinateAxis axis;
        double value;
        bool valid;
    };
    using enum CoordinateAxis;
    const Case cases[] = {
        {QString(), Latitude, 0, true},
        {QStringLiteral("55"), Latitude, 55, true},
        {QStringLiteral("55°"), Latitude, 55, true},
        {QStringLiteral("55°30'"), Latitude, 55.5, true},
        {QStringLiteral("55°30,5'"), Latitude, 55 + 30.5 / 60, true},
        {QStringLiteral("55°30,5"), Latitude, 55 + 30.5 / 60, true}, // no minutes mark: every character counts
        {QStringLiteral("°30'"), Latitude, 0, true},                 // nothing before the degree sign
        {QStringLiteral("90"), Latitude, 90, false},
        {QStringLiteral("89°59,999'"), Latitude, 89 + 59.999 / 60, true},
        {QStringLiteral("180"), Longitude, 180, false},
        {QStringLiteral("179°59'"), Longitude, 179 + 59.0 / 60, true},
        {QStringLiteral("55°60'"), Latitude, 56, false},
        {QStringLiteral("x°30'"), Latitude, -1 + 0.5, false}, // degrees that are not a number
        {QStringLiteral("55'"), Latitude, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const auto v = parseCoordinate(c.text, c.axis);
        ASSERT_TRUE(v);
        EXPECT_DOUBLE_EQ(v->value, c.value);
        EXPECT_EQ(v->valid, c.valid);
    }
    for (const QString& bad : {QStringLiteral("55°3x'"), QStringLiteral("55°'"), QStringLiteral("55°30'5")}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_EQ(parseCoordinate(bad, Latitude), std::nullopt); // minutes that are not a number
    }
}

TEST(CoordinateEntry, TextFormReadsBack) {
    EXPECT_EQ(coordinateText(55.5), QStringLiteral("55°30,000'"));
    EXPECT_EQ(coordinateText(0), QStringLiteral("0°0,000'"));
    EXPECT_EQ(coordinateText(151.25), QStringLiteral("151°15,000'"));
    for (const double v : {0.0, 33.5, 55.123456, 89.99999, 179.5}) {
        SCOPED_TRACE(v);
        const auto back = parseCoordinate(coordinateText(v), CoordinateAxis::Longitude);
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->value, v, 0.0005 / 60 + 1e-12); // the minutes keep three decimals
    }
}
