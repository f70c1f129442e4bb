// VXDIBBuffer: allocation, attachment, addressing and the colour operations of
// packed device-independent bitmaps.
#include "VXLib/VXDIBBuffer.h"

#include "VXLib/VXMaskDIBBuffer.h"
#include "VXLib/VXPalette.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace morvessan {

namespace {

bool isSupportedBitCount(int bitCount) {
    return bitCount == 1 || bitCount == 2 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}

// Geometry every buffer must have: one we can address and whose pixels fit the limits.
bool isSaneHeader(const VXBitmapInfoHeader& h) {
    if (h.size != 40 || !isSupportedBitCount(h.bitCount))
        return false;
    if (h.compression != kCompressionRGB &&
        !(h.compression == kCompressionBitFields && (h.bitCount == 16 || h.bitCount == 32)))
        return false;
    if (h.width <= 0 || h.width > kMaxImageDimension || h.height == 0 || h.height < -kMaxImageDimension ||
        h.height > kMaxImageDimension)
        return false;
    return vxStride(h.width, h.bitCount) * std::uint64_t(std::abs(h.height)) <= vxImageByteLimit();
}

// The bytes a packed bitmap (header, colour table, pixels) at `data` takes, or 0
// when its header is not a sane one or `size` bytes do not hold it all.
std::uint64_t packedSize(const std::uint8_t* data, std::size_t size) {
    VXBitmapInfoHeader h;
    std::memcpy(&h, data, sizeof h);
    if (!isSaneHeader(h))
        return 0;
    const std::uint64_t needed =
        vxHeaderBlockSize(h) + vxStride(h.width, h.bitCount) * std::uint64_t(std::abs(h.height));
    return size < needed ? 0 : needed;
}

std::uint64_t g_image_byte_limit = kMaxImageBytes;

// 5-5-5 word of a colour value.
std::uint16_t to555(std::uint32_t c) {
    return std::uint16_t(((vxRed(c) >> 3) << 10) | ((vxGreen(c) >> 3) << 5) | (vxBlue(c) >> 3));
}

std::uint32_t from555(std::uint32_t w) {
    return vxRGB(std::uint8_t(((w >> 10) & 0x1F) << 3), std::uint8_t(((w >> 5) & 0x1F) << 3),
                 std::uint8_t((w & 0x1F) << 3));
}

} // namespace

std::uint64_t vxImageByteLimit() { return g_image_byte_limit; }

void vxSetImageByteLimit(std::uint64_t bytes) { g_image_byte_limit = std::min(bytes, kMaxImageBytes); }

std::uint64_t vxStride(std::int64_t width, int bitCount) {
    if (width <= 0 || bitCount <= 0)
        return 0;
    const std::uint64_t bytes = (std::uint64_t(width) * std::uint64_t(bitCount) + 7) / 8;
    return (bytes + 3) / 4 * 4;
}

int vxColourTableEntries(const VXBitmapInfoHeader& header) {
    if (header.bitCount > 8 || header.bitCount == 0)
        return 0;
    const std::uint32_t full = 1u << header.bitCount;
    return int(header.clrUsed != 0 && header.clrUsed < full ? header.clrUsed : full);
}

std::uint32_t vxHeaderBlockSize(const VXBitmapInfoHeader& header) {
    const int entries = vxColourTableEntries(header);
    if (header.compression == kCompressionBitFields && entries == 0)
        return 52;
    return 40 + 4 * std::uint32_t(entries);
}

VXDIBBuffer::VXDIBBuffer(VXDIBBuffer&& other) noexcept { *this = std::move(other); }

VXDIBBuffer& VXDIBBuffer::operator=(VXDIBBuffer&& other) noexcept {
    if (this != &other) {
        m_block = std::move(other.m_block);
        m_block_size = std::exchange(other.m_block_size, 0);
        m_header = std::exchange(other.m_header, nullptr);
        m_bits = std::exchange(other.m_bits, nullptr);
        m_image_size = std::exchange(other.m_image_size, 0);
        m_stride = std::exchange(other.m_stride, 0);
        m_owns_memory = std::exchange(other.m_owns_memory, false);
        m_packed = std::exchange(other.m_packed, false);
    }
    return *this;
}

