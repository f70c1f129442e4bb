// The texture picture of "Apply Texture" as the 8-bit map the renderer samples,
// shared while its file is unchanged.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace morvessan {

class VXImage2;

// The 8-bit map of the texture picture at `path`; the neutral 20 × 20 map of 128
// when the file cannot be used. The last picture is decoded once and shared while
// its file keeps its path, size and modification time and a caller still holds it;
// once every caller has let it go, its memory is free. A picture too large for a
// texture (textureMapSizeProblem) gives the neutral map, never decoded.
std::shared_ptr<const VXImage2> loadTextureMap(const std::string& path);

// The most a texture picture may have: its map alone takes a byte a pixel and its
// decoding three more, so a photo of any size must not take the host's memory.
inline constexpr std::int64_t kMaxTexturePixels = std::int64_t(8192) * 8192;
inline constexpr std::uint64_t kMaxTextureFileBytes = std::uint64_t(256) << 20;

// Why the picture at `path` is too large to be used as a texture picture ("it is
// 30000 x 30000 pixels, more than ..."), from its file's size and its header alone;
// empty when it is not, or cannot be told (the loader then decides).
std::string textureMapSizeProblem(const std::string& path);

} // namespace morvessan
