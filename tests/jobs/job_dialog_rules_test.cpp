#include "jobs/job_dialog_rules.h"

#include "geo/tile_math.h"

#include <gtest/gtest.h>

#include "support/qt_printers.h"

using namespace zelvano;

TEST(JobDialogRules, CornerReadOut) {
    EXPECT_EQ(dialogLatitudeText(55.75205), QStringLiteral("N55°45,123'"));
    EXPECT_EQ(dialogLatitudeText(-33.5), QStringLiteral("S33°30,000'"));
    EXPECT_EQ(dialogLongitudeText(-37.25), QStringLiteral("E37°15,000'")); // west-positive
    EXPECT_EQ(dialogLongitudeText(0), QStringLiteral("W0°0,000'"));
}

// Dragged from top-left to bottom-right nothing moves; a second corner west or north of the first
// exchanges only that coordinate; latitudes past the map are clamped.
TEST(JobDialogRules, CornerOrderAndClamp) {
    const geo::Position nw{56, -37}, se{55, -38}; // west-positive: -37 lies west of -38
    struct Case {
        const char* name;
        geo::Position first, second;
        SelectionCorners expected;
    };
    const Case cases[] = {
        {"in order", nw, se, {nw, se}},
        {"second corner west", {56, -38}, {55, -37}, {nw, se}},
        {"second corner north", {55, -37}, {56, -38}, {nw, se}},
        {"both", se, nw, {nw, se}},
        {"latitude 89", {89, -37}, se, {{geo::kLatitudeLimit, -37}, se}},
        {"latitude -89", nw, {-89, -38}, {nw, {-geo::kLatitudeLimit, -38}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(orderedCorners(8, c.first, c.second), c.expected);
    }
}

TEST(JobDialogRules, PieceSizes) {
    EXPECT_EQ(pieceEditValue(QStringLiteral("5000")), 5000);
    EXPECT_EQ(pieceEditValue(QStringLiteral("5k")), -1);
    EXPECT_FALSE(pieceSizeAccepted(255, 1000));
    EXPECT_TRUE(pieceSizeAccepted(256, 1000));
    EXPECT_FALSE(pieceSizeAccepted(1000, 1000));
    struct Case {
        int width, height, selW, selH;
        PieceSizes expected;
    };
    const Case cases[] = {
        {5000, 5000, 300, 1000, {150, 500, true}},
        {5000, 5000, 200, 1000, {100, 500, false}}, // 200 wide: unchecks itself
        {400, -1, 1000, 800, {400, 400, true}},
        {400, 300, 1000, 256, {400, 128, false}},
    };
    for (const Case& c : cases) {
        const PieceSizes p = checkedPieceSizes(c.width, c.height, c.selW, c.selH);
        EXPECT_EQ(std::tie(p.width, p.height, p.checked),
                  std::tie(c.expected.width, c.expected.height, c.expected.checked))
            << c.selW << "x" << c.selH;
    }
}

TEST(JobDialogRules, LayerAndQualityMappings) {
    EXPECT_EQ(layerButtonFor(true, false), LayerButton::Satellite);
    EXPECT_EQ(layerButtonFor(false, true), LayerButton::Map);
    EXPECT_EQ(layerButtonFor(true, true), LayerButton::Both);
    EXPECT_EQ(layerButtonFor(false, false), LayerButton::Both);
    Settings s;
    setLayersFrom(LayerButton::Both, s);
    EXPECT_TRUE(s.jobSatellite && s.jobMap);
    setLayersFrom(LayerButton::Map, s);
    EXPECT_TRUE(!s.jobSatellite && s.jobMap);
    EXPECT_EQ(jpegQualityOf(7), 80);
    EXPECT_EQ(jpegQualityIndex(10), 0);
    EXPECT_EQ(jpegQualityIndex(100), 9);
}
