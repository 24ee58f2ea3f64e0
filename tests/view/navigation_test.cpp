#include "geo/tile_math.h"
#include "view/navigation.h"
#include "view/selection.h"
#include "view/tool_images.h"

#include <gtest/gtest.h>

using namespace zelvano;

namespace {

const ViewCentre kCentre{{45.25, -20.5}, 10};
const QSize kView(801, 600); // an odd width: the centre pixel is 400, and a third of it 267

// The position at an offset from the centre, by the projection alone.
geo::Position shifted(const ViewCentre& c, int dx, int dy) {
    geo::Position p = c.position;
    geo::ShiftPosition(dx, dy, c.zoom, p);
    return p;
}

} // namespace

TEST(Navigation, PixelsAndPositions) {
    EXPECT_EQ(offsetFromCentre(kView, {400, 300}), QPoint(0, 0));
    EXPECT_EQ(offsetFromCentre(kView, {0, 0}), QPoint(-400, -300));
    EXPECT_EQ(positionAt(kCentre, kView, {150, 420}), shifted(kCentre, -250, 120));
    // A pixel's position comes back to that pixel, up to the centre's place inside its own pixel.
    for (int zoom : {3, 10, 24}) {
        SCOPED_TRACE(zoom);
        const ViewCentre c{kCentre.position, zoom};
        EXPECT_EQ(pixelOf(c, kView, c.position), QPoint(400, 300));
        for (const QPoint pixel : {QPoint(400, 300), QPoint(3, 597), QPoint(799, 1)}) {
            const QPoint back = pixelOf(c, kView, positionAt(c, kView, pixel));
            EXPECT_LE((back - pixel).manhattanLength(), 2) << back.x() << ',' << back.y();
        }
    }
    bool inside = true;
    positionAt({{85, 0}, 3}, kView, {400, 0}, &inside);
    EXPECT_FALSE(inside); // above the world's top edge
}

TEST(Navigation, PanMovesTheCentreAgainstTheDrag) {
    EXPECT_EQ(panResult(kCentre, {200, 200}, {201, 200}), shifted(kCentre, -1, 0)); // a one-pixel drag
    EXPECT_EQ(panResult(kCentre, {500, 100}, {300, 400}), shifted(kCentre, 200, -300));
    EXPECT_EQ(panResult(kCentre, {7, 7}, {7, 7}), shifted(kCentre, 0, 0)); // the pixel's corner
}

TEST(Navigation, KeySteps) {
    struct Case {
        int key;
        KeyStep step;
    };
    const Case cases[] = {
        {Qt::Key_Left, {{-267, 0}, 0}},
        {Qt::Key_Right, {{267, 0}, 0}},
        {Qt::Key_Up, {{0, -200}, 0}},
        {Qt::Key_Down, {{0, 200}, 0}},
        {Qt::Key_PageUp, {{}, 1}},
        {Qt::Key_PageDown, {{}, -1}},
        {Qt::Key_A, {}},
        {Qt::Key_Alt, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(keyStep(c.key, kView), c.step);
    }
}

TEST(Navigation, ClickZoom) {
    struct Case {
        MouseMode mode;
        Qt::MouseButton button;
        int step;
    };
    const Case cases[] = {
        {MouseMode::Click, Qt::LeftButton, 1},   {MouseMode::Click, Qt::RightButton, -1},
        {MouseMode::Click, Qt::MiddleButton, 0}, {MouseMode::Wheel, Qt::LeftButton, 0},
        {MouseMode::Wheel, Qt::RightButton, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.mode) << ' ' << c.button);
        EXPECT_EQ(clickZoomStep(c.mode, c.button), c.step);
    }
}

