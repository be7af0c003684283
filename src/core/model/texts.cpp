#include "model/texts.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <system_error>

#include "util/errors.h"

namespace meshforge {

namespace {

constexpr int kFixedSignificant = 7;
constexpr int kGeneralSignificant = 15;

std::string NonFinite(double value) {
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// Mantissa "d.ddd" from a digit string (trailing zeros dropped) + "E" + exp.
std::string ExponentForm(bool negative, std::string digits, int exponent) {
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out = negative ? "-" : "";
    out += digits[0];
    if (digits.size() > 1) {
        out += '.';
        out.append(digits, 1, std::string::npos);
    }
    out += 'E';
    char buf[16];
    auto res = std::to_chars(buf, buf + sizeof buf, exponent);
    out.append(buf, res.ptr);
    return out;
}

std::string_view Trim(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

struct NamedColor {
    std::string_view name;
    uint32_t value;
};

constexpr std::array<NamedColor, 16> kStandardColors{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
}};

// System colours with the classic default desktop palette.
constexpr std::array<NamedColor, 24> kSystemColors{{
    {"clScrollBar", 0xC0C0C0},     {"clBackground", 0x808000},
    {"clActiveCaption", 0x800000}, {"clInactiveCaption", 0x808080},
    {"clMenu", 0xC0C0C0},          {"clWindow", 0xFFFFFF},
    {"clWindowFrame", 0x000000},   {"clMenuText", 0x000000},
    {"clWindowText", 0x000000},    {"clCaptionText", 0xFFFFFF},
    {"clActiveBorder", 0xC0C0C0},  {"clInactiveBorder", 0xC0C0C0},
    {"clAppWorkSpace", 0x808080},  {"clHighlight", 0x800000},
    {"clHighlightText", 0xFFFFFF}, {"clBtnFace", 0xC0C0C0},
    {"clBtnShadow", 0x808080},     {"clGrayText", 0x808080},
    {"clBtnText", 0x000000},       {"clInactiveCaptionText", 0xC0C0C0},
    {"clBtnHighlight", 0xFFFFFF},  {"clInfoText", 0x000000},
    {"clInfoBk", 0xE1FFFF},        {"clNone", kColorNone},
}};

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

} // namespace

std::string FormatFixed(double value, int decimals) {
    if (!std::isfinite(value))
        return NonFinite(value);
    if (decimals < 0)
        decimals = 0;
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);

    // Near-exact decimal expansion; the extra places keep the rounding
    // decision below on the value's own digits.
    std::string buf(400 + decimals + 30, '\0');
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                             std::chars_format::fixed, decimals + 30);
    buf.resize(res.ptr - buf.data());
    const size_t point = buf.find('.');
    std::string digits = "0" + buf.substr(0, point) + buf.substr(point + 1);
    int intLen = static_cast<int>(point) + 1; // digits before the point

    const size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        return "0" + (decimals > 0 ? "." + std::string(decimals, '0') : "");
    }
    const int keep =
        std::min(static_cast<int>(firstNonZero) + kFixedSignificant - 1, intLen + decimals - 1);
    // keep >= 0 always, since digits[0] is the added leading zero.
    const bool roundUp = keep + 1 < static_cast<int>(digits.size()) && digits[keep + 1] >= '5';
    for (size_t i = keep + 1; i < digits.size(); ++i)
        digits[i] = '0';
    if (roundUp) {
        int i = keep;
        while (digits[i] == '9')
            digits[i--] = '0';
        ++digits[i]; // cannot run past the added leading zero
    }

    const size_t lead = digits.find_first_not_of('0');
    if (lead == std::string::npos || static_cast<int>(lead) >= intLen + decimals) {
        return "0" + (decimals > 0 ? "." + std::string(decimals, '0') : "");
    }
    if (intLen - static_cast<int>(lead) > kFixedSignificant) {
        const int exponent = intLen - static_cast<int>(lead) - 1;
        return ExponentForm(negative, digits.substr(lead, kFixedSignificant), exponent);
    }

    std::string out = negative ? "-" : "";
    const size_t intStart = std::min<size_t>(lead, intLen - 1);
    out.append(digits, intStart, intLen - intStart);
    if (decimals > 0) {
        out += '.';
        out.append(digits, intLen, decimals);
    }
    return out;
}

