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

std::int32_t parseInteger(const std::string& text, std::int32_t low, std::int32_t high, const std::string& what) {
    const bool digits =
        !text.empty() && text.size() <= (text[0] == '-' ? 11u : 10u) &&
        std::all_of(text.begin() + (text[0] == '-' ? 1 : 0), text.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        text != "-";
    if (!digits) {
        throw requestError(what + " '" + text + "' is not a whole number");
    }
    const long long value = std::stoll(text);
    if (value < low || value > high) {
        throw requestError(what + " " + text + " is outside " + std::to_string(low) + ".." + std::to_string(high));
    }
    return static_cast<std::int32_t>(value);
}

std::vector<std::string_view> choiceWords(const JobOption& option) {
    std::vector<std::string_view> words;
    std::string_view rest = option.value;
    while (!rest.empty()) {
        const std::size_t bar = rest.find('|');
        words.push_back(rest.substr(0, bar));
        rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
    }
    return words;
}

std::int32_t jobChoice(const JobOption& option, std::string_view text, std::string_view name) {
    const std::vector<std::string_view> words = choiceWords(option);
    std::string listed;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == text) {
            return static_cast<std::int32_t>(i);
        }
        listed += std::string(i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + std::string(words[i]);
    }
    throw requestError(std::string(name) + " '" + std::string(text) + "' is not " + listed);
}

double jobNumber(const JobOption& option, double value, std::string_view name) {
    if (!(value >= option.low && value <= option.high)) {
        throw requestError(std::string(name) + " " + formatShortest(value) + " is outside " + rangeText(option));
    }
    return value;
}

VXPngCompression jobCompression(std::string_view text, std::string_view name) {
    static_assert(jobOption("compression").value == "fast|default|small", "the words map onto the levels in order");
    constexpr VXPngCompression kLevels[] = {VXPngCompression::Fast, VXPngCompression::Default, VXPngCompression::Small};
    return kLevels[jobChoice(jobOption("compression"), text, name)];
}

std::int32_t jobInteger(const JobOption& option, const std::string& text, const std::string& name) {
    return parseInteger(text, static_cast<std::int32_t>(option.low), static_cast<std::int32_t>(option.high), name);
}

std::int32_t jobInteger(const JobOption& option, std::int64_t value, std::string_view name) {
    if (double(value) < option.low || double(value) > option.high) {
        throw requestError(std::string(name) + " " + std::to_string(value) + " is outside " + rangeText(option));
    }
    return static_cast<std::int32_t>(value);
}

} // namespace morvessan::job
