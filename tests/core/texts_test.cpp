#include "model/texts.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "util/errors.h"

using namespace meshforge;

namespace {

template <typename F> std::string ErrorOf(F f) {
    try {
        f();
    } catch (const ParseError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(FormatFixed, PadsAndRoundsAtThreeDecimals) {
    EXPECT_EQ(FormatFixed(12.5), "12.500");
    EXPECT_EQ(FormatFixed(0), "0.000");
    EXPECT_EQ(FormatFixed(-3.25), "-3.250");
    EXPECT_EQ(FormatFixed(0.0005), "0.001");
    EXPECT_EQ(FormatFixed(-0.0005), "-0.001");
    EXPECT_EQ(FormatFixed(0.0625, 3), "0.063"); // exact tie rounds away
    EXPECT_EQ(FormatFixed(-0.0625, 3), "-0.063");
    EXPECT_EQ(FormatFixed(9.9996), "10.000"); // carry into integer part
    EXPECT_EQ(FormatFixed(999.9999), "1000.000");
    EXPECT_EQ(FormatFixed3(2.0005f), "2.000"); // float lies just below the tie
    EXPECT_EQ(FormatFixed3(2.5f), "2.500");
}

TEST(FormatFixed, NoNegativeZero) {
    EXPECT_EQ(FormatFixed(-0.0004), "0.000");
    EXPECT_EQ(FormatFixed(-0.0), "0.000");
    EXPECT_EQ(FormatFixed(-1e-30), "0.000");
}

TEST(FormatFixed, CutsAtSeventhSignificantDigit) {
    EXPECT_EQ(FormatFixed(12345.6789), "12345.680");
    EXPECT_EQ(FormatFixed(1234567.8), "1234568.000");
    EXPECT_EQ(FormatFixed(-1234.5675), "-1234.568");
    EXPECT_EQ(FormatFixed(0.8666667, 5), "0.86667");
    EXPECT_EQ(FormatFixed(0.12345678, 10), "0.1234568000");
    EXPECT_EQ(FormatFixed(7.5, 0), "8");
}

TEST(FormatFixed, ExponentFormBeyondSevenIntegerDigits) {
    EXPECT_EQ(FormatFixed(123456789), "1.234568E8");
    EXPECT_EQ(FormatFixed(-123456789), "-1.234568E8");
    EXPECT_EQ(FormatFixed(12345678), "1.234568E7");
    EXPECT_EQ(FormatFixed(9999999.6), "1E7"); // rounding adds a digit
    EXPECT_EQ(FormatFixed(9999999.4), "9999999.000");
    EXPECT_EQ(FormatFixed(1e20), "1E20");
}

// The integer path gives FormatFixed's text: random floats of every magnitude and the values
// next to each rounding midpoint, at every decimal count it takes.
TEST(AppendFixed, SameTextAsFormatFixed) {
    std::mt19937 rng(11);
    std::vector<float> values = {0.0f,       -0.0f,     0.5f,       -2.0f, 1234.56789f,
                                 0.8666667f, 999999.9f, 99.999996f, 1e-7f, -1e-30f,
                                 1e6f,       3e7f,      1e-45f};
    std::uniform_real_distribution<double> exponent(-8, 7.5);
    for (int i = 0; i < 40000; ++i) {
        const float v = float(std::pow(10.0, exponent(rng))) * ((rng() & 1) ? -1.0f : 1.0f);
        values.push_back(v);
    }
    // Just below, at and above midpoints such as 0.000005 and 12.3455.
    for (double mid : {0.000005, 0.0005, 12.3455, 0.125, 2.5, 1234567.5, 99999.995})
        for (float v = std::nextafter(float(mid), 0.0f), k = 0; k < 3;
             ++k, v = std::nextafter(v, 1e9f))
            values.push_back(v);
    for (float v : values)
        for (int decimals : {0, 1, 3, 5, 7}) {
            std::string out = "x";
            AppendFixed(out, v, decimals);
            ASSERT_EQ(out, "x" + FormatFixed(v, decimals)) << v << " " << decimals;
        }
    std::string ints;
    AppendInt(ints, -12);
    AppendInt(ints, 0);
    AppendInt(ints, 9999);
    EXPECT_EQ(ints, "-1209999");
}

TEST(FormatGeneral, FifteenDigitsTrimmed) {
    EXPECT_EQ(FormatGeneral(0.6f), "0.600000023841858");
    EXPECT_EQ(FormatGeneral(0.1f), "0.100000001490116");
    EXPECT_EQ(FormatGeneral(1.0f), "1");
    EXPECT_EQ(FormatGeneral(0.0f), "0");
    EXPECT_EQ(FormatGeneral(-0.0f), "0");
    EXPECT_EQ(FormatGeneral(-2.5f), "-2.5");
    EXPECT_EQ(FormatGeneral(100.0f), "100");
    EXPECT_EQ(FormatGeneral(0.5f), "0.5");
    EXPECT_EQ(FormatGeneral(0.0000152587890625f), "0.0000152587890625");
    EXPECT_EQ(FormatGeneral(1e15f), "999999986991104");
}

TEST(FormatGeneral, ExponentForms) {
    EXPECT_EQ(FormatGeneral(1.5e-6f), "1.50000005305628E-6");
    EXPECT_EQ(FormatGeneral(-1.5e-6f), "-1.50000005305628E-6");
    EXPECT_EQ(FormatGeneral(0.00001f), "9.99999974737875E-6"); // float is below 1E-5
    EXPECT_EQ(FormatGeneral(1e16f), "1.00000002725642E16");
    EXPECT_EQ(FormatGeneral(1e-10f), "1.00000001335143E-10");
}

TEST(FormatInt, Decimal) {
    EXPECT_EQ(FormatInt(0), "0");
    EXPECT_EQ(FormatInt(-42), "-42");
    EXPECT_EQ(FormatInt(INT32_MIN), "-2147483648");
}

TEST(ParseFloat, AcceptsDecimalForms) {
    EXPECT_FLOAT_EQ(ParseFloat("12.5"), 12.5f);
    EXPECT_FLOAT_EQ(ParseFloat("  -3.25 "), -3.25f);
    EXPECT_FLOAT_EQ(ParseFloat("+7"), 7.0f);
    EXPECT_FLOAT_EQ(ParseFloat(".5"), 0.5f);
    EXPECT_FLOAT_EQ(ParseFloat("5."), 5.0f);
    EXPECT_FLOAT_EQ(ParseFloat("1.5E-6"), 1.5e-6f);
    EXPECT_FLOAT_EQ(ParseFloat("2e+3"), 2000.0f);
    EXPECT_FLOAT_EQ(ParseFloat("1.234568E8"), 1.234568e8f);
    EXPECT_EQ(ParseFloat(FormatGeneral(0.6f)), 0.6f);
    EXPECT_EQ(ParseFloat(FormatGeneral(1.5e-6f)), 1.5e-6f);
}

TEST(ParseFloat, RejectsOtherTexts) {
    EXPECT_EQ(ErrorOf([] { ParseFloat("1,5"); }), "'1,5' is not a valid floating point value");
    EXPECT_EQ(ErrorOf([] { ParseFloat(""); }), "'' is not a valid floating point value");
    for (const char* bad : {"   ", ".", "-", "+-1", "1e", "1e+", "e5", "1.2.3", "0x10", "inf",
                            "nan", "1 2", "1e39", "-1e39", "1e400", "3.4028236e38",
                            "340282356779733661637539395458142568448", "1e999999999999"})
        EXPECT_THROW(ParseFloat(bad), ParseError) << bad;
    // A faulty text of any length is quoted in at most 60 characters.
    const std::string huge = std::string(1'000'000, '7') + "x";
    const std::string quoted = "'" + std::string(60, '7') + "\u2026' is not a valid ";
    for (const auto& [message, kind] :
         {std::pair{ErrorOf([&] { ParseFloat(huge); }), "floating point value"},
          std::pair{ErrorOf([&] { ParseInt(huge); }), "integer value"},
          std::pair{ErrorOf([&] { ParseColor(huge); }), "colour value"}}) {
        ASSERT_LT(message.size(), 120u) << kind;
        EXPECT_EQ(message, quoted + kind);
    }
}

TEST(ParseFloat, RoundsAtTheEndsOfTheFloatRange) {
    const float denormMin = std::numeric_limits<float>::denorm_min();
    const struct {
        const char* text;
        float expected;
    } cases[] = {
        {"3.40282346638529E38", FLT_MAX}, // what FormatGeneral writes for it
        {"3.4028235e38", FLT_MAX},
        {"-3.4028235e38", -FLT_MAX},
        {"340282356779733661637539395458142568447", FLT_MAX}, // just below the midpoint to 2^128
        {"1.17549435082229E-38", FLT_MIN},
        {"1e-50", 0.0f},
        {"-1e-50", -0.0f},
        {"1e-400", 0.0f},
        {"-1e-400", -0.0f},
        {"-0.0000000000000000000000000000000000000000000000000001", -0.0f},
        {"1.40129846432482E-45", denormMin},
        {"7.1e-46", denormMin},
        {"-7.1e-46", -denormMin},
        {"7e-46", 0.0f},
        // Beside a midpoint between two floats, nearer than half a double step: the double
        // lies on the midpoint, and rounding it again would go the other way.
        {"8.500001430511474", std::nextafter(8.5f, 9.0f)}, // within the exact fast path
        {"1.0000000596046448", std::nextafter(1.0f, 2.0f)},
        {"1.0000001788139343", std::nextafter(1.0f, 2.0f)},
    };
    for (const auto& c : cases) {
        float got = 0;
        ASSERT_NO_THROW(got = ParseFloat(c.text)) << c.text;
        EXPECT_EQ(std::bit_cast<uint32_t>(got), std::bit_cast<uint32_t>(c.expected)) << c.text;
    }
}

TEST(Excerpt, CutsLongTextsBeforeAUtf8Sequence) {
    EXPECT_EQ(Excerpt("short"), "short");
    EXPECT_EQ(Excerpt(std::string(60, 'a')), std::string(60, 'a'));
    EXPECT_EQ(Excerpt(std::string(61, 'a')), std::string(60, 'a') + "\u2026");
    // "\u00e9" is two bytes: one that would be cut in two is left out whole.
    EXPECT_EQ(Excerpt(std::string(59, 'a') + "\u00e9b"), std::string(59, 'a') + "\u2026");
    EXPECT_EQ(Excerpt(std::string(58, 'a') + "\u00e9bc"), std::string(58, 'a') + "\u00e9\u2026");
    EXPECT_EQ(Excerpt("abcdef", 4, "..."), "abcd...");
}

// A name cut to eight characters keeps whole characters: "\u00e4" would fall across byte 8.
TEST(FirstCharacters, CountsCharactersNotBytes) {
    EXPECT_EQ(FirstCharacters("Rennstr\u00e4cke", 8), "Rennstr\u00e4");
    EXPECT_EQ(FirstCharacters("\u65e5\u672c", 1), "\u65e5");
    EXPECT_EQ(FirstCharacters("fence", 8), "fence");
    EXPECT_EQ(FirstCharacters("abc", 0), "");
}

// The general conversion, kept here as the reference for the fast path: the grammar, then
// the C library's correctly rounded decimal to float conversion ("C" locale); a value that
// rounds to infinity is refused.
std::optional<float> ReferenceParseFloat(std::string_view text) {
    static const std::regex grammar(R"([ \t]*([+-]?)((\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)[ \t]*)");
    std::match_results<std::string_view::const_iterator> m;
    if (!std::regex_match(text.begin(), text.end(), m, grammar))
        return std::nullopt;
    const std::string number = (m[1] == "-" ? "-" : "") + m[2].str();
    const float f = std::strtof(number.c_str(), nullptr);
    if (std::isinf(f))
        return std::nullopt;
    return f;
}

TEST(ParseFloat, GivesTheCorrectlyRoundedValueOfTheGeneralConversion) {
    std::mt19937 g(42);
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(g); };
    auto digits = [&](int n) {
        std::string d;
        for (int k = 0; k < n; ++k)
            d += static_cast<char>('0' + below(10));
        return d;
    };
    // Around the limits of the fast path: 2^53, 10^22, 19 and 20 digits, leading and
    // trailing zeros, -0, and values that round differently as float than as double.
    std::vector<std::string> texts = {"9007199254740992",
                                      "9007199254740993",
                                      "9007199254740991e-22",
                                      "9007199254740993e22",
                                      "1e22",
                                      "1e23",
                                      "1e-22",
                                      "1e-23",
                                      "-0",
                                      "-0.000",
                                      "0e999999999",
                                      "000000000000000000000001.5",
                                      "1.00000000000000000000000000",
                                      "0.1",
                                      "3.4028235e38",
                                      "3.4028236e38",
                                      "1.0000000596046448",
                                      "1.00000005960464477539062500001",
                                      "16777217",
                                      "-16777217.0",
                                      "1e-46",
                                      "7.006492321624085e-46"};
    for (int n = 0; n < 200000; ++n) {
        std::string t;
        if (below(4) == 0)
            t += below(2) ? "-" : "+";
        t += digits(below(22));
        if (below(3) != 0)
            t += "." + digits(below(22));
        if (below(3) == 0)
            t += std::string(below(2) ? "e" : "E") +
                 (below(2)   ? "-"
                  : below(2) ? "+"
                             : "") +
                 std::to_string(below(60));
        if (below(20) == 0)
            t.insert(static_cast<std::size_t>(below(static_cast<int>(t.size()) + 1)), 1,
                     " .e-x"[below(5)]);
        texts.push_back(below(10) == 0 ? " " + t + "\t" : t);
    }
    // Decimals a few double steps from the midpoint between two floats, where a conversion
    // off by one step in the double shows in the float.
    std::uniform_real_distribution<double> exponent(-8, 30);
    for (int n = 0; n < 200000; ++n) {
        const auto f = static_cast<float>(std::pow(10.0, exponent(g)));
        const double mid = (double(f) + double(std::nextafter(f, FLT_MAX))) / 2;
        char buf[64];
        std::snprintf(buf, sizeof buf, below(2) ? "%.15e" : "%.16g", mid);
        texts.push_back(buf);
    }
    // The decimals that a double rounds onto a float midpoint, where rounding the double
    // again to a float goes the wrong way: the fast path must not meet them unprepared.
    int doubleRounded = 0;
    for (const std::string& t : texts)
        doubleRounded +=
            static_cast<float>(std::strtod(t.c_str(), nullptr)) != std::strtof(t.c_str(), nullptr);
    EXPECT_GT(doubleRounded, 10000);
    for (const std::string& t : texts) {
        const std::optional<float> expected = ReferenceParseFloat(t);
        if (!expected) {
            EXPECT_THROW(ParseFloat(t), ParseError) << t;
            continue;
        }
        float got = 0;
        ASSERT_NO_THROW(got = ParseFloat(t)) << t;
        ASSERT_EQ(std::bit_cast<uint32_t>(got), std::bit_cast<uint32_t>(*expected)) << t;
    }
}

TEST(ParseInt, AcceptsAndRejects) {
    EXPECT_EQ(ParseInt("42"), 42);
    EXPECT_EQ(ParseInt(" -17 "), -17);
    EXPECT_EQ(ParseInt("+5"), 5);
    EXPECT_EQ(ParseInt("2147483647"), INT32_MAX);
    EXPECT_EQ(ParseInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(ErrorOf([] { ParseInt("1.0"); }), "'1.0' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { ParseInt("2147483648"); }), "'2147483648' is not a valid integer value");
    for (const char* bad : {"", " ", "-", "+-3", "1e3", "12a", "0x1F", "-2147483649"})
        EXPECT_THROW(ParseInt(bad), ParseError) << bad;
}

TEST(Booleans, OnlyOneIsTrue) {
    EXPECT_TRUE(ParseBool("1"));
    EXPECT_FALSE(ParseBool("0"));
    EXPECT_FALSE(ParseBool(" 1"));
    EXPECT_FALSE(ParseBool("true"));
    EXPECT_FALSE(ParseBool("-1"));
    EXPECT_EQ(FormatBool(true), "1");
    EXPECT_EQ(FormatBool(false), "0");
}

TEST(Colors, NamesAnyCase) {
    EXPECT_EQ(ParseColor("clwhite"), 0xFFFFFFu);
    EXPECT_EQ(ParseColor("CLRED"), 0x0000FFu);
    EXPECT_EQ(ParseColor("clNavy"), 0x800000u);
    EXPECT_EQ(ParseColor("clOlive"), 0x008080u);
    EXPECT_EQ(ParseColor("clBtnFace"), 0xC0C0C0u);
    EXPECT_EQ(ParseColor("clbackground"), 0x808000u);
    EXPECT_EQ(ParseColor("clInfoBk"), 0xE1FFFFu);
    EXPECT_EQ(ParseColor("clNone"), 0x1FFFFFFFu);
}

TEST(Colors, HexForms) {
    EXPECT_EQ(ParseColor("$00FF8040"), 0x00FF8040u);
    EXPECT_EQ(ParseColor("$ff"), 0xFFu);
    EXPECT_EQ(ParseColor("$FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ErrorOf([] { ParseColor("white"); }), "'white' is not a valid colour value");
    for (const char* bad : {"", "$", "$123456789", "$12G", "$-1", "123", "clWhite "})
        EXPECT_THROW(ParseColor(bad), ParseError) << bad;
}

TEST(Colors, FormatUsesStandardNamesOnly) {
    EXPECT_EQ(FormatColor(0xFFFFFF), "clWhite");
    EXPECT_EQ(FormatColor(0x000000), "clBlack");
    EXPECT_EQ(FormatColor(0xFF00FF), "clFuchsia");
    EXPECT_EQ(FormatColor(0xE1FFFF), "$00E1FFFF"); // system colour value: hex
    EXPECT_EQ(FormatColor(0x1FFFFFFF), "$1FFFFFFF");
    EXPECT_EQ(FormatColor(0xabcdef), "$00ABCDEF");
    for (uint32_t c : {0x000080u, 0x808000u, 0xC0C0C0u, 0x123456u, 0xFFFFFFFEu})
        EXPECT_EQ(ParseColor(FormatColor(c)), c);
}

TEST(Colors, ToRgbRedInLowByte) {
    Rgb c = ColorToRgb(0x00FF8000);
    EXPECT_FLOAT_EQ(c.r, 0.0f);
    EXPECT_FLOAT_EQ(c.g, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(c.b, 1.0f);
    EXPECT_FLOAT_EQ(ColorToRgb(0x0000FF).r, 1.0f);
}