char* WriteFixed(char* at, float value, int decimals) {
    const float magnitude = std::fabs(value);
    if (!std::isfinite(value) || magnitude >= 1e6f || decimals < 0 || decimals > 7) {
        const std::string text = FormatFixed(value, decimals);
        return std::copy(text.begin(), text.end(), at);
    }
    static constexpr uint64_t kPow10[] = {1,      10,      100,      1000,      10000,
                                          100000, 1000000, 10000000, 100000000, 1000000000};
    // The places kept: `decimals`, or fewer where the 7th significant digit comes first. The
    // number of integer digits is found against exact powers of ten.
    const int intDigits = magnitude < 1.0f        ? 0
                          : magnitude < 10.0f     ? 1
                          : magnitude < 100.0f    ? 2
                          : magnitude < 1000.0f   ? 3
                          : magnitude < 10000.0f  ? 4
                          : magnitude < 100000.0f ? 5
                                                  : 6;
    const int places = std::min(decimals, kFixedSignificant - intDigits);
    // magnitude = m * 2^exponent exactly, m below 2^24; m * 10^places stays below 2^48.
    const uint32_t bits = std::bit_cast<uint32_t>(magnitude);
    const int biased = static_cast<int>(bits >> 23);
    const uint64_t m = (bits & 0x7FFFFFu) | (biased ? 0x800000u : 0u);
    const int exponent = (biased ? biased : 1) - 150;
    const uint64_t n = m * kPow10[places];
    uint64_t q = 0;
    if (exponent >= 0) {
        q = n << exponent; // below 10^6 * 10^places: no overflow
    } else if (exponent > -64) {
        const int shift = -exponent;
        q = n >> shift;
        const uint64_t rest = n & ((uint64_t(1) << shift) - 1);
        if (rest >= (uint64_t(1) << (shift - 1)))
            ++q; // half away from zero, on the exact value
    }
    if (q == 0) { // a value that rounds to zero has no sign
        *at++ = '0';
        if (decimals > 0) {
            *at++ = '.';
            at = std::fill_n(at, decimals, '0');
        }
        return at;
    }
    if (value < 0)
        *at++ = '-';
    // Integer part straight into place, then the kept places zero-padded from the right.
    at = std::to_chars(at, at + 24, q / kPow10[places]).ptr;
    if (decimals > 0)
        *at++ = '.';
    uint64_t fraction = q % kPow10[places];
    for (int i = places - 1; i >= 0; --i) {
        at[i] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    at += places;
    return std::fill_n(at, decimals - places, '0');
}

void AppendFixed(std::string& out, float value, int decimals) {
    char buf[kMaxFixedChars];
    out.append(buf, WriteFixed(buf, value, decimals));
}

void AppendFixed(TextSink& out, float value, int decimals) {
    char buf[kMaxFixedChars];
    out.append(buf, WriteFixed(buf, value, decimals));
}

void AppendInt(TextSink& out, long long value) {
    char buf[24];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
}

void AppendField(std::string& out, std::string_view value, std::size_t width, Align align) {
    const std::size_t pad = value.size() < width ? width - value.size() : 0;
    if (align == Align::Right)
        out.append(pad, ' ');
    out += value;
    if (align == Align::Left)
        out.append(pad, ' ');
}

void AppendInt(std::string& out, long long value) {
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, static_cast<std::size_t>(res.ptr - buf));
}

std::string FormatFixed3(float value) {
    return FormatFixed(value, 3);
}

