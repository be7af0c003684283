#include "io/dxf_import.h"

#include "io/vertex_lookup.h"

#include "edit/vertices.h"
#include "model/project.h"
#include "model/project_file.h"
#include "model/texts.h"
#include "ui/ui.h"
#include "util/errors.h"
#include "util/line_source.h"
#include "util/memory.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <deque>
#include <limits>
#include <new>
#include <optional>
#include <unordered_set>
#include <vector>

namespace meshforge {

namespace {

constexpr std::string_view kBinaryMarker = "AutoCAD Binary DXF";
constexpr std::size_t kQuotedTextLimit = 40; // a hostile line may be megabytes long
constexpr uint64_t kProgressLines = 1 << 16;

// The group code a line spells, or -1: one digit as "0", " 0" or "  0", two as "10" or " 10"
// (right-aligned in three columns, or without blanks). No other spelling ("  10", "010") is
// a code line.
int CodeOf(std::string_view line) {
    // Most lines are values, longer than three columns; the rest is read right-aligned, with
    // few branches, as the mix of lines defeats prediction.
    const std::size_t n = line.size();
    if (n - 1 > 2)
        return -1;
    const char* end = line.data() + n;
    const char ones = end[-1];
    const char tens = n >= 2 ? end[-2] : ' ';
    const char hundreds = n == 3 ? end[-3] : ' ';
    if (hundreds != ' ' || ones < '0' || ones > '9')
        return -1;
    if (tens == ' ')
        return ones - '0';
    return tens >= '1' && tens <= '9' ? 10 * (tens - '0') + (ones - '0') : -1;
}

std::string Quoted(std::string_view text) {
    return Excerpt(text, kQuotedTextLimit, "...");
}

std::string FailurePrefix(const std::string& path) {
    return "Unable to import from file '" + path + "'\r";
}

uint64_t LineKey(int32_t a, int32_t b) {
    return static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32 | static_cast<uint32_t>(b);
}

int GroupsOf(DxfKind kind) {
    switch (kind) {
    case DxfKind::Point:
    case DxfKind::Vertex:
        return 1;
    case DxfKind::Line:
        return 2;
    case DxfKind::Face:
        break;
    }
    return 4;
}

std::string LogText(DxfKind kind, bool adding) {
    switch (kind) {
    case DxfKind::Point:
    case DxfKind::Vertex:
        return adding ? " additional valid Vertices added from file "
                      : " valid Vertices loaded from file ";
    case DxfKind::Line:
        return adding ? " additional Lines added from file " : " valid Lines loaded from file ";
    case DxfKind::Face:
        break;
    }
    return adding ? " additional Polygons added from file " : " valid Polygons loaded from file ";
}

constexpr int kEnds = -2, kOther = -1, kFlags = 12;

// What group code `code` means to an entity's own reading: kEnds for 0 (the next entity
// starts), 3 * group + axis for the coordinate codes of its `groups` (10 + group, 20 + group,
// 30 + group), kFlags for 70 when `flags` are read.
int OwnSlot(int code, int groups, bool flags) {
    if (code == 0)
        return kEnds;
    if (code >= 10 && code < 40 && code % 10 < groups)
        return 3 * (code % 10) + (code / 10 - 1);
    return flags && code == 70 ? kFlags : kOther;
}

// A VERTEX with flag 128 and without 64 is a polyface mesh's face record: it holds the
// indices of a face's corners, not a position.
bool IsFaceRecord(int flags) {
    return (flags & 128) != 0 && (flags & 64) == 0;
}

// The import in one pass over the lines. Each entity looks, from the line after its keyword,
// for the first code line of its next group, and takes that group's values from the first,
// third and fifth lines after the code line; those searches may run on into later entities,
// and one line may be a value for one group and a code line for another. So instead of a
// search per group, every line is offered to the groups waiting for its code and to the
// groups whose values stand on it (at most five code lines back). Entities are finished
// strictly in file order, so the first failure in that order is the one reported, and every
// entity before it is imported.
//
// That search reads a group right only when its code line is followed by the codes 20 + n
// and 30 + n. Where a code line it finds within the entity is not (groups in another order,
// no Z), the entity is read by its own groups instead: the code and value pairs from its
// keyword to the next group code 0 or keyword, each coordinate taken at its code, a missing
// Z as 0. While it is not yet known which reading an entity takes, both are gathered. A
// VERTEX that is a face record is left out.
//
// The searches of later entities never pass those of earlier ones, so the entities waiting
// for one code are a stretch of the file order, kept as a range. Entities whose keywords
// come while the last one still waits for its first code find the same code lines and read
// the same values; those that also take the same reading are kept as one run with a count,
// so a file of bare keywords costs nothing per keyword. Once an entity is sure to fail,
// nothing after it can be imported and nothing after it is kept.
class StreamImport {
  public:
    StreamImport(Project& project, const std::string& path, DxfKind kind, bool adding,
                 const Offset3& offset, Ui& ui, std::mt19937& rng)
        : project_(project), vertices_(project.Vertices), path_(path), keyword_(DxfKeyword(kind)),
          kind_(kind), groups_(GroupsOf(kind)), adding_(adding), offset_(offset), ui_(ui),
          rng_(rng), lookup_(project.Vertices) {
        if (kind == DxfKind::Line)
            for (const ObjectData& line : project.Lines)
                if (line.VertexIndices.size() == 2)
                    lineKeys_.insert(LineKey(line.VertexIndices[0], line.VertexIndices[1]));
        // Both indexed by code + 1, so that -1 (no code) needs no test.
        ownSlot_.fill(kOther);
        chainGroup_.fill(-1);
        for (int code = 0; code < 100; ++code) {
            const auto at = static_cast<std::size_t>(code + 1);
            ownSlot_[at] = static_cast<int8_t>(OwnSlot(code, groups_, kind == DxfKind::Vertex));
            if (code >= 10 && code - 10 < groups_)
                chainGroup_[at] = static_cast<int8_t>(code - 10);
        }
    }

