// The block's seamless byte read as a pattern space, with the one refusal the
// command line gives for a transformation that cannot tile.
#include "texture/SeamlessTile.h"

#include "texture/PatternField.h"

namespace morvessan {

bool seamlessAsked(const FilterParameters& block) { return block.seamless != 0; }

void setSeamless(FilterParameters& block, bool on) { block.seamless = on ? 1 : 0; }

std::string seamlessRefusal(const TextureTransform& transformation) {
    PatternSpace tile;
    tile.tileable = true;
    return patternRefusal(transformation, tile);
}

PatternSpace drawnPatternSpace(const FilterParameters& block, const PatternSpace& asked) {
    PatternSpace space = asked;
    if (!space.tileable && seamlessAsked(block)) {
        PatternSpace tile = space;
        tile.tileable = true;
        if (patternProblem(block.texture.transformation, tile).empty()) {
            space = tile;
        }
    }
    return space;
}

} // namespace morvessan
