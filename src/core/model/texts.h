#pragma once
// Texts of numbers, booleans and colours as they appear in project files.
// All conversions are locale-independent ("." is always the separator).
#include "util/text_sink.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace meshforge {

// Fixed notation: the value is rounded once, half away from zero, at the
// earlier of its 7th significant digit and the requested decimal, then padded
// with zeros to exactly `decimals` decimals (12.5 -> "12.500",
// 12345.6789 -> "12345.680"). A value that rounds to zero is printed without
// a sign. When the rounded integer part has more than 7 digits the value is
// printed as a mantissa of at most 7 significant digits (trailing zeros and
// "." dropped), "E" and the exponent (123456789 -> "1.234568E8").
// Infinities and NaN give "INF", "-INF" and "NAN".
std::string FormatFixed(double value, int decimals = 3);
std::string FormatFixed3(float value);
// FormatFixed(value, decimals) appended to `out`: the same text, computed in integers for the
// floats that large outputs are made of (magnitudes below 10^6, up to 7 decimals). WriteFixed
// writes it at `at` (at most kMaxFixedChars characters, for decimals up to 7) and returns the
// end.
inline constexpr int kMaxFixedChars = 48;
char* WriteFixed(char* at, float value, int decimals);
void AppendFixed(std::string& out, float value, int decimals);
void AppendFixed(TextSink& out, float value, int decimals);
// The decimal text of an integer appended to `out`.
void AppendInt(std::string& out, long long value);
void AppendInt(TextSink& out, long long value);

// A value in a column of `width` characters, appended to `out`: blanks after a left-aligned
// value, before a right-aligned one. A longer value is written whole and the row grows, so a
// list or a report never shows a shortened number.
enum class Align { Left, Right };
void AppendField(std::string& out, std::string_view value, std::size_t width, Align align);

// General notation: the float widened to double with at most 15 significant
// digits, trailing zeros and a trailing "." dropped (1.0f -> "1",
// 0.6f -> "0.600000023841858"). Magnitudes below 0.00001 (other than 0) and
// integer parts of more than 15 digits use "<mantissa>E<exponent>", the
// exponent with "-" only when negative (1.5e-6f -> "1.50000005305628E-6").
std::string FormatGeneral(float value);

std::string FormatInt(int32_t value);

// Optional blanks around, optional sign, digits with optional "." and optional
// exponent, rounded once to the nearest float (ties to even). A magnitude too
// small for a float reads as the nearest one, zero with the sign kept. Throws
// ParseError for anything else and for a value that rounds past the largest
// float.
float ParseFloat(std::string_view text);

// Optional blanks around, optional sign, decimal digits within int32 range.
int32_t ParseInt(std::string_view text);

// The text, or its first `limit` bytes (a UTF-8 sequence is not cut) and then
// `more`: a faulty line quoted in a message may be megabytes long.
inline constexpr std::size_t kExcerptLimit = 60;
std::string Excerpt(std::string_view text, std::size_t limit = kExcerptLimit,
                    std::string_view more = "\xE2\x80\xA6");

// The first `count` characters of UTF-8 text (all of it when shorter), never part of one.
std::string FirstCharacters(std::string_view text, std::size_t count);

// True exactly when the text is "1".
bool ParseBool(std::string_view text);
std::string FormatBool(bool value);

// Colours are 0x00BBGGRR values (red in the low byte).
inline constexpr uint32_t kColorNone = 0x1FFFFFFF;

// A colour name (any case) or "$" followed by 1 to 8 hexadecimal digits.
uint32_t ParseColor(std::string_view text);
// The standard colour name when the value is one of the sixteen standard
// colours, otherwise "$" and eight upper-case hexadecimal digits.
std::string FormatColor(uint32_t colour);

struct Rgb {
    float r, g, b;
};
// Each channel as byte / 255.
Rgb ColorToRgb(uint32_t colour);

} // namespace meshforge