    // Line `i` (0-based) of the file. False when an entity failed and its message was shown.
    bool Line(uint64_t i, std::string_view line) {
        parsed_ = false;
        const int code = CodeOf(line);
        if (batches_.size != 0)
            TakeValues(i, line, code);
        if (line == keyword_) {
            CloseOwn(i);
            if (!failing_)
                AddEntity(i);
        } else {
            if (open_)
                ReadOwn(i, line, code);
            if (const int group = chainGroup_[static_cast<std::size_t>(code + 1)]; group >= 0)
                FoundCode(i, group);
        }
        return !settle_ || Settle();
    }

    // After the last line, `lines` the number of lines: the code lines of a group that lack
    // their 20 and 30 codes are known, and the first entity not imported has no complete
    // group before the end.
    bool End(uint64_t lines) {
        CloseOwn(lines);
        for (unsigned k = 0; k < batches_.size; ++k)
            if (batches_[k].inside)
                Layout(batches_[k], false);
        if (!Settle())
            return false;
        if (!runs_.empty()) {
            const Run& head = runs_.front();
            int g = 0;
            while (head.complete >> g & 1)
                ++g;
            Fail(base_, g, [&] { return PastEnd(head, g); });
        }
        return Settle();
    }

    int64_t Created() const { return created_; }

  private:
    enum class Reading : uint8_t {
        Undecided, // both readings are gathered
        Search,    // the code lines the searches find
        Own,       // its own groups by their codes
        Skipped,   // a face record
    };
    // Entities of one run; the run is numbered by its place in file order.
    struct Run {
        uint64_t keywordLine = 0; // of its first entity, the one a message names
        uint64_t count = 1;
        uint64_t chain = 0; // runs of one chain find the same code lines
        std::array<Point3, 4> corner{};
        uint8_t complete = 0; // bit g: all three values of group g read
        uint8_t failed = 0;   // bit g: group g cannot be read
        Reading reading = Reading::Undecided;
    };
    // The runs whose group `group` has its code on line `codeLine`, so its values on the
    // next, third and fifth lines: the runs numbered [from, to).
    struct Batch {
        uint64_t codeLine;
        int group;
        uint64_t from, to;
        bool inside = false; // the code line is within an undecided entity, which waits for
                             // the codes after it
    };
    static constexpr uint64_t kOpen = std::numeric_limits<uint64_t>::max();
    // An undecided entity's own groups: its code and value pairs, first of each code.
    struct Own {
        uint64_t run = 0;
        uint64_t keywordLine = 0;
        uint64_t end = kOpen; // the line that ended its pairs
        std::array<float, 12> value{};
        uint16_t present = 0, bad = 0; // bit 3 * group + axis
        uint16_t unread = 0;           // present, its text in openText_ not yet converted
        int badSlot = 12;              // the first bad one, told by badMessage
        int pending = kOther;          // what the code on the previous line was
        int flags = -1;                // group 70 of a VERTEX, -1 until read
        uint8_t inside = 0;            // groups whose code line is within it, codes after it unseen
        bool wrongOrder = false;       // a code line within it is not followed by 20 and 30
        int searchFailed = 4;          // the lowest group the search reading failed, with
        std::string badMessage, searchFailure; // its message
    };

