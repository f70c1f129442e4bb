// The options that edit the texture before a run: --set FIELD=VALUE, the
// shorthands
// (--type, --seed, --colours ...) and the transformation steps, applied in the
// order given.
#pragma once

#include "host/cli/CliSupport.h"
#include "texture/TextureFieldTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvessan::cli {

// Option names for Arguments: with a value, and without (the --per-frame ones included).
const std::vector<std::string>& fieldValuedOptions();
const std::vector<std::string>& fieldFlagOptions();

// The help of those options, with every field, its range and its default.
std::string fieldOptionsHelp();

// What the edits need to know of the run.
struct FieldEditContext {
    double width = 1; // size of the filter rectangle in pixels: the unit of --move
    double height = 1;
    std::string texturesDir;                // where --picture NAME is looked up
    std::optional<std::int32_t> randomSeed; // what "--seed random" gives, when chosen already
};

// The seed "--seed random" gives, chosen once for the whole command and printed on
// stderr; none without that option.
std::optional<std::int32_t> chooseRandomSeed(const Arguments& args);

// Whether `args` holds any --per-frame option.
bool hasFrameSteps(const Arguments& args);
// Applies the --per-frame steps `times` times over, in the order given each time.
void applyFrameSteps(const Arguments& args, TextureFields& fields, const FieldEditContext& context, int times);

// Applies "FIELD=VALUE", or a usage error naming the field and its range.
void applyAssignment(TextureFields& fields, const std::string& assignment);

// Whether `args` holds any texture option.
bool hasFieldOptions(const Arguments& args);

// Applies every texture option of `args` in the order given; true when there
// was any.
// "--seed random" takes context.randomSeed, or chooses one and prints it on stderr.
bool applyFieldOptions(const Arguments& args, TextureFields& fields, const FieldEditContext& context);

// The transformation steps: the dialog's own operations about the rectangle's
// centre.
void moveStep(TextureTransform& m, const FieldEditContext& context, double dx, double dy);
void rotateStep(TextureTransform& m, double degrees);
void scaleStep(TextureTransform& m, double sx, double sy);

// "A,B": two numbers, or a usage error naming `what`.
void parsePair(const std::string& text, double& a, double& b, const std::string& what);
// One number, or a usage error naming `what`.
double parseNumber(const std::string& text, const std::string& what);

} // namespace morvessan::cli
