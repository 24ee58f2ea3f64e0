#include "base/number_text.h"

#include <gtest/gtest.h>

#include <limits>

using namespace zelvano;

TEST(NumberText, GeneralFormat) {
    struct Case {
        double value;
        int precision;
        char16_t separator;
        const char* text;
    };
    const Case cases[] = {
        {37.5, 15, u',', "37,5"},
        {37, 15, u',', "37"},
        {0, 15, u',', "0"},
        {-0.5, 15, u',', "-0,5"},
        {0.1 + 0.2, 15, u',', "0,3"},
        {151.2153, 15, u',', "151,2153"},
        {-33.856812345678901, 15, u',', "-33,8568123456789"},
        {123456789012345, 15, u',', "123456789012345"},
        {1e15, 15, u',', "1E15"},
        {1.25e20, 15, u',', "1,25E20"},
        {0.00001, 15, u',', "0,00001"},
        {0.0000015, 15, u',', "1,5E-6"},
        {37.5, 10, u'.', "37.5"},
        {-33.856812345678, 10, u'.', "-33.85681235"},
        {99999999995, 10, u'.', "1E11"},
        {0.99999999999, 10, u'.', "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatGeneral(c.value, c.precision, QChar(c.separator)), QString::fromLatin1(c.text));
    }
}

TEST(NumberText, FixedFormat) {
    struct Case {
        double value;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {0, 3, "0,000"},
        {151.25, 6, "151,250000"},
        {-33.5, 3, "-33,500"},
        {9.9996, 3, "10,000"},
        {1234.5678, 3, "1234,568"},
        {0.0005, 3, "0,001"},
        {-0.0001, 3, "0,000"},
        {0.0456, 3, "0,046"},
        {2.5, 0, "3"},
        {-151.2153, 6, "-151,215300"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatFixed(c.value, c.decimals), QString::fromLatin1(c.text));
    }
    EXPECT_EQ(formatFixed(37.5, 2, u'.'), QStringLiteral("37.50"));
}

TEST(NumberText, ParseDecimal) {
    struct Case {
        const char* text;
        char16_t separator;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"37,5", u',', 37.5},          {"37.5", u',', std::nullopt}, {"37", u',', 37.0},
        {" -1,5E3 ", u',', -1500.0},   {"+2,", u',', 2.0},           {",5", u',', 0.5},
        {"", u',', std::nullopt},      {",", u',', std::nullopt},    {"x", u',', std::nullopt},
        {"1,2,3", u',', std::nullopt}, {"1E", u',', std::nullopt},   {"inf", u',', std::nullopt},
        {"37.5", u'.', 37.5},          {"37,5", u'.', std::nullopt}, {"-1e-3", u'.', -0.001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseDecimal(QString::fromLatin1(c.text), QChar(c.separator)), c.value);
    }
}

TEST(NumberText, ParseInt32) {
    struct Case {
        const char* text;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"12", 12},
        {"  -3", -3},
        {"+7", 7},
        {"x", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1 ", std::nullopt},
        {"1.5", std::nullopt},
        {"2147483647", 2147483647},
        {"2147483648", std::nullopt},
        {"-2147483648", std::numeric_limits<int>::min()},
        {"99999999999999999999", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseInt32(QString::fromLatin1(c.text)), c.value);
    }
}

// What is written reads back to the same number.
TEST(NumberText, CommaFormRoundTrips) {
    for (double v : {0.0, 37.5, -151.21530000001, 85.05113, 1e-7, 12345678.125, -0.000123}) {
        SCOPED_TRACE(v);
        const auto back = parseDecimal(formatGeneral(v, 15, u','), u',');
        ASSERT_TRUE(back);
        EXPECT_NEAR(*back, v, std::abs(v) * 1e-14);
    }
}