    uint64_t Past() const { return past_; }
    Run& RunAt(uint64_t n) { return runs_[static_cast<std::size_t>(n - base_)]; }
    Own* OwnOf(uint64_t n) {
        for (Own& o : owns_)
            if (o.run == n)
                return &o;
        return nullptr;
    }

    std::string PastEnd(const Run& run, int group) const {
        return FailurePrefix(path_) + " The " + std::string(keyword_) + " in line " +
               std::to_string(run.keywordLine + 1) + " has no complete group " +
               std::to_string(10 + group) + " before the end of the file !";
    }
    std::string NotANumber(uint64_t i, std::string_view line) const {
        return FailurePrefix(path_) + " Line " + std::to_string(i + 1) + " is not a number: '" +
               Quoted(line) + "'";
    }

    // The current line as a number, converted once however many readers want it.
    bool Parse(std::string_view line) {
        if (!parsed_) {
            parsed_ = true;
            try {
                value_ = ParseFloat(line);
                bad_ = false;
            } catch (const ParseError&) {
                bad_ = true;
            }
        }
        return !bad_;
    }

    void AddEntity(uint64_t i) {
        // Still waiting for its first code: the new entity will find what the last one finds.
        const uint64_t chain =
            !runs_.empty() && Past() - 1 >= waitFrom_[0] ? runs_.back().chain : ++chains_;
        Run& run = runs_.emplace_back();
        ++past_;
        run.keywordLine = i;
        run.chain = chain;
        Own& own = owns_.emplace_back();
        own.run = Past() - 1;
        own.keywordLine = i;
        open_ = true;
        openCodes_ = (i + 1) & 1;
    }

    // Runs from `past` on are dropped, and nothing waits for them.
    void Truncate(uint64_t past) {
        for (; past_ > past; --past_)
            runs_.pop_back();
        std::erase_if(owns_, [past](const Own& o) { return o.run >= past; });
        open_ = open_ && !owns_.empty() && owns_.back().end == kOpen;
        for (uint64_t& w : waitFrom_)
            w = std::min(w, past);
        for (unsigned k = 0; k < batches_.size; ++k) {
            Batch& batch = batches_[k];
            batch.from = std::min(batch.from, past);
            batch.to = std::min(batch.to, past);
        }
    }

    // Run `n` is sure to fail at `group` (the lowest that failed), with `message`.
    void SureToFail(uint64_t n, int group, std::string message) {
        if (!failing_ || n < failingRun_ || group < messageGroup_) {
            messageGroup_ = group;
            message_ = std::move(message);
        }
        failing_ = true;
        failingRun_ = n;
        Truncate(n + 1);
        settle_ = true;
    }

    // Group `group` of run `n`, read by the searches, cannot be read; `message` makes its text.
    template <class Message> void Fail(uint64_t n, int group, Message&& message) {
        Run& run = RunAt(n);
        const auto bit = static_cast<uint8_t>(1u << group);
        if ((run.failed | run.complete) & bit)
            return;
        run.failed |= bit;
        if (run.reading == Reading::Search) {
            SureToFail(n, group, message());
        } else if (Own* o = OwnOf(n); o && group < o->searchFailed) {
            o->searchFailed = group; // counts only if the search reading is taken
            o->searchFailure = message();
        }
    }

    // Keeps run `n`, the last, in one run with the one before when they end alike.
    void Merge(uint64_t n) {
        if (n + 1 != Past() || n == base_)
            return;
        Run& run = RunAt(n);
        Run& before = RunAt(n - 1);
        if (before.reading != run.reading || before.chain != run.chain)
            return;
        before.count += run.count;
        Truncate(n);
    }

