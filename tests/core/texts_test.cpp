#include "model/texts.h"

#include <gtest/gtest.h>

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
                            "nan", "1 2", "1e39", "-1e39", "1e400"})
        EXPECT_THROW(ParseFloat(bad), ParseError) << bad;
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
