#include "report/report.h"

#include "model/game_codes.h"
#include "model/project.h"
#include "model/texts.h"

#include <charconv>
#include <type_traits>
#include <utility>

namespace meshforge {

std::string_view Listing::Line(std::size_t i) const {
    const std::size_t start = i == 0 ? 0 : ends_[i - 1] + 1;
    return std::string_view(text_).substr(start, ends_[i] - start);
}

std::vector<std::string> Listing::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(ends_.size());
    for (std::size_t i = 0; i < ends_.size(); ++i)
        lines.emplace_back(Line(i));
    return lines;
}

void Listing::End() {
    ends_.push_back(text_.size());
    text_ += '\n';
}

namespace {

class Writer {
  public:
    explicit Writer(Listing& listing) : l_(listing) {}

    Writer& operator<<(std::string_view text) {
        l_.Out() += text;
        return *this;
    }
    Writer& operator<<(long long value) {
        AppendInt(l_.Out(), value);
        return *this;
    }
    std::string& Out() { return l_.Out(); }
    void End() { l_.End(); }
    void Line(std::string_view text) {
        l_.Out() += text;
        l_.End();
    }
    void Blank() { Line(" "); }

  private:
    Listing& l_;
};

long long Count(std::size_t n) {
    return static_cast<long long>(n);
}

void VertexRow(Writer& w, std::size_t index, const Vertex& v) {
    char label[32] = "Vertex ";
    char* end = std::to_chars(label + 7, label + sizeof label, index).ptr;
    AppendField(w.Out(), std::string_view(label, static_cast<std::size_t>(end - label)), 10,
                Align::Left);
    char number[kMaxFixedChars];
    for (auto [prefix, value] : {std::pair{" X:", v.X}, {"  Y:", v.Y}, {"  Z:", v.Z}}) {
        w << prefix;
        const char* last = WriteFixed(number, value, 3);
        AppendField(w.Out(), std::string_view(number, static_cast<std::size_t>(last - number)), 9,
                    Align::Right);
    }
    w.End();
}

void TextureBlock(Writer& w, std::size_t k, const TextureData& t) {
    (w << "Texture " << Count(k) << ": " << t.Filename).End();
    w.Line(t.Transparent != 0 ? "Transparent: Yes" : "Transparent: No");
    if (t.Transparent == 1)
        (w << "Mask Filename: " << t.MaskFilename).End();
    static constexpr std::string_view kRepeat[] = {
        "Repeat Texture: No", "Repeat Texture: Horizontal", "Repeat Texture: Vertical",
        "Repeat Texture: Horizontal & Vertical"};
    if (t.RepeatValue >= 0 && t.RepeatValue < 4)
        w.Line(kRepeat[t.RepeatValue]);
    w.Blank();
}

void Joined(Writer& w, const int32_t* first, const int32_t* last) {
    for (const int32_t* i = first; i != last; ++i) {
        if (i != first)
            w << ",";
        w << static_cast<long long>(*i);
    }
}

void PolygonBlock(Writer& w, std::size_t k, const ObjectData& polygon) {
    (w << "Polygon " << Count(k) << ":").End();
    w << "Referenced Vertices: ";
    const auto& ring = polygon.VertexIndices;
    if (!ring.empty())
        Joined(w, ring.data(), ring.data() + ring.size() - 1); // without the closing corner
    w.End();
    if (polygon.TextureIndex == kUntextured)
        w.Line("Referenced Texture: None");
    else
        (w << "Referenced Texture: " << static_cast<long long>(polygon.TextureIndex)).End();
    w.Blank();
}

void LineBlock(Writer& w, std::size_t k, const ObjectData& line) {
    (w << "Line " << Count(k) << ":").End();
    w << "Referenced Vertices: ";
    Joined(w, line.VertexIndices.data(), line.VertexIndices.data() + line.VertexIndices.size());
    w.End();
    w << "Line Color (RGB): ";
    AppendFixed(w.Out(), line.Color.R, 5);
    w << ",";
    AppendFixed(w.Out(), line.Color.G, 5);
    w << ",";
    AppendFixed(w.Out(), line.Color.B, 5);
    w.End();
    w.Blank();
}

void VolumeBlock(Writer& w, std::size_t k, const CollVol& v) {
    w.Blank();
    (w << "Volume " << Count(k) << ":").End();
    for (std::size_t j = 0; j < v.PolygonIndices.size(); ++j) {
        const int32_t rebound = j < v.Rebounds.size() ? v.Rebounds[j] : 0;
        (w << "Plane " << Count(j) << ": Collision Charateristic = " << ReboundName(rebound)
           << ", Referenced Polygon(Plane) = " << static_cast<long long>(v.PolygonIndices[j]))
            .End();
    }
}

// "Number Of <what>: 0" for an empty list; else the count, [blank] and the blocks (the
// volumes' blocks begin with their own [blank]).
template <class T, class Block>
void Section(Writer& w, const std::vector<T>& items, std::string_view noneLine,
             std::string_view countLabel, Block block) {
    if (items.empty()) {
        w.Line(noneLine);
        return;
    }
    (w << countLabel << Count(items.size())).End();
    if constexpr (!std::is_same_v<T, CollVol>)
        w.Blank();
    for (std::size_t k = 0; k < items.size(); ++k)
        block(w, k, items[k]);
}

} // namespace

Listing ProjectListing(const Project& p, ListingKind kind) {
    const bool print = kind == ListingKind::Print;
    Listing listing;
    // About 50 bytes a vertex row; the rest is small beside it in any real project.
    listing.Reserve(p.Vertices.size() * 50 + p.Polygons.size() * 64 + 4096,
                    p.Vertices.size() + 4 * (p.Polygons.size() + p.Lines.size()) + 64);
    Writer w(listing);
    if (print) {
        w.Blank();
        w.Line("= = = = = Project Data Printout = = = = =");
        w.Line("= = = = =    by Meshforge       = = = = =");
    } else {
        w.Line("= = = = = = = Project Data = = = = = = =");
        w.Line("= = = = =     by Meshforge     = = = = =");
    }
    w.Blank();
    w.Line("Project Description:");
    w.Line(p.ProjectDescription);
    w.Blank();
    w.Line("Project Filename:");
    w.Line(p.ProjectFileName);
    w.Blank();
    w.Blank();
    w.Line("Object Visibility within GPL:");
    w.Line(DisplayClassText(p.DisplayClass));
    w.Blank();
    w.Blank();

    (w << "Number of Vertices: " << Count(p.Vertices.size())).End();
    w.Blank();
    w.Line("Vertex Values:");
    w.Blank();
    for (std::size_t k = 0; k < p.Vertices.size(); ++k)
        VertexRow(w, k, p.Vertices[k]);
    w.Blank();
    w.Blank();

    Section(w, p.Textures, "Number Of Textures: 0", "Number Of Textures: ", TextureBlock);
    if (print && !p.Textures.empty())
        w.Blank();
    w.Blank();

    Section(w, p.Polygons, "Number Of Polygons: 0", "Number Of Polygons: ", PolygonBlock);
    if (!p.Polygons.empty())
        w.Blank();
    w.Blank();

    Section(w, p.Lines, "Number Of Lines: 0",
            print ? "Number Of Lines: " : "Number Of Line(s): ", LineBlock);
    if (!p.Lines.empty())
        w.Blank();
    w.Blank();

    Section(w, p.CollVols,
            print ? "Number of Collision Volumes: 0" : "Number Of Collision Volumes: 0",
            "Collision Volumes: ", VolumeBlock);
    w.Blank();
    return listing;
}

} // namespace meshforge