    // Settles the reading of the undecided entity owns_[at] once it is known.
    void Decide(std::size_t at) {
        Own& o = owns_[at];
        const bool closed = o.end != kOpen;
        Reading reading;
        if (kind_ == DxfKind::Vertex && o.flags >= 0 && IsFaceRecord(o.flags))
            reading = Reading::Skipped;
        else if (kind_ == DxfKind::Vertex && o.flags < 0 && !closed)
            return; // its flags may still come
        else if (o.wrongOrder)
            reading = closed ? Reading::Own : Reading::Undecided;
        else if (o.inside != 0)
            return;
        else
            reading = closed || o.run < waitFrom_[static_cast<std::size_t>(groups_ - 1)]
                          ? Reading::Search
                          : Reading::Undecided;
        if (reading == Reading::Undecided)
            return;
        const uint64_t n = o.run;
        Run& run = RunAt(n);
        run.reading = reading;
        settle_ = true;
        if (reading == Reading::Own) {
            std::string failure = ReadOwnGroups(o, run);
            owns_.erase(owns_.begin() + static_cast<std::ptrdiff_t>(at));
            if (!failure.empty()) {
                run.failed = 1;
                SureToFail(n, 0, std::move(failure));
            }
            return;
        }
        const int failedGroup = o.searchFailed;
        std::string failure = std::move(o.searchFailure);
        if (at + 1 == owns_.size())
            open_ = false;
        owns_.erase(owns_.begin() + static_cast<std::ptrdiff_t>(at));
        if (reading == Reading::Search && run.failed != 0)
            SureToFail(n, failedGroup, std::move(failure));
        else
            Merge(n);
    }

    // The corners of `run` from its own groups, or the message of the first that is missing
    // or not a number.
    std::string ReadOwnGroups(Own& o, Run& run) {
        ReadTexts(o);
        for (int g = 0; g < groups_; ++g) {
            Point3& c = run.corner[static_cast<std::size_t>(g)];
            float* axes[3] = {&c.X, &c.Y, &c.Z};
            for (int axis = 0; axis < 3; ++axis) {
                const int slot = 3 * g + axis;
                const auto bit = static_cast<uint16_t>(1u << slot);
                if (o.bad & bit)
                    return o.badMessage; // the first bad one: all before it are good
                if (o.present & bit)
                    *axes[axis] = o.value[static_cast<std::size_t>(slot)];
                else if (axis < 2)
                    return FailurePrefix(path_) + " The " + std::string(keyword_) + " in line " +
                           std::to_string(o.keywordLine + 1) + " has no group " +
                           std::to_string(10 * (axis + 1) + g) + " !";
                else
                    c.Z = 0; // a 2D file
            }
            if (adding_) {
                c.X += offset_.X;
                c.Y += offset_.Y;
                c.Z += offset_.Z;
            }
        }
        run.complete = static_cast<uint8_t>((1u << groups_) - 1);
        run.failed = 0;
        return {};
    }

    void CloseOwn(uint64_t i) {
        if (!open_)
            return;
        open_ = false;
        Own& o = owns_.back();
        const uint64_t n = o.run;
        o.end = i;
        Decide(owns_.size() - 1);
        // Still undecided: its texts are needed before the next entity's pairs replace them.
        if (!owns_.empty() && owns_.back().run == n)
            ReadTexts(owns_.back());
    }

    // Line `i` within the last entity's own pairs (not its keyword, not a keyword).
    void ReadOwn(uint64_t i, std::string_view line, int code) {
        Own& o = owns_.back();
        if ((i & 1) == openCodes_) {
            o.pending = ownSlot_[static_cast<std::size_t>(code + 1)];
            if (o.pending == kEnds)
                CloseOwn(i);
            return;
        }
        const int slot = o.pending;
        o.pending = kOther;
        if (slot == kOther)
            return;
        if (slot == kFlags) {
            if (o.flags < 0) {
                try {
                    o.flags = ParseInt(line);
                } catch (const ParseError&) {
                    o.flags = 0; // no flags to go by
                }
                Decide(owns_.size() - 1);
            }
            return;
        }
        const auto bit = static_cast<uint16_t>(1u << slot);
        if (o.present & bit)
            return;
        o.present |= bit;
        // Converted already when the search reads the line too, as in files in the expected
        // order. Otherwise the text waits until the value is needed: most such entities take
        // the search's reading, and a text that is not a number costs an exception.
        if (!parsed_ && line.size() <= kShortText) {
            o.unread |= bit;
            openText_[static_cast<std::size_t>(slot)].assign(line);
            openLine_[static_cast<std::size_t>(slot)] = i;
            return;
        }
        Take(o, slot, i, line);
    }

    // The value of `slot` of `o` is line `i`.
    void Take(Own& o, int slot, uint64_t i, std::string_view line) {
        if (Parse(line)) {
            o.value[static_cast<std::size_t>(slot)] = value_;
        } else {
            o.bad |= static_cast<uint16_t>(1u << slot);
            if (slot < o.badSlot) {
                o.badSlot = slot;
                o.badMessage = NotANumber(i, line);
            }
        }
    }

