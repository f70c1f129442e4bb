// What every run's texture edits need to know of the run, the transformation
// steps of the dialog's buttons, and the checks before a block reaches the filter.
#pragma once

#include "texture/TexturePreset.h"
#include "texture/TextureTransform.h"

#include <cstdint>
#include <optional>
#include <string>

namespace morvessan::job {

// What the edits need to know of the run.
struct FieldEditContext {
    double width = 1; // size of the filter rectangle in pixels: the unit of --move
    double height = 1;
    std::string texturesDir;                // where --picture NAME is looked up
    std::optional<std::int32_t> randomSeed; // what "--seed random" gives, when chosen already
    // --pattern-size: pixels to the pattern's unit in both directions; 0 when the
    // filter rectangle is the unit, stretched to its shape.
    double patternSize = 0;
};

// The pattern's frame the steps act in: the unit square, or with a pattern size
// the rectangle measured in pattern units, so that steps turn and scale the pattern
// about the rectangle's centre without stretching it.
TransformView stepView(const FieldEditContext& context);
// With a pattern size, maps the filter rectangle onto the pattern's frame (the
// last thing before a run, after every step); without one, leaves `m` as it is.
void applyPatternSize(TextureTransform& m, const FieldEditContext& context);

// The filter renders without a texture picture it cannot load: a run that asks for
// one is refused instead, with the cause (a JobError). Each picture is checked once.
void checkTexturePicture(const std::string& path);

// A request error when `m` cannot place a texture (not finite, or not invertible): a
// block is never written with one, since hosts that run with floating-point
// exceptions on would trap on it. `fix` says how to mend it on this command.
void checkTransformation(const TextureTransform& m, const std::string& fix);

// The transformation steps: the dialog's own operations about the rectangle's
// centre.
void moveStep(TextureTransform& m, const FieldEditContext& context, double dx, double dy);
void rotateStep(TextureTransform& m, const FieldEditContext& context, double degrees);
void scaleStep(TextureTransform& m, const FieldEditContext& context, double sx, double sy);

} // namespace morvessan::job