std::string FormatGeneral(float value) {
    const double v = value;
    if (!std::isfinite(v))
        return NonFinite(v);
    if (v == 0)
        return "0";
    const bool negative = v < 0;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific,
                             kGeneralSignificant - 1);
    std::string_view sci(buf, res.ptr - buf);
    const size_t e = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, e))
        if (c != '.')
            digits += c;
    int exponent = 0;
    std::string_view expText = sci.substr(e + 1);
    if (!expText.empty() && expText.front() == '+')
        expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);

    if (exponent < -5 || exponent >= kGeneralSignificant)
        return ExponentForm(negative, digits, exponent);

    std::string intPart, fracPart;
    if (exponent >= 0) {
        intPart = digits.substr(0, exponent + 1);
        fracPart = digits.substr(exponent + 1);
    } else {
        intPart = "0";
        fracPart = std::string(-exponent - 1, '0') + digits;
    }
    while (!fracPart.empty() && fracPart.back() == '0')
        fracPart.pop_back();
    std::string out = negative ? "-" : "";
    out += intPart;
    if (!fracPart.empty())
        out += "." + fracPart;
    return out;
}

std::string FormatInt(int32_t value) {
    char buf[16];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

namespace {
// The powers of ten that a double holds exactly.
constexpr std::array<double, 23> kExactPowersOfTen{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr uint64_t kExactMantissaLimit = uint64_t{1} << 53;

// The bits a double holds beyond a normal float's 24, and their pattern on a midpoint
// between two floats.
constexpr uint64_t kBeyondFloatBits = (uint64_t{1} << 29) - 1;
constexpr uint64_t kFloatMidpoint = uint64_t{1} << 28;

// The decimal exponent of the first non-zero digit of a number text (digits, optional "."
// and exponent) whose digits are not all zero.
int64_t LeadingExponent(std::string_view number) {
    const std::size_t e = number.find_first_of("eE");
    int64_t exponent = 0;
    if (e != std::string_view::npos) {
        std::size_t i = e + 1;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '-' || number[i] == '+'))
            ++i;
        for (; i < number.size(); ++i)
            exponent = std::min<int64_t>(exponent * 10 + (number[i] - '0'), int64_t{1} << 40);
        if (negative)
            exponent = -exponent;
        number = number.substr(0, e);
    }
    const std::size_t point = std::min(number.find('.'), number.size());
    const std::size_t first = number.find_first_of("123456789");
    const auto lead = first < point ? static_cast<int64_t>(point - first) - 1
                                    : static_cast<int64_t>(point) - static_cast<int64_t>(first);
    return lead + exponent;
}
} // namespace

std::string Excerpt(std::string_view text, std::size_t limit, std::string_view more) {
    if (text.size() <= limit)
        return std::string(text);
    std::size_t cut = limit;
    // Continuation bytes of UTF-8 are 10xxxxxx; the cut goes before their lead byte.
    for (int k = 0; k < 3 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++k)
        --cut;
    std::string out(text.substr(0, cut));
    out += more;
    return out;
}

std::string FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t seen = 0; end < text.size(); ++end) {
        const bool lead = (static_cast<unsigned char>(text[end]) & 0xC0) != 0x80;
        if (lead && seen++ == count)
            break;
    }
    return std::string(text.substr(0, end));
}

