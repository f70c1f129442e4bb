// The bitmap file reader under the picture decoder: headers, colour tables, bit
// fields and run-length data from a file's bytes, refusing anything it cannot place safely.
#include "VXLib/VXBitmapReader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace morvessan {

namespace {

std::uint16_t le16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }

std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

// Sequential input with seeking over a block of memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Bytes actually read (fewer at the end).
    virtual std::size_t read(void* destination, std::size_t count) = 0;
    virtual bool seek(std::uint64_t position) = 0;
    virtual std::uint64_t size() const = 0;
    bool readAll(void* destination, std::size_t count) { return read(destination, count) == count; }
};

class MemorySource : public ByteSource {
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::size_t read(void* destination, std::size_t count) override {
        const std::size_t n = std::min(count, m_size - m_position);
        if (n > 0)
            std::memcpy(destination, m_data + m_position, n);
        m_position += n;
        return n;
    }
    bool seek(std::uint64_t position) override {
        if (position > m_size)
            return false;
        m_position = std::size_t(position);
        return true;
    }
    std::uint64_t size() const override { return m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

bool isBitmapBitCount(int b) { return b == 1 || b == 2 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32; }

std::uint8_t expandBits(std::uint32_t value, int bits) {
    // Scale a 5- or 6-bit channel to 8 bits so that full stays full.
    return bits == 5 ? std::uint8_t((value << 3) | (value >> 2)) : std::uint8_t((value << 2) | (value >> 4));
}

class RunLengthWriter {
public:
    RunLengthWriter(std::uint8_t* pixels, std::uint32_t stride, int rows, bool fourBit)
        : m_pixels(pixels), m_stride(stride), m_rows(rows), m_four(fourBit),
          m_row_pixels(std::uint64_t(stride) * (fourBit ? 2 : 1)),
          m_budget(std::uint64_t(stride) * std::uint64_t(rows) * (fourBit ? 2 : 1)) {}

    std::uint64_t budget() const { return m_budget; }
    void spend(std::uint64_t n) { m_budget -= std::min(m_budget, n); }
    void endOfLine() {
        ++m_row;
        m_x = 0;
    }
    void move(unsigned dx, unsigned dy) {
        m_x += dx;
        m_row += dy;
    }
    // Writes one pixel at the current position and advances; cut outside the rows.
    void put(std::uint8_t value) {
        if (m_row < std::uint64_t(m_rows) && m_x < m_row_pixels) {
            std::uint8_t* line = m_pixels + m_row * m_stride;
            if (!m_four) {
                line[m_x] = value;
            } else {
                std::uint8_t& byte = line[m_x / 2];
                byte = (m_x % 2 == 0) ? std::uint8_t((byte & 0x0F) | (value << 4))
                                      : std::uint8_t((byte & 0xF0) | (value & 0x0F));
            }
        }
        ++m_x;
    }

private:
    std::uint8_t* m_pixels;
    std::uint64_t m_stride;
    int m_rows;
    bool m_four;
    std::uint64_t m_row_pixels;
    std::uint64_t m_budget;
    std::uint64_t m_row = 0;
    std::uint64_t m_x = 0;
};

// `truncated` given: pixel data cut short is read as far as it goes (see the header).
int parseBitmap(ByteSource& source, VXPackedBitmap& out, bool* truncated) {
    std::uint8_t fileHeader[14];
    if (!source.readAll(fileHeader, 14) || fileHeader[0] != 'B' || fileHeader[1] != 'M')
        return kBitmapUnusable;
    const std::uint32_t pixelOffset = le32(fileHeader + 10);

    std::uint8_t raw[40];
    if (!source.readAll(raw, 4))
        return kBitmapUnusable;
    const std::uint32_t headerSize = le32(raw);
    VXBitmapInfoHeader h;
    bool core = false;
    // The later forms (52, 56, 108 and 124 bytes, as common tools write them) begin
    // with the 40-byte one and hold the bit-field masks that follow a 40-byte one.
    std::uint8_t extension[124 - 40];
    const std::size_t extended = headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124
                                     ? std::size_t(headerSize) - 40
                                     : 0;
    if (headerSize == 40 || extended != 0) {
        if (!source.readAll(raw + 4, 36) || !source.readAll(extension, extended))
            return kBitmapUnusable;
        h.width = std::int32_t(le32(raw + 4));
        h.height = std::int32_t(le32(raw + 8));
        h.planes = le16(raw + 12);
        h.bitCount = le16(raw + 14);
        h.compression = le32(raw + 16);
        h.sizeImage = le32(raw + 20);
        h.xPelsPerMeter = std::int32_t(le32(raw + 24));
        h.yPelsPerMeter = std::int32_t(le32(raw + 28));
        h.clrUsed = le32(raw + 32);
        h.clrImportant = le32(raw + 36);
    } else if (headerSize == 12) {
        if (!source.readAll(raw + 4, 8))
            return kBitmapUnusable;
        core = true;
        h.width = le16(raw + 4);
        h.height = le16(raw + 6);
        h.planes = le16(raw + 8);
        h.bitCount = le16(raw + 10);
    } else {
        return kBitmapUnusable;
    }

    const int bitCount = h.bitCount;
    if (!isBitmapBitCount(bitCount) || h.width <= 0 || h.width > kMaxImageDimension || h.height == 0 ||
        h.height < -kMaxImageDimension || h.height > kMaxImageDimension)
        return kBitmapUnusable;
    const int rows = std::abs(h.height);
    const std::uint64_t stride = vxStride(h.width, bitCount);
    const std::uint64_t imageSize = stride * std::uint64_t(rows);
    if (imageSize > vxImageByteLimit())
        return kBitmapUnusable;

    const std::uint32_t compression = h.compression;
    const bool runLength = compression == kCompressionRLE8 || compression == kCompressionRLE4;
    if ((compression == kCompressionRLE8 && bitCount != 8) || (compression == kCompressionRLE4 && bitCount != 4) ||
        (compression == kCompressionBitFields && bitCount != 16 && bitCount != 32) || compression > 3)
        return kBitmapUnusable;

    // Bit fields: only the standard layouts, loaded as plain 24- or 32-bit pixels.
    int greenBits = 0;
    if (compression == kCompressionBitFields) {
        std::uint8_t masks[12];
        if (extended != 0)
            std::memcpy(masks, extension, 12);
        else if (!source.readAll(masks, 12))
            return kBitmapUnusable;
        const std::uint32_t r = le32(masks), g = le32(masks + 4), b = le32(masks + 8);
        if (bitCount == 16 && r == 0x7C00 && g == 0x03E0 && b == 0x001F)
            greenBits = 5;
        else if (bitCount == 16 && r == 0xF800 && g == 0x07E0 && b == 0x001F)
            greenBits = 6;
        else if (!(bitCount == 32 && r == 0x00FF0000 && g == 0x0000FF00 && b == 0x000000FF))
            return kBitmapUnusable;
    }

    // Colour table: always 2^bitcount entries out; colours-used entries in, clamped.
    const int entries = bitCount <= 8 ? 1 << bitCount : 0;
    int present = entries;
    if (entries > 0 && h.clrUsed != 0 && h.clrUsed < std::uint32_t(entries))
        present = int(h.clrUsed);
    std::vector<VXRGBQuad> table(static_cast<std::size_t>(entries));
    if (present > 0) {
        const int entrySize = core ? 3 : 4;
        std::vector<std::uint8_t> rawTable(std::size_t(present) * entrySize);
        if (!source.readAll(rawTable.data(), rawTable.size()))
            return kBitmapUnusable;
        for (int i = 0; i < present; ++i) {
            const std::uint8_t* e = rawTable.data() + std::size_t(i) * entrySize;
            table[i] = VXRGBQuad{e[0], e[1], e[2], 0};
        }
    }

    const std::uint64_t available = source.size() > pixelOffset ? source.size() - pixelOffset : 0;
    if (!source.seek(pixelOffset))
        return kBitmapUnusable;

    // The pixel data as stored in the file.
    std::uint64_t dataSize = imageSize;
    const bool cut = truncated != nullptr && !runLength && available < imageSize;
    const std::uint64_t rowsPresent = cut ? available / stride : std::uint64_t(rows);
    if (runLength) {
        dataSize = h.sizeImage != 0 ? h.sizeImage : available;
        if (truncated != nullptr && dataSize > available) {
            dataSize = available; // the run-length decoder stops where its input does
            *truncated = true;
        }
    } else if (cut) {
        dataSize = rowsPresent * stride;
        *truncated = true;
    } else if (h.sizeImage != 0 && h.sizeImage < imageSize) {
        return kBitmapUnusable; // rows would need more pixels than the file declares
    }
    if (dataSize > available)
        return kBitmapUnusable;

    // The output geometry: bit fields become plain pixels.
    VXBitmapInfoHeader outHeader = h;
    outHeader.size = 40;
    outHeader.compression = kCompressionRGB;
    outHeader.clrUsed = 0;
    if (core)
        outHeader.planes = h.planes;
    if (greenBits != 0)
        outHeader.bitCount = 24;
    const std::uint64_t outStride = vxStride(h.width, outHeader.bitCount);
    const std::uint64_t outImageSize = outStride * std::uint64_t(rows);
    if (outImageSize > vxImageByteLimit())
        return kBitmapUnusable;
    outHeader.sizeImage = std::uint32_t(outImageSize);

    const std::size_t headerBlock = 40 + 4 * std::size_t(entries);
    const std::size_t total = headerBlock + std::size_t(outImageSize);
    VXAutoArrayPtr<std::uint8_t> block(new std::uint8_t[total]());
    std::memcpy(block.get(), &outHeader, 40);
    if (entries > 0)
        std::memcpy(block.get() + 40, table.data(), 4 * std::size_t(entries));
    std::uint8_t* pixels = block.get() + headerBlock;

    if (runLength) {
        std::vector<std::uint8_t> input(static_cast<std::size_t>(dataSize));
        if (!source.readAll(input.data(), input.size()))
            return kBitmapUnusable;
        vxDecodeRunLength(input.data(), input.size(), pixels, std::uint32_t(stride), rows,
                          compression == kCompressionRLE4);
    } else if (greenBits != 0) {
        std::vector<std::uint8_t> line(static_cast<std::size_t>(stride));
        for (std::uint64_t r = 0; r < rowsPresent; ++r) {
            if (!source.readAll(line.data(), line.size()))
                return kBitmapUnusable;
            std::uint8_t* o = pixels + std::size_t(r) * outStride;
            for (int x = 0; x < h.width; ++x, o += 3) {
                const std::uint32_t v = le16(line.data() + 2 * std::size_t(x));
                if (greenBits == 5) {
                    o[0] = expandBits(v & 0x1F, 5);
                    o[1] = expandBits((v >> 5) & 0x1F, 5);
                    o[2] = expandBits((v >> 10) & 0x1F, 5);
                } else {
                    o[0] = expandBits(v & 0x1F, 5);
                    o[1] = expandBits((v >> 5) & 0x3F, 6);
                    o[2] = expandBits((v >> 11) & 0x1F, 5);
                }
            }
        }
    } else if (!source.readAll(pixels, std::size_t(dataSize))) {
        return kBitmapUnusable;
    }

    out.block = std::move(block);
    out.size = total;
    return kBitmapRead;
}

bool attachBitmap(VXPackedBitmap& bitmap, VXImage2& image) {
    image.reset();
    VXDIBBuffer& buffer = image;
    if (!buffer.attachOwn(std::move(bitmap.block), bitmap.size))
        return false;
    if (!image.isTopDown())
        image.flipOrientation();
    return true;
}

} // namespace

void vxDecodeRunLength(const std::uint8_t* input, std::size_t inputSize, std::uint8_t* pixels, std::uint32_t stride,
                       int rows, bool fourBit) {
    RunLengthWriter out(pixels, stride, rows, fourBit);
    std::size_t i = 0;
    while (i + 2 <= inputSize && out.budget() > 0) {
        const std::uint8_t n = input[i];
        const std::uint8_t v = input[i + 1];
        i += 2;
        if (n > 0) {
            if (n > out.budget())
                continue; // would overrun the output: skipped
            for (int k = 0; k < n; ++k)
                out.put(fourBit ? ((k % 2 == 0) ? std::uint8_t(v >> 4) : std::uint8_t(v & 0x0F)) : v);
            out.spend(n);
        } else if (v == 0) {
            out.endOfLine();
        } else if (v == 1) {
            return;
        } else if (v == 2) {
            if (i + 2 > inputSize)
                return;
            out.move(input[i], input[i + 1]);
            i += 2;
        } else {
            const std::size_t bytes = fourBit ? (std::size_t(v) + 1) / 2 : v;
            const std::uint64_t count = std::min<std::uint64_t>(v, out.budget());
            for (std::uint64_t k = 0; k < count; ++k) {
                const std::size_t at = i + (fourBit ? std::size_t(k / 2) : std::size_t(k));
                if (at >= inputSize)
                    return; // literal run cut at the end of the input
                out.put(fourBit ? ((k % 2 == 0) ? std::uint8_t(input[at] >> 4) : std::uint8_t(input[at] & 0x0F))
                                : input[at]);
            }
            out.spend(v);
            i += bytes + (bytes % 2);
        }
    }
}

int vxReadBitmapMemory(const std::uint8_t* data, std::size_t size, VXPackedBitmap& out, bool* truncated) {
    if (data == nullptr)
        return kBitmapUnusable;
    MemorySource source(data, size);
    return parseBitmap(source, out, truncated);
}

bool vxLoadBitmapMemory(const std::uint8_t* data, std::size_t size, VXImage2& image, bool* truncated) {
    VXPackedBitmap bitmap;
    if (vxReadBitmapMemory(data, size, bitmap, truncated) != kBitmapRead) {
        image.reset();
        return false;
    }
    return attachBitmap(bitmap, image);
}

} // namespace morvessan
