#pragma once
// Exact-position vertex look-up shared by the importers, so that every import joins a new
// corner to the first vertex already at its position by one rule.
#include "model/project.h"
#include "util/memory.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace meshforge {

struct Point3 {
    float X, Y, Z;
};

inline uint32_t KeyBits(float v) {
    return std::bit_cast<uint32_t>(v == 0.0f ? 0.0f : v); // 0 and -0 share a key
}

inline bool SamePosition(const Point3& a, const Vertex& b) {
    return a.X == b.X && a.Y == b.Y && a.Z == b.Z;
}

// First vertex at exactly a position, in constant time. The hash keeps the first index of
// each position, so later equal vertices never shadow it; NaN positions are never stored and
// never found, as an exact comparison with NaN fails. A slot holds the index + 1 and the
// upper half of the position's hash, so that a probe past other positions reads no vertex.
class VertexLookup {
  public:
    explicit VertexLookup(const std::vector<Vertex>& vertices) : vertices_(vertices) {
        Rehash(std::bit_ceil(std::max<std::size_t>(64, vertices.size() * 2)));
        for (std::size_t i = 0; i < vertices.size(); ++i)
            Add(static_cast<int32_t>(i));
    }

    std::optional<int32_t> Find(const Point3& p) const {
        if (std::isnan(p.X) || std::isnan(p.Y) || std::isnan(p.Z))
            return std::nullopt;
        const uint64_t h = Hash(p.X, p.Y, p.Z);
        for (std::size_t s = h & mask_;; s = (s + 1) & mask_) {
            const uint64_t slot = slots_[s];
            if (slot == 0)
                return std::nullopt;
            if (Tag(slot) == Tag(h) && SamePosition(p, vertices_[Index(slot)]))
                return static_cast<int32_t>(Index(slot));
        }
    }

    // The look-up of `p` is coming; start fetching its first slot.
    void Prefetch(const Point3& p) const {
        __builtin_prefetch(&slots_[Hash(p.X, p.Y, p.Z) & mask_]);
    }

    // Called after vertices_[index] was appended.
    void Add(int32_t index) {
        const Vertex& v = vertices_[static_cast<std::size_t>(index)];
        if (std::isnan(v.X) || std::isnan(v.Y) || std::isnan(v.Z))
            return;
        if ((used_ + 1) * 2 > slots_.size())
            Rehash(slots_.size() * 2);
        Insert(index);
    }

  private:
    static uint64_t Hash(float x, float y, float z) {
        uint64_t h = (static_cast<uint64_t>(KeyBits(x)) << 32 | KeyBits(y)) * 0x9E3779B97F4A7C15ull;
        h ^= (h >> 29) ^ (KeyBits(z) * 0xBF58476D1CE4E5B9ull);
        h *= 0x94D049BB133111EBull;
        return h ^ (h >> 31);
    }
    static uint64_t Tag(uint64_t bits) { return bits >> 32; }
    static std::size_t Index(uint64_t slot) { return static_cast<uint32_t>(slot) - 1u; }

    void Insert(int32_t index) {
        const Vertex& v = vertices_[static_cast<std::size_t>(index)];
        const uint64_t h = Hash(v.X, v.Y, v.Z);
        for (std::size_t s = h & mask_;; s = (s + 1) & mask_) {
            const uint64_t slot = slots_[s];
            if (slot == 0) {
                slots_[s] = (Tag(h) << 32) | (static_cast<uint64_t>(index) + 1);
                ++used_;
                return;
            }
            if (Tag(slot) != Tag(h))
                continue;
            const Vertex& w = vertices_[Index(slot)];
            if (w.X == v.X && w.Y == v.Y && w.Z == v.Z)
                return; // the earlier index stays the answer
        }
    }
    void Rehash(std::size_t capacity) {
        std::vector<uint64_t> old = std::move(slots_);
        slots_.reserve(capacity);
        AdviseHugePages(slots_.data(), capacity * sizeof(uint64_t));
        slots_.assign(capacity, 0);
        mask_ = capacity - 1;
        used_ = 0;
        for (uint64_t slot : old)
            if (slot != 0)
                Insert(static_cast<int32_t>(Index(slot)));
    }

    const std::vector<Vertex>& vertices_;
    std::vector<uint64_t> slots_;
    std::size_t mask_ = 0;
    std::size_t used_ = 0;
};

} // namespace meshforge
