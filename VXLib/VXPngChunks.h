// The libpng settings every reader of outside PNG data uses: no chunk may claim more
// memory than a real one needs, and chunks that carry nothing the pictures use are skipped.
#pragma once

#include <png.h>

namespace morvessan {

// libpng only warns about a chunk whose declared size is absurd and then allocates
// it, so the cap and the skipping must be set before png_read_info. With `metadata`
// the profile, EXIF and resolution chunks (iCCP, eXIf, pHYs) are read, not skipped.
void vxLimitPngChunks(png_structp png, bool metadata = false);

} // namespace morvessan
