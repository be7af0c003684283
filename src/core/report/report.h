#pragma once
// The project report: the listing "Display All Project Contents" shows and the slightly
// different one "&Print Project Data" prints, built fresh from the Project each time. A value
// longer than its column is written whole and its row grows, so the report never misstates
// the Project.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace meshforge {

struct Project;

// The lines of a listing, held as one text (each line followed by "\n") so that a window can
// take it in one piece; a line of a single blank is an empty line.
class Listing {
  public:
    std::size_t LineCount() const { return ends_.size(); }
    std::string_view Line(std::size_t i) const;
    const std::string& Text() const { return text_; }
    std::vector<std::string> Lines() const;

    // Building: append to Out(), then End() the line.
    std::string& Out() { return text_; }
    void End();
    void Reserve(std::size_t bytes, std::size_t lines) {
        text_.reserve(bytes);
        ends_.reserve(lines);
    }

  private:
    std::string text_;
    std::vector<std::size_t> ends_; // where each line's "\n" is
};

enum class ListingKind { Contents, Print };

Listing ProjectListing(const Project& project, ListingKind kind);

} // namespace meshforge
