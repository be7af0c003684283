#pragma once
#include "model/project_file.h"
#include "model/texts.h"
#include "util/errors.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace meshforge {

// Typed, located access to numbered lines: every failure names file, line and expectation.
// `Lines` gives Text(i, what) (line i, or a ParseError at the end of the file), Size() and
// Path(); this adds the numbers, colours, flags, counts and error locations on top.
template <class Lines> class TypedLines {
  public:
    float Float(std::size_t i, std::string_view what) const {
        return FloatField(i, Self().Text(i, what), what);
    }
    int32_t Int(std::size_t i, std::string_view what) const {
        return IntField(i, Self().Text(i, what), what);
    }
    // A number that is one field of line `i`.
    float FloatField(std::size_t i, std::string_view field, std::string_view what) const {
        return Parsed(i, field, what, [](std::string_view s) { return ParseFloat(s); });
    }
    int32_t IntField(std::size_t i, std::string_view field, std::string_view what) const {
        return Parsed(i, field, what, [](std::string_view s) { return ParseInt(s); });
    }
    uint32_t Color(std::size_t i, std::string_view what) const {
        return Parsed(i, Self().Text(i, what), what,
                      [](std::string_view s) { return ParseColor(s); });
    }
    bool Bool(std::size_t i, std::string_view what) const {
        return ParseBool(Self().Text(i, what));
    }

    // A count that the remaining lines can hold, at `perElement` lines each.
    int32_t Count(std::size_t i, std::string_view what, std::size_t perElement) const {
        int32_t n = Int(i, what);
        if (n < 0)
            throw ParseError(Where(i) + "the " + std::string(what) + " " + FormatInt(n) +
                             " is negative");
        const std::size_t size = Self().Size();
        std::size_t left = size - std::min(size, i + 1);
        if (static_cast<std::size_t>(n) > left / perElement)
            throw ParseError(Where(i) + "the " + std::string(what) + " " + FormatInt(n) +
                             " is more than the rest of the file can hold");
        return n;
    }

    std::string Where(std::size_t i) const {
        return "Error in file " + Self().Path() + ", line " + std::to_string(i + 1) + ": ";
    }

  private:
    const Lines& Self() const { return static_cast<const Lines&>(*this); }
    template <class F>
    auto Parsed(std::size_t i, std::string_view s, std::string_view what, F parse) const
        -> decltype(parse(std::string_view{})) {
        try {
            return parse(s);
        } catch (const ParseError& e) {
            throw ParseError(Where(i) + e.what() + " (expected " + std::string(what) + ")");
        }
    }
};

// Lines of one file held in memory.
class LocatedLines : public TypedLines<LocatedLines> {
  public:
    LocatedLines(std::string path, std::string_view text)
        : path_(std::move(path)), lines_(SplitLines(text)) {}

    std::size_t Size() const { return lines_.size(); }
    std::string_view operator[](std::size_t i) const { return lines_[i]; }
    const std::string& Path() const { return path_; }

    std::string_view Text(std::size_t i, std::string_view what) const {
        if (i >= lines_.size())
            throw ParseError(Where(i) + "expected " + std::string(what) +
                             ", found the end of the file");
        return lines_[i];
    }

  private:
    std::string path_;
    std::vector<std::string_view> lines_;
};

} // namespace meshforge
