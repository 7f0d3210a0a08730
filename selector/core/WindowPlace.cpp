#include "core/WindowPlace.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace cb {

namespace {

// Sizes and edges in 64 bits: a stored rectangle may span the whole 32-bit range.
struct TSpan
{
    std::int64_t Left, Top, Right, Bottom;
};

std::int64_t Overlap(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1)
{
    return std::max<std::int64_t>(0, std::min(a1, b1) - std::max(a0, b0));
}

std::int64_t Gap(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1)
{
    return std::max<std::int64_t>({0, b0 - a1, a0 - b1});
}

// `edge` moved so that [edge, edge + size) lies within [low, high); a span
// larger than the range starts at `low`.
std::int64_t Into(std::int64_t edge, std::int64_t size, std::int64_t low, std::int64_t high)
{
    return std::max(low, std::min(edge, high - size));
}

} // namespace

TScreenRect PlaceOnWorkAreas(const TScreenRect& stored, int minWidth, int minHeight, int grip,
                             const std::vector<TScreenRect>& workAreas)
{
    std::int64_t width = std::max<std::int64_t>(std::int64_t{stored.Right} - stored.Left, minWidth);
    std::int64_t height = std::max<std::int64_t>(std::int64_t{stored.Bottom} - stored.Top, minHeight);
    std::int64_t left = stored.Left;
    std::int64_t top = stored.Top;

    const TScreenRect* chosen = nullptr;
    bool visible = false;
    std::int64_t best = -1;
    for (const TScreenRect& a : workAreas) {
        const std::int64_t across = Overlap(left, left + width, a.Left, a.Right);
        const std::int64_t down = Overlap(top, top + height, a.Top, a.Bottom);
        if (across >= grip && down >= grip && across * down > best) {
            best = across * down;
            chosen = &a;
            visible = true;
        }
    }
    if (!chosen) {
        double nearest = std::numeric_limits<double>::infinity();
        for (const TScreenRect& a : workAreas) {
            const double dx = static_cast<double>(Gap(left, left + width, a.Left, a.Right));
            const double dy = static_cast<double>(Gap(top, top + height, a.Top, a.Bottom));
            if (dx * dx + dy * dy < nearest) {
                nearest = dx * dx + dy * dy;
                chosen = &a;
            }
        }
    }

    if (chosen) {
        const std::int64_t areaWidth = std::int64_t{chosen->Right} - chosen->Left;
        const std::int64_t areaHeight = std::int64_t{chosen->Bottom} - chosen->Top;
        const bool shrunk = width > areaWidth || height > areaHeight;
        width = std::min(width, areaWidth);
        height = std::min(height, areaHeight);
        if (!visible || shrunk) {
            left = Into(left, width, chosen->Left, chosen->Right);
            top = Into(top, height, chosen->Top, chosen->Bottom);
        }
    }
    // Without work areas a huge stored rectangle could still overflow.
    constexpr std::int64_t low = std::numeric_limits<int>::min();
    constexpr std::int64_t high = std::numeric_limits<int>::max();
    left = std::clamp(left, low, high);
    top = std::clamp(top, low, high);
    return {static_cast<int>(left), static_cast<int>(top),
            static_cast<int>(std::clamp(left + width, low, high)),
            static_cast<int>(std::clamp(top + height, low, high))};
}

} // namespace cb
