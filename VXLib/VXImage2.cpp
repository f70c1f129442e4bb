// VXImage2: creation with the top-down height sense, orientation flip, conversion
// with nearest-neighbour scaling, shifts and reset.
#include "VXLib/VXImage2.h"

#include "VXLib/VXRowTransfer.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace morvessan {

VXImage2::~VXImage2() { releaseDeviceObjects(); }

VXImage2::VXImage2(VXImage2&& other) noexcept : VXDIBBuffer(std::move(other)) {
    m_transparent_colour = std::exchange(other.m_transparent_colour, -1);
    m_has_alpha = std::exchange(other.m_has_alpha, false);
    m_section = std::exchange(other.m_section, nullptr);
    m_memory_dc = std::exchange(other.m_memory_dc, nullptr);
    m_old_object = std::exchange(other.m_old_object, nullptr);
}

VXImage2& VXImage2::operator=(VXImage2&& other) noexcept {
    if (this != &other) {
        releaseDeviceObjects();
        VXDIBBuffer::operator=(std::move(other));
        m_transparent_colour = std::exchange(other.m_transparent_colour, -1);
        m_has_alpha = std::exchange(other.m_has_alpha, false);
        m_section = std::exchange(other.m_section, nullptr);
        m_memory_dc = std::exchange(other.m_memory_dc, nullptr);
        m_old_object = std::exchange(other.m_old_object, nullptr);
    }
    return *this;
}

#if !defined(_WIN32)
// Without a window system there are no sections or contexts to release.
void VXImage2::releaseDeviceObjects() {}
#endif

bool VXImage2::create(int width, int height, int bitCount, const VXPalette* palette) {
    releaseDeviceObjects();
    if (height == std::numeric_limits<int>::min()) {
        release();
        return false;
    }
    return VXDIBBuffer::create(width, -height, bitCount, palette);
}

int VXImage2::height() const { return isEmpty() ? -1 : -header()->height; }

void VXImage2::reset() {
    releaseDeviceObjects();
    release();
    m_transparent_colour = -1;
    m_has_alpha = false;
}

void VXImage2::flipOrientation() {
    if (isEmpty())
        return;
    const int n = rows();
    const std::uint32_t s = stride();
    std::vector<std::uint8_t> scratch(s);
    std::uint8_t* b = bits();
    for (int i = 0; i < n / 2; ++i) {
        std::uint8_t* a = b + std::size_t(i) * s;
        std::uint8_t* z = b + std::size_t(n - 1 - i) * s;
        std::memcpy(scratch.data(), a, s);
        std::memcpy(a, z, s);
        std::memcpy(z, scratch.data(), s);
    }
    header()->height = -header()->height;
}

bool VXImage2::convert(int width, int height, int bitCount, const VXImage2& source, const VXPalette* palette) {
    if (source.isEmpty() || source.bitCount() == 16 || width <= 0 || height <= 0)
        return false;
    if (bitCount != 8 && bitCount != 24 && bitCount != 32)
        return false;
    VXPalette table = palette && palette->count() > 0 ? *palette : VXPalette::defaultPalette();
    VXDIBBuffer result;
    if (!result.create(width, height, bitCount, bitCount == 8 ? &table : nullptr))
        return false;
    const bool keepAlpha = source.hasAlpha();
    const int sourceRows = source.rows();
    std::vector<std::uint32_t> sourceRow(static_cast<std::size_t>(source.width()));
    std::vector<std::uint32_t> destinationRow(static_cast<std::size_t>(width));
    const std::vector<int> columns = vxNearestIndices(source.width(), width);
    // Destination row i takes source row ⌊i × sourceRows / height⌋; the source row is
    // unpacked again only when that quotient changes.
    std::int64_t accumulator = 0;
    int unpacked = -1;
    for (int i = 0; i < height; ++i, accumulator += sourceRows) {
        const int sourceY = int(accumulator / height);
        if (sourceY != unpacked) {
            vxUnpackRow(source, sourceY, sourceRow.data(), keepAlpha);
            unpacked = sourceY;
        }
        for (int j = 0; j < width; ++j)
            destinationRow[j] = sourceRow[columns[j]];
        vxPackRow(destinationRow.data(), result, i, &table);
    }
    const bool hadTransparent = hasTransparentColour();
    releaseDeviceObjects();
    VXDIBBuffer::operator=(std::move(result));
    m_has_alpha = keepAlpha && bitCount == 32;
    if (hadTransparent)
        m_transparent_colour = std::int32_t(kMagenta);
    return true;
}

void VXImage2::shiftRows(int n) {
    const int count = rows();
    if (isEmpty() || std::abs(std::int64_t(n)) >= count)
        return;
    const std::size_t s = stride();
    const std::size_t k = std::size_t(std::abs(n));
    if (n > 0)
        std::memmove(bits() + k * s, bits(), (count - k) * s);
    else
        std::memmove(bits(), bits() + k * s, (count - k) * s);
}

void VXImage2::shiftColumns(int n) {
    const int w = VXDIBBuffer::width();
    if (isEmpty() || bitCount() < 8 || std::abs(std::int64_t(n)) >= w)
        return;
    const std::size_t bytesPerPixel = std::size_t(bitCount() / 8);
    const std::size_t k = std::size_t(std::abs(n)) * bytesPerPixel;
    const std::size_t rowBytes = std::size_t(w) * bytesPerPixel;
    for (int y = 0; y < rows(); ++y) {
        std::uint8_t* r = bits() + std::size_t(y) * stride();
        if (n > 0)
            std::memmove(r + k, r, rowBytes - k);
        else
            std::memmove(r, r + k, rowBytes - k);
    }
}

} // namespace morvessan
