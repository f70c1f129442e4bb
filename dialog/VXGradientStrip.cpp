// The gradient strip's table: the stops flattened as the renderer does, at full total opacity.
#include "dialog/VXGradientStrip.h"

namespace morvessan {

std::vector<ColourEntry> gradientStripTable(const GradientStops& stops) {
    TextureFields fields{};
    // The strip edits the stops: the texture's opacity applies to the image, not to them.
    fields.totalOpacity = 100.0;
    stops.storeInFields(fields);
    return buildColourTable(fields, ColourOrder::Display);
}

} // namespace morvessan