float ParseFloat(std::string_view text) {
    auto fail = [&]() -> float {
        throw ParseError("'" + Excerpt(text) + "' is not a valid floating point value");
    };
    std::string_view s = Trim(text);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const size_t body = i;
    // The digits as an integer while it stays small enough to be exact, and the decimal
    // exponent of its last digit: most coordinates then need one exact division.
    uint64_t mantissa = 0;
    bool small = true;
    int64_t scale = 0;
    auto take = [&](char c) {
        if (mantissa >= (uint64_t{1} << 59))
            small = false;
        else
            mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
    };
    bool anyDigit = false;
    while (i < s.size() && IsDigit(s[i])) {
        take(s[i]);
        ++i;
        anyDigit = true;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            take(s[i]);
            --scale;
            ++i;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return fail();
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            expNegative = s[i] == '-';
            ++i;
        }
        bool expDigit = false;
        int64_t exponent = 0;
        while (i < s.size() && IsDigit(s[i])) {
            exponent = std::min<int64_t>(exponent * 10 + (s[i] - '0'), 1'000'000);
            ++i;
            expDigit = true;
        }
        if (!expDigit)
            return fail();
        scale += expNegative ? -exponent : exponent;
    }
    if (i != s.size())
        return fail();

    if (small && mantissa <= kExactMantissaLimit && scale >= -22 && scale <= 22) {
        // Both operands are exact, so the one rounding of the product or quotient gives the
        // correctly rounded double, which lies between 1e-22 and 2^53 * 1e22, inside the
        // range of normal floats. Rounding it once more to a float gives the decimal's own
        // rounding unless the double fell on a midpoint between two floats: the decimal may
        // lie just beside it, and only the general conversion sees on which side.
        const auto m = static_cast<double>(mantissa);
        const double d = scale < 0 ? m / kExactPowersOfTen[static_cast<std::size_t>(-scale)]
                                   : m * kExactPowersOfTen[static_cast<std::size_t>(scale)];
        if ((std::bit_cast<uint64_t>(d) & kBeyondFloatBits) != kFloatMidpoint) {
            const auto f = static_cast<float>(d);
            return negative ? -f : f;
        }
    }
    std::string number = negative ? "-" : "";
    number.append(s.substr(body));
    float f = 0;
    auto res = std::from_chars(number.data(), number.data() + number.size(), f,
                               std::chars_format::general);
    if (res.ptr != number.data() + number.size())
        return fail();
    if (res.ec == std::errc::result_out_of_range) {
        // Out of range is past the largest float or below half the smallest one.
        if (LeadingExponent(s.substr(body)) > 0)
            return fail();
        return negative ? -0.0f : 0.0f;
    }
    if (res.ec != std::errc())
        return fail();
    return f;
}

int32_t ParseInt(std::string_view text) {
    auto fail = [&]() -> int32_t {
        throw ParseError("'" + Excerpt(text) + "' is not a valid integer value");
    };
    std::string_view s = Trim(text);
    std::string number;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        if (s.front() == '-')
            number += '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return fail();
    for (char c : s)
        if (!IsDigit(c))
            return fail();
    number.append(s);
    int32_t value = 0;
    auto res = std::from_chars(number.data(), number.data() + number.size(), value);
    if (res.ec != std::errc() || res.ptr != number.data() + number.size())
        return fail();
    return value;
}

bool ParseBool(std::string_view text) {
    return text == "1";
}

std::string FormatBool(bool value) {
    return value ? "1" : "0";
}

uint32_t ParseColor(std::string_view text) {
    for (const auto& c : kStandardColors)
        if (EqualNoCase(c.name, text))
            return c.value;
    for (const auto& c : kSystemColors)
        if (EqualNoCase(c.name, text))
            return c.value;
    if (text.size() >= 2 && text.size() <= 9 && text.front() == '$') {
        uint32_t value = 0;
        const char* first = text.data() + 1;
        const char* last = text.data() + text.size();
        auto res = std::from_chars(first, last, value, 16);
        if (res.ec == std::errc() && res.ptr == last)
            return value;
    }
    throw ParseError("'" + Excerpt(text) + "' is not a valid colour value");
}

std::string FormatColor(uint32_t colour) {
    for (const auto& c : kStandardColors)
        if (c.value == colour)
            return std::string(c.name);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "$";
    for (int shift = 28; shift >= 0; shift -= 4)
        out += kHex[(colour >> shift) & 0xF];
    return out;
}

Rgb ColorToRgb(uint32_t colour) {
    return Rgb{static_cast<float>(colour & 0xFF) / 255.0f,
               static_cast<float>((colour >> 8) & 0xFF) / 255.0f,
               static_cast<float>((colour >> 16) & 0xFF) / 255.0f};
}

} // namespace meshforge
