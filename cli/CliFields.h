// The options that edit the texture before a run: --set FIELD=VALUE, the
// shorthands
// (--type, --seed, --colours ...) and the transformation steps, applied in the
// order given.
#pragma once

#include "cli/CliSupport.h"
#include "job/JobEdits.h"
#include "texture/TextureFieldTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace morvessan::cli {

// Option names for Arguments: with a value, and without (the --per-frame ones included).
const std::vector<std::string>& fieldValuedOptions();
const std::vector<std::string>& fieldFlagOptions();

// The help of those options, with every field, its range and its default.
std::string fieldOptionsHelp();

// The seed "--seed random" gives, chosen once for the whole command and printed on
// stderr; none without that option.
std::optional<std::int32_t> chooseRandomSeed(const Arguments& args);
// A seed from kRandomSeedLow to kRandomSeedHigh, printed on stderr so that the picture can be made again.
std::int32_t drawSeed();

// Whether `args` holds any --per-frame option.
bool hasFrameSteps(const Arguments& args);
// The --per-frame steps of a sequence: frame k holds them applied k times over, in
// the order given each time. Each frame is reached from the one before it by one
// more round, so N frames in order cost N rounds in all, not N * N / 2.
class FrameSteps {
public:
    explicit FrameSteps(const Arguments& args);
    // Turns frame 0's `fields` into frame `frame`'s: on from the last frame reached
    // when that was of the same fields and context and not later, else from frame 0.
    void apply(TextureFields& fields, const FieldEditContext& context, int frame);
    // Rounds of steps applied so far.
    std::int64_t rounds() const { return m_rounds; }

private:
    void round(TextureFields& fields, const FieldEditContext& context);

    std::vector<std::pair<std::string, std::string>> m_steps;
    TextureFields m_start{};
    TextureFields m_reached{};
    double m_width = 0;
    double m_height = 0;
    double m_pattern_size = 0;
    int m_frame = -1;
    std::int64_t m_rounds = 0;
};

// Applies "FIELD=VALUE", or a usage error naming the field and its range.
void applyAssignment(TextureFields& fields, const std::string& assignment);

// Whether `args` holds any texture option.
bool hasFieldOptions(const Arguments& args);

// Applies every texture option of `args` in the order given; true when there
// was any.
// "--seed random" takes context.randomSeed, or chooses one and prints it on stderr.
bool applyFieldOptions(const Arguments& args, TextureFields& fields, const FieldEditContext& context);

// "A,B": two numbers, or a usage error naming `what`.
void parsePair(const std::string& text, double& a, double& b, const std::string& what);
// One number, or a usage error naming `what`.
double parseNumber(const std::string& text, const std::string& what);

} // namespace morvessan::cli
