// "Did you mean ...": the nearest known name to a mistyped one, and names matched
// without regard to ASCII case when that picks one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace morvessan::job {

// Edits (insert, delete, replace, swap two neighbours) from `a` to `b`, ignoring ASCII case.
std::size_t editDistance(std::string_view a, std::string_view b);

// The candidates nearest to `typed` and near enough to be a slip of the keys;
// empty when none is. Several only when they are equally near.
std::vector<std::string> nearestNames(std::string_view typed, const std::vector<std::string>& candidates);

// " (did you mean 'render'?)", " (did you mean 'Oak' or 'Oaks'?)", or "" when nothing is near.
std::string didYouMean(std::string_view typed, const std::vector<std::string>& candidates);

// The candidates equal to `typed` without regard to ASCII case; an exact match alone when there is one.
std::vector<std::size_t> caseMatches(std::string_view typed, const std::vector<std::string>& candidates);

} // namespace morvessan::job