void VXDIBBuffer::release() {
    m_block.reset();
    m_block_size = 0;
    m_header = nullptr;
    m_bits = nullptr;
    m_image_size = 0;
    m_stride = 0;
    m_owns_memory = false;
    m_packed = false;
}

void VXDIBBuffer::recomputeGeometry() {
    m_stride = std::uint32_t(vxStride(m_header->width, m_header->bitCount));
    m_image_size = m_stride * std::uint32_t(std::abs(m_header->height));
}

void VXDIBBuffer::adopt(VXAutoArrayPtr<std::uint8_t> block, std::size_t size, bool packed, std::uint8_t* bits) {
    m_block = std::move(block);
    m_block_size = size;
    m_header = reinterpret_cast<VXBitmapInfoHeader*>(m_block.get());
    m_owns_memory = true;
    m_packed = packed;
    m_bits = packed ? m_block.get() + vxHeaderBlockSize(*m_header) : bits;
    recomputeGeometry();
}

bool VXDIBBuffer::create(int width, int height, int bitCount, const VXPalette* palette) {
    release();
    VXBitmapInfoHeader h;
    h.width = width;
    h.height = height;
    h.bitCount = std::uint16_t(bitCount);
    if (!isSupportedBitCount(bitCount) || !isSaneHeader(h))
        return false;
    const std::uint32_t headerBlock = vxHeaderBlockSize(h);
    const std::size_t size = headerBlock + vxStride(width, bitCount) * std::uint64_t(std::abs(height));
    VXAutoArrayPtr<std::uint8_t> block(new std::uint8_t[size]());
    std::memcpy(block.get(), &h, sizeof h);
    auto* table = reinterpret_cast<VXRGBQuad*>(block.get() + 40);
    if (bitCount == 8 && palette != nullptr && palette->entries() != nullptr)
        std::copy_n(palette->entries(), std::min(palette->count(), 256), table);
    if (bitCount == 1)
        table[1] = VXRGBQuad{255, 255, 255, 0};
    adopt(std::move(block), size, true, nullptr);
    return true;
}

bool VXDIBBuffer::attachOwn(VXAutoArrayPtr<std::uint8_t> block, std::size_t size) {
    release();
    if (!block || size < sizeof(VXBitmapInfoHeader))
        return false;
    if (packedSize(block.get(), size) == 0)
        return false;
    adopt(std::move(block), size, true, nullptr);
    return true;
}

bool VXDIBBuffer::attachCopy(const std::uint8_t* data, std::size_t size) {
    release();
    if (data == nullptr || size < sizeof(VXBitmapInfoHeader))
        return false;
    const std::uint64_t needed = packedSize(data, size);
    if (needed == 0)
        return false;
    VXAutoArrayPtr<std::uint8_t> block(new std::uint8_t[needed]);
    std::memcpy(block.get(), data, needed);
    adopt(std::move(block), needed, true, nullptr);
    return true;
}

bool VXDIBBuffer::attachExternal(VXBitmapInfoHeader* header, std::uint8_t* bits) {
    release();
    if (header == nullptr || bits == nullptr || !isSaneHeader(*header))
        return false;
    m_header = header;
    m_bits = bits;
    recomputeGeometry();
    return true;
}

int VXDIBBuffer::width() const { return m_header ? m_header->width : -1; }

int VXDIBBuffer::height() const { return m_header ? m_header->height : -1; }

int VXDIBBuffer::bitCount() const { return m_header ? m_header->bitCount : -1; }

int VXDIBBuffer::rows() const { return m_header ? std::abs(m_header->height) : 0; }

VXRGBQuad* VXDIBBuffer::colourTable() {
    return m_header && colourTableEntries() > 0
               ? reinterpret_cast<VXRGBQuad*>(reinterpret_cast<std::uint8_t*>(m_header) + 40)
               : nullptr;
}

const VXRGBQuad* VXDIBBuffer::colourTable() const { return const_cast<VXDIBBuffer*>(this)->colourTable(); }

std::uint8_t* VXDIBBuffer::row(int y) {
    if (m_header == nullptr || y < 0 || y >= rows())
        return nullptr;
    const int stored = m_header->height > 0 ? rows() - y - 1 : y;
    return m_bits + std::size_t(stored) * m_stride;
}

const std::uint8_t* VXDIBBuffer::row(int y) const { return const_cast<VXDIBBuffer*>(this)->row(y); }