    // Converts the texts the last entity's pairs left unread.
    void ReadTexts(Own& o) {
        for (int slot = 0; o.unread != 0; ++slot)
            if (o.unread >> slot & 1) {
                o.unread &= static_cast<uint16_t>(~(1u << slot));
                parsed_ = false;
                const std::string& text = openText_[static_cast<std::size_t>(slot)];
                Take(o, slot, openLine_[static_cast<std::size_t>(slot)], text);
            }
        parsed_ = false; // the current line is converted afresh
    }

    void FoundCode(uint64_t i, int group) {
        const auto g = static_cast<std::size_t>(group);
        const uint64_t to = g == 0 ? Past() : waitFrom_[g - 1];
        if (waitFrom_[g] >= to)
            return; // nobody waits for this code
        Batch& batch = batches_.Push(Batch{i, group, waitFrom_[g], to});
        // Only the last entity's pairs can still go on.
        if (open_) {
            Own& o = owns_.back();
            if (o.run >= batch.from && o.run < to) {
                o.inside |= static_cast<uint8_t>(1u << group);
                batch.inside = true;
            }
        }
        // The next group is searched from the line after this code line, not after its values.
        waitFrom_[g] = to;
    }

    // The codes after `batch`'s code line are known: the undecided entities that hold it now
    // know whether their groups are where the search expects them.
    void Layout(Batch& batch, bool expected) {
        batch.inside = false;
        const auto bit = static_cast<uint8_t>(1u << batch.group);
        const auto last = static_cast<std::size_t>(groups_ - 1);
        for (std::size_t at = owns_.size(); at-- > 0;) {
            Own& o = owns_[at];
            if (o.run < batch.from || o.run >= batch.to || !(o.inside & bit))
                continue;
            o.inside &= static_cast<uint8_t>(~bit);
            o.wrongOrder = o.wrongOrder || !expected;
            const bool waits =
                !o.wrongOrder && (o.inside != 0 || (o.end == kOpen && o.run >= waitFrom_[last]));
            if (!waits) { // its other groups are still to come
                Decide(at);
                at = std::min(at, owns_.size()); // a failure may have dropped later ones
            }
        }
    }

    // `code`: the group code `line` spells, or -1.
    void TakeValues(uint64_t i, std::string_view line, int code) {
        for (unsigned k = 0; k < batches_.size; ++k) {
            Batch& batch = batches_[k];
            const uint64_t after = i - batch.codeLine; // 1 to 5; the even lines are codes
            if (after % 2 == 0) {
                if (batch.inside) {
                    const bool expected = code == batch.group + (after == 2 ? 20 : 30);
                    if (!expected || after == 4)
                        Layout(batch, expected);
                }
                continue;
            }
            const uint64_t from = std::max(batch.from, base_);
            if (from >= std::min(batch.to, Past()))
                continue;
            const auto bit = static_cast<uint8_t>(1u << batch.group);
            if (!Parse(line)) {
                std::string message;
                for (uint64_t n = from; n < std::min(batch.to, Past()); ++n) {
                    const Run& run = RunAt(n);
                    if (run.reading == Reading::Own || run.reading == Reading::Skipped ||
                        (run.failed & bit))
                        continue;
                    const bool sure = run.reading == Reading::Search;
                    Fail(n, batch.group, [&] {
                        if (message.empty())
                            message = NotANumber(i, line);
                        return message;
                    });
                    if (sure)
                        break; // and the runs after it are dropped
                }
                continue;
            }
            const auto axis = static_cast<int>(after / 2);
            const uint64_t to = std::min(batch.to, Past());
            for (uint64_t n = from; n < to; ++n) {
                Run& run = RunAt(n);
                if (run.reading == Reading::Own || run.reading == Reading::Skipped ||
                    (run.failed & bit))
                    continue;
                Point3& c = run.corner[static_cast<std::size_t>(batch.group)];
                float* const axes[3] = {&c.X, &c.Y, &c.Z};
                *axes[axis] = value_;
                if (axis == 2) {
                    if (adding_) {
                        c.X += offset_.X;
                        c.Y += offset_.Y;
                        c.Z += offset_.Z;
                    }
                    // The look-up comes a few lines later; start fetching its slot now.
                    lookup_.Prefetch(c);
                    run.complete |= bit;
                    settle_ = true;
                }
            }
        }
        if (i - batches_[0].codeLine == 5)
            batches_.PopFront();
    }

