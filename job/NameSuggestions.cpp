// Nearest names by edit distance, and names matched without regard to case, for
// the command line's messages.
#include "job/NameSuggestions.h"

#include "VXLib/VXUTIL/VXAsciiCase.h"

#include <algorithm>

namespace morvessan::job {

std::size_t editDistance(std::string_view a, std::string_view b) {
    // Three rows of the table are enough for a swap of neighbours.
    std::vector<std::size_t> before(b.size() + 1);
    std::vector<std::size_t> previous(b.size() + 1);
    std::vector<std::size_t> current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        previous[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const bool same = lowerAscii(a[i - 1]) == lowerAscii(b[j - 1]);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && lowerAscii(a[i - 1]) == lowerAscii(b[j - 2]) &&
                lowerAscii(a[i - 2]) == lowerAscii(b[j - 1])) {
                current[j] = std::min(current[j], before[j - 2] + 1);
            }
        }
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[b.size()];
}

std::vector<std::string> nearestNames(std::string_view typed, const std::vector<std::string>& candidates) {
    // One slip in a short name, about one in four in a longer one, never more than three;
    // and never a name that shares less than it differs by.
    const std::size_t limit = std::min<std::size_t>(3, std::max<std::size_t>(1, typed.size() / 4));
    std::size_t best = limit + 1;
    std::vector<std::string> nearest;
    for (const std::string& candidate : candidates) {
        const std::size_t distance = editDistance(typed, candidate);
        if (distance >= std::max(typed.size(), candidate.size()) || distance > best) {
            continue;
        }
        if (distance < best) {
            best = distance;
            nearest.clear();
        }
        if (std::find(nearest.begin(), nearest.end(), candidate) == nearest.end()) {
            nearest.push_back(candidate);
        }
    }
    return nearest;
}

std::string didYouMean(std::string_view typed, const std::vector<std::string>& candidates) {
    const std::vector<std::string> nearest = nearestNames(typed, candidates);
    if (nearest.empty()) {
        return {};
    }
    std::string text = " (did you mean ";
    for (std::size_t i = 0; i < nearest.size() && i < 3; ++i) {
        text += (i == 0                                              ? ""
                 : i + 1 == std::min<std::size_t>(nearest.size(), 3) ? " or "
                                                                     : ", ") +
                ("'" + nearest[i] + "'");
    }
    return text + "?)";
}

std::vector<std::size_t> caseMatches(std::string_view typed, const std::vector<std::string>& candidates) {
    std::vector<std::size_t> matches;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i] == typed) {
            return {i};
        }
        if (equalsIgnoreCase(candidates[i], typed)) {
            matches.push_back(i);
        }
    }
    return matches;
}

} // namespace morvessan::job
