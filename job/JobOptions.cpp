// The job's options looked up by keyword, and their values checked against their
// ranges with the same words in every front end.
#include "job/JobOptions.h"

#include "texture/TextureFieldTable.h"
#include "job/JobError.h"

#include <algorithm>

namespace morvessan::job {

const JobOption* findJobOption(std::string_view keyword) {
    for (const JobOption& option : kJobOptions) {
        if (option.keyword == keyword) {
            return &option;
        }
    }
    return nullptr;
}

std::string rangeText(const JobOption& option) {
    return formatShortest(option.low) + ".." + formatShortest(option.high);
}

std::int32_t jobInteger(const JobOption& option, std::string_view text, std::string_view name) {
    const std::string given(text);
    const bool negative = !text.empty() && text[0] == '-';
    const bool digits =
        text.size() > (negative ? 1u : 0u) && text.size() <= (negative ? 11u : 10u) &&
        std::all_of(text.begin() + (negative ? 1 : 0), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) {
        throw requestError(std::string(name) + " '" + given + "' is not a whole number");
    }
    return jobInteger(option, std::stoll(given), name);
}

std::int32_t jobInteger(const JobOption& option, std::int64_t value, std::string_view name) {
    if (double(value) < option.low || double(value) > option.high) {
        throw requestError(std::string(name) + " " + std::to_string(value) + " is outside " + rangeText(option));
    }
    return static_cast<std::int32_t>(value);
}

} // namespace morvessan::job