// The two state buttons: each press moves to the next state, shown by its picture and hint.
TEST(Navigation, LayerAndWorkModeCycles) {
    struct LayerCase {
        LayerChoice from;
        LayerChoice to;
        ButtonLook look; // of `to`
    };
    const LayerCase layers[] = {
        {{false, true, false}, {true, false, false}, {kImageSatellite, 71}},
        {{true, false, false}, {true, true, false}, {kImageMapAndSatellite, 70}},
        {{true, true, false}, {false, true, false}, {kImageMap, 72}},
        {{false, false, false}, {true, true, false}, {kImageMapAndSatellite, 70}},
        {{true, false, true}, {true, true, true}, {kImageMapAndSatellite, 70}}, // the service stays
    };
    for (const LayerCase& c : layers) {
        SCOPED_TRACE(testing::Message() << c.from.satellite << c.from.map << c.from.secondary);
        EXPECT_EQ(nextLayers(c.from), c.to);
        EXPECT_EQ(layerLook(c.to), c.look);
    }
    struct ModeCase {
        WorkMode from;
        WorkMode to;
        ButtonLook look;
    };
    const ModeCase modes[] = {
        {WorkMode::CacheOnly, WorkMode::InternetOnly, {kImageInternetOnly, 17}},
        {WorkMode::InternetOnly, WorkMode::CacheAndInternet, {kImageCacheAndInternet, 18}},
        {WorkMode::CacheAndInternet, WorkMode::CacheOnly, {kImageCacheOnly, 16}},
    };
    for (const ModeCase& c : modes) {
        SCOPED_TRACE(int(c.from));
        EXPECT_EQ(nextWorkMode(c.from), c.to);
        EXPECT_EQ(workModeLook(c.to), c.look);
    }
}

TEST(SelectionTool, ADragMakesTheSameCornersEitherWayRound) {
    SelectionTool forward;
    forward.press({100, 100});
    forward.move({250, 150});
    EXPECT_TRUE(forward.dragging());
    const auto corners = forward.release(Qt::LeftButton, {300, 200}, kCentre, kView);
    ASSERT_TRUE(corners);
    EXPECT_TRUE(forward.present());
    EXPECT_FALSE(forward.dragging());
    EXPECT_EQ(forward.pixels(), QRect(QPoint(100, 100), QPoint(300, 200)));
    EXPECT_EQ(corners->topLeft, positionAt(kCentre, kView, {100, 100}));
    EXPECT_EQ(corners->bottomRight, positionAt(kCentre, kView, {300, 200}));
    EXPECT_TRUE(corners->enclosesArea());

    SelectionTool backward;
    backward.press({300, 200});
    EXPECT_EQ(backward.release(Qt::LeftButton, {100, 100}, kCentre, kView), corners);
    EXPECT_EQ(backward.pixels(), forward.pixels());

    // The rectangle follows the corners to another centre and level.
    const ViewCentre zoomedIn{shifted(kCentre, 50, 20), 11};
    backward.place(zoomedIn, kView, *corners);
    EXPECT_EQ(backward.pixels().topLeft(), pixelOf(zoomedIn, kView, corners->topLeft));
    EXPECT_EQ(backward.pixels().bottomRight(), pixelOf(zoomedIn, kView, corners->bottomRight));
}

TEST(SelectionTool, ReleasesThatRemoveTheSelection) {
    struct Case {
        const char* label;
        Qt::MouseButton button;
        QPoint release;
    };
    const Case cases[] = {
        {"at the press point", Qt::LeftButton, {100, 100}},
        {"with the right button", Qt::RightButton, {300, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SelectionTool tool;
        tool.press({100, 100});
        EXPECT_EQ(tool.release(c.button, c.release, kCentre, kView), std::nullopt);
        EXPECT_FALSE(tool.shown());
    }

    // A right click with no drag: strictly inside keeps it, on the border removes it.
    SelectionTool tool;
    tool.press({100, 100});
    ASSERT_TRUE(tool.release(Qt::LeftButton, {300, 200}, kCentre, kView));
    tool.rightRelease({101, 101});
    EXPECT_TRUE(tool.present());
    tool.rightRelease({100, 150});
    EXPECT_FALSE(tool.present());
}

TEST(SelectionTool, CornersInTheSettings) {
    Settings s;
    setSelectionCorners(s, {{50, 10}, {40, -5}});
    EXPECT_EQ(std::make_tuple(s.selectionTop, s.selectionLeft, s.selectionBottom, s.selectionRight),
              std::make_tuple(50.0, 10.0, 40.0, -5.0));
    EXPECT_EQ(selectionCornersOf(s), (SelectionCorners{{50, 10}, {40, -5}}));
    EXPECT_FALSE((SelectionCorners{{50, 10}, {50, -5}}).enclosesArea()); // same latitude
    EXPECT_FALSE((SelectionCorners{{50, 10}, {40, 10}}).enclosesArea()); // same longitude
}