std::uint8_t* VXDIBBuffer::pixelAddress(int x, int y, int* shift) {
    if (m_header == nullptr || x < 0 || x >= m_header->width)
        return nullptr;
    std::uint8_t* r = row(y);
    if (r == nullptr)
        return nullptr;
    int s = 0;
    std::uint8_t* p = nullptr;
    switch (m_header->bitCount) {
    case 1:
        p = r + x / 8;
        s = 7 - x % 8;
        break;
    case 2:
        p = r + x / 4;
        s = 6 - 2 * (x % 4);
        break;
    case 4:
        p = r + x / 2;
        s = (x % 2) ? 0 : 4;
        break;
    default: p = r + std::size_t(x) * (m_header->bitCount / 8); break;
    }
    if (shift)
        *shift = s;
    return p;
}

const std::uint8_t* VXDIBBuffer::pixelAddress(int x, int y, int* shift) const {
    return const_cast<VXDIBBuffer*>(this)->pixelAddress(x, y, shift);
}

std::uint32_t VXDIBBuffer::pixel(int x, int y) const {
    int shift = 0;
    const std::uint8_t* p = pixelAddress(x, y, &shift);
    if (p == nullptr)
        return 0;
    switch (m_header->bitCount) {
    case 1: return (*p >> shift) & 1u;
    case 2: return (*p >> shift) & 3u;
    case 4: return (*p >> shift) & 15u;
    case 8: return *p;
    case 16: return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8);
    case 24: return vxRGB(p[2], p[1], p[0]);
    default: return vxRGB(p[2], p[1], p[0]) | (std::uint32_t(p[3]) << 24);
    }
}

void VXDIBBuffer::setPixel(int x, int y, std::uint32_t value) {
    int shift = 0;
    std::uint8_t* p = pixelAddress(x, y, &shift);
    if (p == nullptr)
        return;
    const int bc = m_header->bitCount;
    if (bc < 8) {
        const std::uint8_t mask = std::uint8_t(((1u << bc) - 1) << shift);
        *p = std::uint8_t((*p & ~mask) | ((value << shift) & mask));
        return;
    }
    switch (bc) {
    case 8: *p = std::uint8_t(value); break;
    case 16:
        p[0] = std::uint8_t(value);
        p[1] = std::uint8_t(value >> 8);
        break;
    case 24:
        p[0] = vxBlue(value);
        p[1] = vxGreen(value);
        p[2] = vxRed(value);
        break;
    default:
        p[0] = vxBlue(value);
        p[1] = vxGreen(value);
        p[2] = vxRed(value);
        p[3] = vxAlpha(value);
        break;
    }
}

std::uint32_t VXDIBBuffer::pixelColour(int x, int y) const {
    const std::uint32_t v = pixel(x, y);
    switch (bitCount()) {
    case 1:
    case 2:
    case 4:
    case 8: {
        const int n = colourTableEntries();
        return int(v) < n ? vxColourOf(colourTable()[v]) : 0;
    }
    case 16: return from555(v);
    default: return v & 0xFFFFFFu;
    }
}

bool VXDIBBuffer::copyPixels(const VXDIBBuffer& from) {
    if (isEmpty() || from.isEmpty() || width() != from.width() || height() != from.height() ||
        bitCount() != from.bitCount())
        return false;
    if (m_bits != from.m_bits)
        std::memmove(m_bits, from.m_bits, m_image_size);
    return true;
}

std::vector<std::uint8_t> VXDIBBuffer::toPackedBottomUp() const {
    std::vector<std::uint8_t> out;
    if (isEmpty())
        return out;
    const std::uint32_t headerBlock = headerBlockSize();
    out.resize(std::size_t(headerBlock) + m_image_size);
    std::memcpy(out.data(), m_header, headerBlock);
    VXBitmapInfoHeader h;
    std::memcpy(&h, out.data(), sizeof h);
    h.height = rows();
    h.sizeImage = m_image_size;
    std::memcpy(out.data(), &h, sizeof h);
    const int n = rows();
    for (int stored = 0; stored < n; ++stored) // stored row 0 is the bottom of the picture
        std::memcpy(out.data() + headerBlock + std::size_t(stored) * m_stride, row(n - 1 - stored), m_stride);
    return out;
}

