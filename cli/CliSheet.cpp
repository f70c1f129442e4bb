// "sheet": every preset of a file as a labelled thumbnail in one picture.
#include "VXLib/VXImage2.h"
#include "VXLib/VXTextLabel.h"
#include "job/JobFiles.h"
#include "job/JobLibrary.h"
#include "cli/CliOptionTable.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "renderer/PresetThumbnail.h"
#include "texture/MersenneTwister.h"

#include <algorithm>
#include <iostream>

namespace morvessan::cli {

namespace {

const char* const kSheetHelp =
    "usage: morvessan sheet [--preset-file NAME] [--size N] [options] OUTPUT\n"
    "\n"
    "Draws every preset of a preset file (default: the first) as a labelled thumbnail\n"
    "of N x N pixels (default 128) into one picture.\n"
    "\n";

constexpr std::int32_t kGap = 10;
constexpr std::int32_t kColumns = 6;

} // namespace

int commandSheet(const std::vector<std::string>& list) {
    const Arguments args("sheet", list,
                         {"--preset-file", "--size", "--presets-dir", "--textures-dir", "--quality", "--chroma"},
                         {"--quiet"});
    if (args.help()) {
        std::cout << kSheetHelp << optionsHelp("sheet");
        return 0;
    }
    args.expectOperands(1, "one operand: OUTPUT");
    const std::string output = args.operands()[0];
    if (!isWritableImagePath(output)) {
        throw usageError("output '" + output + "' must end in .png, .jpg, .jpeg or .bmp");
    }
    const VXPictureWriting writing = pictureWriting(args);
    const std::int32_t size = args.value("--size") ? parseInteger(*args.value("--size"), 16, 1024, "size") : 128;
    const std::string presetsDir = args.value("--presets-dir").value_or(defaultPresetsDir());
    const std::string texturesDir = args.value("--textures-dir").value_or(defaultTexturesDir());

    PresetLibrary library;
    FilterParameters block{};
    writeDefaultParameters(block);
    loadLibrary(library, presetsDir, texturesDir, block.texture);
    if (!libraryOnDisk(library)) {
        throw JobError("no preset files in " + library.presetsFolder());
    }
    int fileIndex = 0;
    if (const auto name = args.value("--preset-file")) {
        fileIndex = chooseFile(library, *name);
    }
    const PresetFile& file = library.file(fileIndex);
    std::vector<const TexturePreset*> presets;
    for (int c = 0; c < file.categoryCount(); ++c) {
        for (int p = 0; p < file.presetCount(c); ++p) {
            presets.push_back(&file.preset(c, p));
        }
    }
    if (presets.empty()) {
        throw JobError("'" + file.name() + "' holds no presets" +
                       (file.readWhole() ? std::string() : " that could be read: " + file.damage()));
    }

    const std::int32_t scale = size >= 96 ? 2 : 1;
    const std::int32_t labelHeight = 7 * scale + 6;
    const std::int32_t columns = std::min<std::int32_t>(kColumns, static_cast<std::int32_t>(presets.size()));
    const std::int32_t rows = (static_cast<std::int32_t>(presets.size()) + columns - 1) / columns;
    const std::int64_t sheetWidth = kGap + static_cast<std::int64_t>(columns) * (size + kGap);
    const std::int64_t sheetHeight = kGap + static_cast<std::int64_t>(rows) * (size + labelHeight + kGap);
    if (sheetHeight > kMaxHostSide) {
        throw JobError("the sheet would be " + std::to_string(sheetHeight) + " pixels high; choose a smaller --size");
    }
    HostImage sheet(static_cast<std::int32_t>(sheetWidth), static_cast<std::int32_t>(sheetHeight), 3, 255);
    const std::uint8_t ink[3] = {40, 40, 40};
    MersenneTwister random; // one series of grain draws over the whole sheet
    ProgressBar bar("Drawing", args.has("--quiet"));
    for (std::size_t i = 0; i < presets.size(); ++i) {
        VXImage2 thumbnail;
        if (!thumbnail.create(size, size, 24) || !renderPresetThumbnail(*presets[i], VXPSRect{}, random, thumbnail)) {
            throw JobError("out of memory drawing thumbnails");
        }
        const std::int32_t left = kGap + static_cast<std::int32_t>(i % columns) * (size + kGap);
        const std::int32_t top = kGap + static_cast<std::int32_t>(i / columns) * (size + labelHeight + kGap);
        for (std::int32_t y = 0; y < size; ++y) {
            const std::uint8_t* s = thumbnail.row(y);
            for (std::int32_t x = 0; x < size; ++x, s += 3) {
                std::uint8_t* d = sheet.pixel(left + x, top + y);
                d[0] = s[2];
                d[1] = s[1];
                d[2] = s[0];
            }
        }
        const std::string label = fitLabel(presets[i]->name, size, scale);
        drawLabel(sheet, left + (size - labelWidth(label, scale)) / 2, top + size + 4, label, scale, ink);
        // The picture's encoding counts as one more thumbnail.
        bar.update(static_cast<std::int64_t>(i) + 1, static_cast<std::int64_t>(presets.size()) + 1);
    }
    std::string error;
    if (!saveHostImage(output, sheet, error, writing)) {
        throw JobError(error);
    }
    bar.update(1, 1);
    bar.breakLine();
    if (!args.has("--quiet")) {
        std::cout << "Wrote " << printable(output) << " (" << presets.size() << " presets of " << printable(file.name())
                  << (file.readWhole() ? ")\n" : ", which was not read whole)\n");
    }
    // A sheet of part of a file is no sheet of the file.
    if (!file.readWhole()) {
        warn(file.damage() + "; the sheet shows only the presets before that");
        return 1;
    }
    return 0;
}

} // namespace morvessan::cli
