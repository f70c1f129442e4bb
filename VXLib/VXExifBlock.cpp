// EXIF blocks through libexif: loaded from a copy with the prefix the library wants,
// the first directory's orientation and resolution read in the block's byte order.
#include "VXLib/VXExifBlock.h"

#include <libexif/exif-data.h>

#include <cstring>
#include <memory>

namespace morvessan {

namespace {

struct ExifDataRelease {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

constexpr std::uint64_t kMaxDotsPerMetre = 0xFFFFFFFFu;

std::uint32_t capped(std::uint64_t value) {
    return value > kMaxDotsPerMetre ? std::uint32_t(kMaxDotsPerMetre) : std::uint32_t(value);
}

// The first value of a rational entry, as dots per metre under `unit` (2 inch, 3 cm).
std::uint32_t resolutionOf(ExifContent* content, ExifTag tag, std::uint16_t unit, ExifByteOrder order) {
    ExifEntry* entry = exif_content_get_entry(content, tag);
    if (entry == nullptr || entry->format != EXIF_FORMAT_RATIONAL || entry->components < 1 || entry->size < 8 ||
        entry->data == nullptr) {
        return 0;
    }
    const ExifRational value = exif_get_rational(entry->data, order);
    return unit == 3 ? vxDotsPerMetreFromCentimetre(value.numerator, value.denominator)
                     : vxDotsPerMetreFromInch(value.numerator, value.denominator);
}

std::uint16_t shortOf(ExifContent* content, ExifTag tag, ExifByteOrder order, std::uint16_t otherwise) {
    ExifEntry* entry = exif_content_get_entry(content, tag);
    if (entry == nullptr || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || entry->size < 2 ||
        entry->data == nullptr) {
        return otherwise;
    }
    return exif_get_short(entry->data, order);
}

} // namespace

std::uint32_t vxDotsPerMetreFromInch(std::uint64_t numerator, std::uint64_t denominator) {
    // dots per inch / 0.0254, rounded; both parts are at most 32 bits, so nothing overflows.
    return denominator == 0 ? 0 : capped((numerator * 20000 + denominator * 254) / (denominator * 508));
}

std::uint32_t vxDotsPerMetreFromCentimetre(std::uint64_t numerator, std::uint64_t denominator) {
    return denominator == 0 ? 0 : capped((numerator * 200 + denominator) / (denominator * 2));
}

std::uint32_t vxDotsPerInch(std::uint32_t dotsPerMetre) {
    return std::uint32_t((std::uint64_t(dotsPerMetre) * 254 + 5000) / 10000);
}

VXExifFacts vxReadExif(const std::vector<std::uint8_t>& tiff) {
    VXExifFacts facts;
    const bool intel = tiff.size() >= 8 && std::memcmp(tiff.data(), "II*\0", 4) == 0;
    const bool motorola = tiff.size() >= 8 && std::memcmp(tiff.data(), "MM\0*", 4) == 0;
    if (!intel && !motorola) {
        return facts;
    }
    std::vector<unsigned char> block{'E', 'x', 'i', 'f', 0, 0};
    block.insert(block.end(), tiff.begin(), tiff.end());
    const std::unique_ptr<ExifData, ExifDataRelease> data(exif_data_new());
    if (!data) {
        return facts;
    }
    // Read only: nothing is added or changed to follow the standard.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), block.data(), static_cast<unsigned int>(block.size()));
    ExifContent* first = data->ifd[EXIF_IFD_0];
    if (first == nullptr || first->count == 0) {
        return facts;
    }
    facts.valid = true;
    const ExifByteOrder order = exif_data_get_byte_order(data.get());
    const std::uint16_t orientation = shortOf(first, EXIF_TAG_ORIENTATION, order, 0);
    facts.orientation = orientation >= 1 && orientation <= 8 ? orientation : 0;
    const std::uint16_t unit = shortOf(first, EXIF_TAG_RESOLUTION_UNIT, order, 2);
    if (unit == 2 || unit == 3) {
        facts.dotsPerMetreX = resolutionOf(first, EXIF_TAG_X_RESOLUTION, unit, order);
        facts.dotsPerMetreY = resolutionOf(first, EXIF_TAG_Y_RESOLUTION, unit, order);
    }
    return facts;
}

std::vector<std::uint8_t> vxExifWithoutThumbnail(const std::vector<std::uint8_t>& tiff) {
    if (!vxReadExif(tiff).valid) {
        return {};
    }
    std::vector<unsigned char> block{'E', 'x', 'i', 'f', 0, 0};
    block.insert(block.end(), tiff.begin(), tiff.end());
    const std::unique_ptr<ExifData, ExifDataRelease> data(exif_data_new());
    if (!data) {
        return {};
    }
    // Every entry is kept as it is, known to libexif or not.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_set_option(data.get(), EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(data.get(), block.data(), static_cast<unsigned int>(block.size()));
    ExifContent* second = data->ifd[EXIF_IFD_1];
    const bool thumbnail = data->data != nullptr || data->size != 0 || (second != nullptr && second->count != 0);
    if (!thumbnail) {
        return tiff;
    }
    while (second != nullptr && second->count != 0) {
        exif_content_remove_entry(second, second->entries[second->count - 1]);
    }
    // libexif allocates with the default allocator, whose free this is.
    const std::unique_ptr<ExifMem, void (*)(ExifMem*)> memory(exif_mem_new_default(), exif_mem_unref);
    exif_mem_free(memory.get(), data->data);
    data->data = nullptr;
    data->size = 0;
    unsigned char* saved = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data.get(), &saved, &size);
    std::vector<std::uint8_t> out;
    if (saved != nullptr && size > 6 && std::memcmp(saved, "Exif\0\0", 6) == 0) {
        out.assign(saved + 6, saved + size);
    }
    exif_mem_free(memory.get(), saved);
    return out;
}

} // namespace morvessan