void VXDIBBuffer::replaceColour(std::uint32_t from, std::uint32_t to) {
    const int bc = bitCount();
    std::uint32_t f = from, t = to;
    switch (bc) {
    case 4:
        f &= 0xF;
        t &= 0xF;
        break;
    case 8:
        f &= 0xFF;
        t &= 0xFF;
        break;
    case 16:
        f = to555(from);
        t = to555(to);
        break;
    case 24:
        f &= 0xFFFFFF;
        t &= 0xFFFFFF;
        break;
    default: return;
    }
    for (int y = 0; y < rows(); ++y)
        for (int x = 0; x < width(); ++x)
            if ((pixel(x, y) & (bc == 16 ? 0x7FFFu : 0xFFFFFFFFu)) == f)
                setPixel(x, y, t);
}

void VXDIBBuffer::maskedFill(const VXMaskDIBBuffer& mask, int maskValue, std::uint32_t colour) {
    const int bc = bitCount();
    if ((bc != 4 && bc != 8 && bc != 16 && bc != 24) || mask.width() != width() || mask.rows() != rows())
        return;
    const std::uint32_t value = bc == 16 ? to555(colour) : bc == 24 ? (colour & 0xFFFFFF) : (colour & 0xFF);
    for (int y = 0; y < rows(); ++y)
        for (int x = 0; x < width(); ++x)
            if (mask.bit(x, y) == maskValue)
                setPixel(x, y, value);
}

std::int32_t VXDIBBuffer::replaceColourWithinTolerance(std::uint32_t key, int tolerance) {
    const int bc = bitCount();
    if (bc != 4 && bc != 8 && bc != 16 && bc != 24 && bc != 32)
        return -1;
    const bool indexed = bc <= 8;
    std::uint32_t colour = key & 0xFFFFFF;
    int keyIndex = -1;
    if (vxIsPaletteIndex(key)) {
        keyIndex = int(key & 0xFF);
        if (keyIndex >= colourTableEntries())
            return -1;
        colour = vxColourOf(colourTable()[keyIndex]);
    } else if (indexed) {
        keyIndex = VXPalette(colourTable(), colourTableEntries()).nearestIndex(colour);
        if (keyIndex < 0)
            return -1;
    }
    const int lo[3] = {std::max(0, vxRed(colour) - tolerance), std::max(0, vxGreen(colour) - tolerance),
                       std::max(0, vxBlue(colour) - tolerance)};
    const int hi[3] = {std::min(255, vxRed(colour) + tolerance), std::min(255, vxGreen(colour) + tolerance),
                       std::min(255, vxBlue(colour) + tolerance)};
    const auto within = [&](std::uint32_t c) {
        return vxRed(c) >= lo[0] && vxRed(c) <= hi[0] && vxGreen(c) >= lo[1] && vxGreen(c) <= hi[1] &&
               vxBlue(c) >= lo[2] && vxBlue(c) <= hi[2];
    };
    for (int y = 0; y < rows(); ++y)
        for (int x = 0; x < width(); ++x) {
            if (!within(pixelColour(x, y)))
                continue;
            if (indexed)
                setPixel(x, y, std::uint32_t(keyIndex));
            else if (bc == 16)
                setPixel(x, y, to555(colour));
            else if (bc == 24)
                setPixel(x, y, colour);
            else
                setPixel(x, y, colour | (pixel(x, y) & 0xFF000000u));
        }
    return std::int32_t(colour);
}

VXAutoPtr<VXMaskDIBBuffer> vxBuildMask(const VXDIBBuffer& source, std::uint32_t key) {
    if (source.isEmpty())
        return nullptr;
    auto mask = std::make_unique<VXMaskDIBBuffer>();
    if (!mask->create(source.width(), source.height()))
        return nullptr;
    const bool byIndex = vxIsPaletteIndex(key) && source.bitCount() <= 8;
    const std::uint32_t keyColour = key & 0xFFFFFF;
    for (int y = 0; y < source.rows(); ++y)
        for (int x = 0; x < source.width(); ++x) {
            const bool equal = byIndex ? source.pixel(x, y) == (key & 0xFF) : source.pixelColour(x, y) == keyColour;
            if (!equal)
                mask->setBit(x, y, 1);
        }
    return mask;
}

} // namespace morvessan