    // Imports the runs at the head of the file order that are complete; false when the
    // head failed (its message shown) or the vertex indices would run out.
    bool Settle() {
        settle_ = false;
        while (!runs_.empty()) {
            Run& run = runs_.front();
            if (run.reading == Reading::Undecided)
                return true;
            if (run.reading != Reading::Skipped) {
                bool failed = false;
                for (int g = 0; g < groups_; ++g) {
                    if (run.failed >> g & 1) {
                        failed = true;
                        break;
                    }
                    if (!(run.complete >> g & 1))
                        return true;
                }
                for (uint64_t k = 0; k < run.count; ++k) {
                    // Vertex indices are 32-bit; a file that would need more is refused, not
                    // wrapped.
                    if (vertices_.size() >
                        static_cast<std::size_t>(std::numeric_limits<int32_t>::max()) - 4) {
                        ui_.Message(FailurePrefix(path_) + " Too many Vertices !");
                        return false;
                    }
                    if (failed) {
                        ui_.Message(message_);
                        return false;
                    }
                    Create(run.corner);
                }
            }
            runs_.pop_front();
            ++base_;
            for (uint64_t& w : waitFrom_)
                w = std::max(w, base_);
        }
        return true;
    }

    int32_t Append(const Point3& p) {
        vertices_.push_back(Vertex{p.X, p.Y, p.Z, false});
        const auto at = static_cast<int32_t>(vertices_.size() - 1);
        lookup_.Add(at);
        return at;
    }

    // `corner` has the offset added already.
    void Create(const std::array<Point3, 4>& corner) {
        // Every corner is looked up before any is appended.
        std::array<std::optional<int32_t>, 4> found;
        for (int g = 0; g < groups_; ++g)
            found[g] = lookup_.Find(corner[g]);
        switch (kind_) {
        case DxfKind::Point:
        case DxfKind::Vertex:
            if (!found[0]) {
                Append(corner[0]);
                ++created_;
            }
            break;
        case DxfKind::Line: {
            const int32_t start = found[0] ? *found[0] : Append(corner[0]);
            const int32_t end = found[1] ? *found[1] : Append(corner[1]);
            if (lineKeys_.contains(LineKey(start, end)) || lineKeys_.contains(LineKey(end, start)))
                break;
            lineKeys_.insert(LineKey(start, end));
            ObjectData line;
            line.Color = {0.5f, 0.5f, 0.5f};
            line.VertexIndices = {start, end};
            project_.Lines.push_back(std::move(line));
            ++created_;
            break;
        }
        case DxfKind::Face: {
            const Point3& c3 = corner[2];
            const Point3& c4 = corner[3];
            // Equal third and fourth corners make a triangle, whether or not that point was
            // in the Project before.
            const bool triangle = c3.X == c4.X && c3.Y == c4.Y && c3.Z == c4.Z;
            std::array<int32_t, 4> at{};
            for (int g = 0; g < (triangle ? 3 : 4); ++g)
                at[g] = found[g] ? *found[g] : Append(corner[g]);
            ObjectData polygon;
            polygon.Color = RandomPolygonColor(rng_);
            if (triangle)
                polygon.VertexIndices = {at[0], at[1], at[2], at[0]};
            else
                polygon.VertexIndices = {at[0], at[1], at[2], at[3], at[0]};
            polygon.TextureIndex = kUntextured;
            project_.Polygons.push_back(std::move(polygon));
            ++created_;
            break;
        }
        }
    }

    Project& project_;
    std::vector<Vertex>& vertices_;
    const std::string& path_;
    std::string_view keyword_;
    DxfKind kind_;
    int groups_;
    bool adding_;
    Offset3 offset_;
    Ui& ui_;
    std::mt19937& rng_;
    VertexLookup lookup_;
    std::unordered_set<uint64_t> lineKeys_;
    std::array<int8_t, 101> ownSlot_{};    // OwnSlot of every code
    std::array<int8_t, 101> chainGroup_{}; // the group whose code it is, or -1

