#include "tools/coordinate_text.h"

#include <gtest/gtest.h>

using namespace zelvano;

TEST(CoordinateText, PointerReadOut) {
    struct Case {
        double value;
        bool latitude;
        const char* text;
    };
    const Case cases[] = {
        {-33.5, true, "S33° 30,000'"},     {55.5, true, "N55° 30,000'"},     {0, true, "N0° 0,000'"},
        {-151.25, false, "E151° 15,000'"}, {37.6175, false, "W37° 37,050'"}, {0, false, "W0° 0,000'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.latitude ? latitudeText(c.value) : longitudeText(c.value), QString::fromUtf8(c.text));
    }
}
