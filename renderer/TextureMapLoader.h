// The texture picture of "Apply Texture" as the 8-bit map the renderer samples,
// shared while its file is unchanged.
#pragma once

#include <memory>
#include <string>

namespace morvessan {

class VXImage2;

// The 8-bit map of the texture picture at `path`; the neutral 20 × 20 map of 128
// when the file cannot be used. The last picture is decoded once and shared while
// its file keeps its path, size and modification time and a caller still holds it;
// once every caller has let it go, its memory is free.
std::shared_ptr<const VXImage2> loadTextureMap(const std::string& path);

} // namespace morvessan