    std::deque<Run> runs_; // not yet imported, in file order
    uint64_t base_ = 0;    // number of runs_.front()
    uint64_t past_ = 0;    // one past the last run's number
    uint64_t chains_ = 0;
    // waitFrom_[g]: the first run that has not found the code of group g. The runs from
    // waitFrom_[g] up to waitFrom_[g - 1] (or the end) wait for it.
    std::array<uint64_t, 4> waitFrom_{};
    // The batches of the last five lines, oldest first (a line is one code line at most).
    struct Batches {
        std::array<Batch, 8> ring{};
        unsigned first = 0, size = 0;
        Batch& operator[](unsigned k) { return ring[(first + k) % ring.size()]; }
        Batch& Push(const Batch& batch) { return ring[(first + size++) % ring.size()] = batch; }
        void PopFront() {
            first = (first + 1) % ring.size();
            --size;
        }
    } batches_;
    std::vector<Own> owns_;  // the undecided entities, in file order
    bool open_ = false;      // the last one's pairs go on
    uint64_t openCodes_ = 0; // the parity of its code lines
    static constexpr std::size_t kShortText = 64;
    std::array<std::string, 12> openText_; // the last entity's unread values, and their lines
    std::array<uint64_t, 12> openLine_{};
    bool failing_ = false; // the last run is sure to fail, with message_
    uint64_t failingRun_ = 0;
    int messageGroup_ = 4; // the group whose failure message_ tells
    std::string message_;
    bool parsed_ = false, bad_ = false; // the current line's conversion
    float value_ = 0;
    bool settle_ = false; // a run was completed, decided or failed
    int64_t created_ = 0;
};

// Reports the share of the source read, rising, every few ten thousand lines.
class ProgressTicker {
  public:
    ProgressTicker(const DxfProgress& progress, const LineSource& lines)
        : progress_(progress), lines_(lines) {
        if (progress_)
            progress_(0.0);
    }
    void Tick(uint64_t line) {
        if (!progress_ || line % kProgressLines != 0 || lines_.Size() == 0)
            return;
        const double share =
            static_cast<double>(lines_.Position()) / static_cast<double>(lines_.Size());
        last_ = std::clamp(share, last_, 0.999);
        progress_(last_);
    }
    void Done() {
        if (progress_)
            progress_(1.0);
    }

