// Placement fitting in 64-bit arithmetic, so rectangles read back from the settings
// with wild coordinates cannot overflow on their way into a work area.
#include "dialog/VXPlacement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace morvessan {

namespace {

// Gap between two spans along one axis; 0 when they touch or overlap.
std::int64_t gap(std::int64_t low1, std::int64_t high1, std::int64_t low2, std::int64_t high2) {
    if (high1 < low2)
        return low2 - high1;
    if (high2 < low1)
        return low1 - high2;
    return 0;
}

std::int64_t overlap(std::int64_t low1, std::int64_t high1, std::int64_t low2, std::int64_t high2) {
    return std::max<std::int64_t>(0, std::min(high1, high2) - std::max(low1, low2));
}

std::int32_t saturate(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

} // namespace

int nearestWorkArea(const VXRectI& rect, const std::vector<VXRectI>& workAreas) {
    int best = -1;
    std::int64_t bestArea = 0;
    for (std::size_t i = 0; i < workAreas.size(); ++i) {
        const VXRectI& area = workAreas[i];
        const std::int64_t common = overlap(rect.left, rect.right, area.left, area.right) *
                                    overlap(rect.top, rect.bottom, area.top, area.bottom);
        if (common > bestArea) {
            bestArea = common;
            best = static_cast<int>(i);
        }
    }
    if (best >= 0) {
        return best;
    }
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < workAreas.size(); ++i) {
        const VXRectI& area = workAreas[i];
        const std::int64_t dx = gap(rect.left, rect.right, area.left, area.right);
        const std::int64_t dy = gap(rect.top, rect.bottom, area.top, area.bottom);
        // Gaps reach 2^32, so their squares are summed as doubles.
        const double distance = double(dx) * double(dx) + double(dy) * double(dy);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

VXRectI fitPlacement(const VXRectI& saved, const VXSizeI& natural, const std::vector<VXRectI>& workAreas) {
    std::int64_t left = std::min(saved.left, saved.right);
    std::int64_t right = std::max(saved.left, saved.right);
    std::int64_t top = std::min(saved.top, saved.bottom);
    std::int64_t bottom = std::max(saved.top, saved.bottom);
    right = std::max<std::int64_t>(right, left + natural.width);
    bottom = std::max<std::int64_t>(bottom, top + natural.height);

    VXRectI grown{saturate(left), saturate(top), saturate(right), saturate(bottom)};
    const int index = nearestWorkArea(grown, workAreas);
    if (index < 0) {
        return grown;
    }
    const VXRectI& area = workAreas[static_cast<std::size_t>(index)];
    auto shift = [](std::int64_t& low, std::int64_t& high, std::int64_t by) {
        low += by;
        high += by;
    };
    if (top < area.top)
        shift(top, bottom, area.top - top);
    if (bottom > area.bottom)
        shift(top, bottom, area.bottom - bottom);
    if (left < area.left)
        shift(left, right, area.left - left);
    if (right > area.right)
        shift(left, right, area.right - right);
    return {saturate(std::max<std::int64_t>(left, area.left)), saturate(std::max<std::int64_t>(top, area.top)),
            saturate(std::min<std::int64_t>(right, area.right)), saturate(std::min<std::int64_t>(bottom, area.bottom))};
}

} // namespace morvessan
