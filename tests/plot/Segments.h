#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace trelvano::support {

struct Segment {
    float x1, y1, x2, y2;
};

// The kinds of segment the stepping must get right, each a family of a few
// hundred, the same on every compiler and library (a generator of our own,
// not <random>'s distributions, whose sequences differ between libraries).
inline constexpr const char* kSegmentKinds[] = {
    "anywhere in the guard box", "ends on pixel edges and centres", "under a pixel long", "of no length", "diagonal",
    "level or upright"};

inline std::vector<Segment> SegmentsOfKind(int kind, int width, int height, int count)
{
    std::uint64_t state = 0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(kind + 1);
    // A float in [lo, hi): 24 bits of a SplitMix64 step.
    const auto uniform = [&state](float lo, float hi) {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        return lo + (hi - lo) * static_cast<float>(z >> 40) / 16777216.0F;
    };
    // Plot units per device pixel, so that ends can land on pixel edges and centres.
    const float px = 100.0F / static_cast<float>(width), py = 100.0F / static_cast<float>(height);
    const auto half = [](float v, float unit) { return std::round(v / unit * 2.0F) / 2.0F * unit; };
    std::vector<Segment> segments;
    for (int i = 0; i < count; ++i) {
        float x1 = uniform(-5.0F, 105.0F), y1 = uniform(-5.0F, 105.0F), x2 = x1, y2 = y1;
        const float d = uniform(-3.0F, 3.0F);
        switch (kind) {
        case 0:
            x1 = uniform(-100.0F, 200.0F), y1 = uniform(-100.0F, 200.0F);
            x2 = uniform(-100.0F, 200.0F), y2 = uniform(-100.0F, 200.0F);
            break;
        case 1:
            x1 = half(x1, px), y1 = half(y1, py);
            x2 = half(uniform(-5.0F, 105.0F), px), y2 = half(uniform(-5.0F, 105.0F), py);
            break;
        case 2:
            x2 += d * px / 3.0F, y2 += uniform(-3.0F, 3.0F) * py / 3.0F;
            break;
        case 3:
            if (i % 2) x1 = x2 = half(x1, px), y1 = y2 = half(y1, py);
            break;
        case 4:
            x2 += d * 7.0F * px, y2 += (i % 2 ? d : -d) * 7.0F * py;
            break;
        default:
            (i % 2 ? x2 : y2) += d * 20.0F;
            break;
        }
        segments.push_back({x1, y1, x2, y2});
    }
    return segments;
}

// Folds the lit pixels of one segment's image into a running FNV-1a hash.
struct PixelHash {
    std::uint64_t value = 0xCBF29CE484222325ULL;
    void Add(std::uint64_t word)
    {
        for (int i = 0; i < 8; ++i, word >>= 8) value = (value ^ (word & 0xFF)) * 0x100000001B3ULL;
    }
};

}  // namespace trelvano::support