  private:
    const DxfProgress& progress_;
    const LineSource& lines_;
    double last_ = 0.0;
};

} // namespace

std::string_view DxfKeyword(DxfKind kind) {
    switch (kind) {
    case DxfKind::Point:
        return "POINT";
    case DxfKind::Vertex:
        return "VERTEX";
    case DxfKind::Line:
        return "LINE";
    case DxfKind::Face:
        break;
    }
    return "3DFACE";
}

int64_t DxfScan::Count(DxfKind kind) const {
    switch (kind) {
    case DxfKind::Point:
        return Points;
    case DxfKind::Vertex:
        return Vertices;
    case DxfKind::Line:
        return Lines;
    case DxfKind::Face:
        break;
    }
    return Faces;
}

std::string DxfButtonCaption(DxfKind kind, int64_t count) {
    return std::to_string(count) + " " + std::string(DxfKeyword(kind)) + " objects in DXF";
}

namespace {

DxfScan ScanLines(const std::string& path, LineSource& lines, Ui& ui, const DxfProgress& progress) {
    DxfScan scan;
    std::string_view line;
    bool more = lines.Next(line);
    if (more && line == kBinaryMarker) {
        ui.Message("Binary DXF format not supported...");
        return scan;
    }
    scan.Caption = "Scanning file '" + std::string(FileNamePart(path)) + "'";
    ProgressTicker ticker(progress, lines);
    for (uint64_t i = 1; more; more = lines.Next(line), ++i) {
        ticker.Tick(i);
        if (line.empty() || line.size() > 6)
            continue;
        if (line == "POINT")
            ++scan.Points;
        else if (line == "VERTEX")
            ++scan.Vertices;
        else if (line == "LINE")
            ++scan.Lines;
        else if (line == "3DFACE")
            ++scan.Faces;
    }
    if (scan.Points == 0 && scan.Vertices == 0 && scan.Lines == 0 && scan.Faces == 0) {
        ui.Message(FailurePrefix(path) + " No POINT, VERTEX, LINE or 3DFACE entities found !");
        return scan;
    }
    ticker.Done();
    scan.Ok = true;
    return scan;
}

void TellUnreadable(const std::string& path, Ui& ui) {
    ui.Message("Unable to load file " + path);
}

} // namespace

DxfScan ScanDxfText(const std::string& path, std::string_view text, Ui& ui) {
    LineSource lines(text);
    return ScanLines(path, lines, ui, {});
}

DxfScan ScanFile(const std::string& path, Ui& ui, const DxfProgress& progress) {
    try {
        LineSource lines = LineSource::File(path);
        return ScanLines(path, lines, ui, progress);
    } catch (const FileError&) {
        TellUnreadable(path, ui);
        return {};
    }
}

std::optional<Offset3> BeginGeometryImport(Project& project, Ui& ui) {
    Offset3 offset;
    if (project.HasGeometry) {
        std::optional<Offset3> answer = ui.AskImportOffset();
        if (!answer)
            return std::nullopt;
        offset = *answer;
    } else {
        project.Vertices.clear();
    }
    BumpRevision(project);
    return offset;
}

void EndGeometryImport(Project& project, DxfKind kind, bool adding, int64_t created,
                       const std::string& path, Ui& ui) {
    ui.Log(std::to_string(created) + LogText(kind, adding) + path);
    if (!adding)
        project.HasGeometry = true;
    UpdateBoundingBox(project);
}

std::string ImportFailurePrefix(const std::string& path) {
    return FailurePrefix(path);
}

ColorTriple RandomPolygonColor(std::mt19937& rng) {
    auto unit = [&rng] { return static_cast<float>(rng() >> 8) * 0x1p-24f; };
    ColorTriple c;
    c.R = unit();
    c.G = unit();
    c.B = unit();
    return c;
}

DxfImportResult ImportDxfLines(Project& project, const std::string& path, LineSource& lines,
                               DxfKind kind, Ui& ui, std::mt19937& rng, const DxfProgress& progress,
                               int64_t expected) {
    const std::string_view keyword = DxfKeyword(kind);
    ProgressTicker ticker(progress, lines);
    std::string_view line;
    uint64_t i = 0;
    // No line before the first keyword can take part: nothing searches yet.
    bool any = false;
    for (; !any && lines.Next(line); ++i) {
        ticker.Tick(i);
        any = line == keyword;
    }
    if (!any) {
        ui.Message("Sorry, no '" + std::string(keyword) + "' objects in DXF file...");
        return {DxfImportOutcome::NotPresent, 0};
    }
    const bool adding = project.HasGeometry;
    const std::optional<Offset3> offset = BeginGeometryImport(project, ui);
    if (!offset)
        return {DxfImportOutcome::OffsetCancelled, 0};

    // Room for the new items at once, rather than copying a large list as it grows. Every
    // entity takes at least a keyword line, so the file's size bounds the count.
    const auto room = static_cast<std::size_t>(
        std::clamp<int64_t>(expected, 0, static_cast<int64_t>(lines.Size() / 7)));
    auto makeRoom = [](auto& list, std::size_t more) {
        try {
            list.reserve(list.size() + more);
        } catch (const std::exception&) {
            return; // only a head start: the list can still grow as it fills
        }
        AdviseHugePages(list.data() + list.size(), more * sizeof(list[0]));
    };
    if (kind == DxfKind::Face)
        makeRoom(project.Polygons, room);
    else if (kind == DxfKind::Line)
        makeRoom(project.Lines, room);
    // At most one new vertex per corner; memory is only taken as the list fills.
    makeRoom(project.Vertices, room * static_cast<std::size_t>(GroupsOf(kind)));
    StreamImport import(project, path, kind, adding, *offset, ui, rng);
    DxfImportResult result{DxfImportOutcome::Failed, 0};
    // The first keyword is line i - 1.
    bool going = false;
    try {
        going = import.Line(i - 1, line);
        for (; going && lines.Next(line); ++i) {
            ticker.Tick(i);
            going = import.Line(i, line);
        }
        going = going && import.End(i);
    } catch (const std::bad_alloc&) {
        // Everything created so far stays, as with any other failure; the program goes on.
        ui.Message(FailurePrefix(path) + " Not enough memory !");
        going = false;
    }
    if (!going) {
        result.Created = import.Created();
        return result;
    }
    ticker.Done();
    result.Created = import.Created();
    EndGeometryImport(project, kind, adding, result.Created, path, ui);
    result.Outcome = DxfImportOutcome::Imported;
    return result;
}

DxfImportResult ImportDxfText(Project& project, const std::string& path, std::string_view text,
                              DxfKind kind, Ui& ui, std::mt19937& rng,
                              const DxfProgress& progress) {
    LineSource lines(text);
    return ImportDxfLines(project, path, lines, kind, ui, rng, progress);
}

DxfImportResult ImportDxf(Project& project, const std::string& path, DxfKind kind, Ui& ui,
                          std::mt19937& rng, const DxfProgress& progress, int64_t expected) {
    try {
        LineSource lines = LineSource::File(path);
        return ImportDxfLines(project, path, lines, kind, ui, rng, progress, expected);
    } catch (const FileError&) {
        // A read that fails half-way keeps what was imported before it, as a bad number does.
        TellUnreadable(path, ui);
        return {DxfImportOutcome::Failed, 0};
    }
}

int32_t FinishDxfImport(Project& project, ColorTriple& currentLineColor, Ui& ui) {
    return RemoveDoubleVertices(project, currentLineColor, ui);
}

} // namespace meshforge
