// "render", "apply" and "edit": a whole filter run over a new canvas or an image
// file (without a dialog, or with it for edit), the parameter block kept in a file between runs.
#include "VXLib/VXUTIL/VXPlatform.h"
#include "host/FilterHost.h"
#include "host/HostFiles.h"
#include "host/cli/CliFields.h"
#include "host/cli/CliLibrary.h"
#include "host/cli/CliSupport.h"
#include "host/cli/Commands.h"
#include "plugin/PSMorvessanPlugin.h"

#include <filesystem>
#include <iostream>
#include <string_view>

namespace morvessan::cli {

namespace {

const char* const kRenderHelp =
    "usage: morvessan render [options] OUTPUT\n"
    "\n"
    "Renders the texture onto a new canvas and writes it to OUTPUT (.png, .jpg, .bmp).\n"
    "Without --params or preset options a preset of the shipped library is used;\n"
    "with a --params file that does not exist yet, the defaults.\n"
    "\n"
    "  --size WxH              canvas size (default 1024x768)\n"
    "  --background COLOUR     white (default), transparent or #RRGGBB\n";

const char* const kApplyHelp =
    "usage: morvessan apply [options] INPUT OUTPUT\n"
    "\n"
    "Renders the texture over the picture INPUT (PNG, JPEG or bitmap; a picture with\n"
    "transparency is filtered with four planes) and writes OUTPUT. INPUT is only\n"
    "replaced when OUTPUT names the same file.\n";

const char* const kEditHelp =
    "usage: morvessan edit [options] INPUT OUTPUT\n"
    "\n"
    "Shows the filter's dialog over the picture INPUT, as an image editor would; on OK\n"
    "writes the textured picture to OUTPUT (and the block to --params FILE). Cancel\n"
    "writes nothing and exits with status 3. Windows only (morvessan.exe); --module\n"
    "FILE shows the dialog of an installed filter module.\n";

const char* const kRunOptionsHelp =
    "\n"
    "  --params FILE           the parameter block: read when FILE exists (defaults\n"
    "                          otherwise) and written back after the run\n"
    "  --preset-file NAME      choose a preset from this preset file\n"
    "  --category NAME         ... from this category\n"
    "  --preset NAME           ... with this name (applied to the block before the run)\n"
    "  --mask FILE             selection: 8-bit grey picture of the same size, 255 = selected\n"
    "  --rect X,Y,W,H          filter rectangle (default the whole image)\n"
    "  --scale-by-source       scale the colour index by the source brightness\n"
    "  --overwrite-source      with --scale-by-source: replace pixels instead of blending\n"
    "  --no-scale-by-source, --no-overwrite-source\n"
    "                          switch off a flag that the --params block holds\n"
    "  --presets-dir DIR       presets folder (default: \"Morvessan Presets\" beside the program)\n"
    "  --textures-dir DIR      textures folder (default: \"Morvessan Textures\" beside the program)\n"
    "  --max-pixels N          refuse input pictures (and masks) of more than N pixels\n"
    "                          (default 128000000)\n"
    "  --strict                refuse a damaged input picture instead of using what can be read\n"
    "  --quiet                 no progress bar and no summary\n";

const std::vector<std::string> kRunValued{"--params", "--preset-file",  "--category",     "--preset",
                                          "--mask",   "--rect",         "--presets-dir",  "--textures-dir",
                                          "--max-pixels"};
const std::vector<std::string> kRunFlags{"--scale-by-source",    "--overwrite-source", "--no-scale-by-source",
                                         "--no-overwrite-source", "--quiet",            "--strict"};

// The run options and the texture options together.
std::vector<std::string> runValued() {
    std::vector<std::string> names = kRunValued;
    names.insert(names.end(), fieldValuedOptions().begin(), fieldValuedOptions().end());
    return names;
}

std::vector<std::string> runFlags() {
    std::vector<std::string> names = kRunFlags;
    names.insert(names.end(), fieldFlagOptions().begin(), fieldFlagOptions().end());
    return names;
}

// The same file under two names (both may not exist yet).
bool sameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::equivalent(a, b, ec) && !ec) {
        return true;
    }
    const fs::path left = fs::weakly_canonical(fs::absolute(a, ec), ec);
    const fs::path right = fs::weakly_canonical(fs::absolute(b, ec), ec);
    return left == right;
}

// Sets or clears a stored flag from --NAME / --no-NAME.
void applyFlag(const Arguments& args, const std::string& name, std::uint8_t& flag) {
    const bool on = args.has("--" + name);
    const bool off = args.has("--no-" + name);
    if (on && off) {
        throw usageError("--" + name + " and --no-" + name + " contradict each other");
    }
    if (on || off) {
        flag = on ? 1 : 0;
    }
}

VXPSRect parseRect(const std::string& text, const HostImage& image) {
    std::int32_t values[4];
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = text.find(',', start);
        if ((i < 3) == (comma == std::string::npos)) {
            throw usageError("rectangle '" + text + "' is not X,Y,W,H");
        }
        const std::string part = text.substr(start, i < 3 ? comma - start : std::string::npos);
        values[i] = parseInteger(part, i < 2 ? 0 : 1, 32767, i < 2 ? "rectangle position" : "rectangle size");
        start = comma + 1;
    }
    const VXPSRect rect{values[0], values[1], values[0] + values[2], values[1] + values[3]};
    if (rect.right > image.width || rect.bottom > image.height) {
        throw usageError("rectangle " + text + " does not fit the " + std::to_string(image.width) + "x" +
                         std::to_string(image.height) + " image");
    }
    return rect;
}

HostImage makeCanvas(const Arguments& args) {
    std::int32_t width = 1024;
    std::int32_t height = 768;
    if (const auto size = args.value("--size")) {
        parseSize(*size, width, height);
    }
    const std::string background = args.value("--background").value_or("white");
    // Checked before anything is allocated or rendered, as the writers would refuse it.
    if (const std::string problem = pictureSizeProblem(width, height, background == "transparent" ? 4 : 3);
        !problem.empty()) {
        throw usageError("--size " + args.value("--size").value_or("") + ": " + problem);
    }
    if (background == "transparent") {
        return HostImage(width, height, 4, 0);
    }
    std::uint8_t rgb[3] = {255, 255, 255};
    if (background != "white") {
        const auto hex = [](char c) {
            if (c >= '0' && c <= '9') return c - '0';
            if (c >= 'a' && c <= 'f') return c - 'a' + 10;
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            return -1;
        };
        bool valid = background.size() == 7 && background[0] == '#';
        for (int i = 0; valid && i < 3; ++i) {
            const int high = hex(background[1 + 2 * i]);
            const int low = hex(background[2 + 2 * i]);
            valid = high >= 0 && low >= 0;
            rgb[i] = static_cast<std::uint8_t>(high * 16 + low);
        }
        if (!valid) {
            throw usageError("background '" + background + "' is not white, transparent or #RRGGBB");
        }
    }
    HostImage canvas(width, height, 3);
    for (std::size_t i = 0; i < canvas.pixels.size(); i += 3) {
        canvas.pixels[i] = rgb[0];
        canvas.pixels[i + 1] = rgb[1];
        canvas.pixels[i + 2] = rgb[2];
    }
    return canvas;
}

std::string describeFailure(int16 code, const std::string& message) {
    switch (code) {
    case errReportString:
        return message.empty() ? "the filter reported an error" : message;
    case userCanceledErr:
        return "the filter run was cancelled";
    case memFullErr:
        return "out of memory";
    case paramErr:
        return "the filter asked for something the host cannot serve";
    default:
        return "the filter failed with code " + std::to_string(code);
    }
}

// The exit status of a run the user cancelled in the dialog.
constexpr int kCancelledStatus = 3;

int runFilter(const Arguments& args, HostImage image, const std::string& output, bool canvas,
              bool interactive = false) {
    if (!isWritableImagePath(output)) {
        throw usageError("output '" + output + "' must end in .png, .jpg, .jpeg or .bmp");
    }
    const bool quiet = args.has("--quiet");
    const auto paramsPath = args.value("--params");
    if (paramsPath && sameFile(*paramsPath, output)) {
        throw usageError("--params '" + *paramsPath + "' names the output picture; the block needs a file of its own");
    }
    std::optional<HostMask> mask;
    if (const auto maskPath = args.value("--mask")) {
        HostMask loaded;
        std::string error;
        std::string warning;
        if (!loadHostMask(*maskPath, loaded, error, pictureReading(args), &warning)) {
            throw CliError(error);
        }
        warn(warning);
        if (loaded.width != image.width || loaded.height != image.height) {
            throw CliError("mask '" + *maskPath + "' is " + std::to_string(loaded.width) + "x" +
                           std::to_string(loaded.height) + " but the image is " + std::to_string(image.width) +
                           "x" + std::to_string(image.height));
        }
        mask = std::move(loaded);
    }
    std::optional<VXPSRect> rect;
    if (const auto text = args.value("--rect")) {
        rect = parseRect(*text, image);
    }

    // The parameter block: the kept file, or defaults when there is none yet.
    std::vector<std::uint8_t> bytes(kFilterParametersSize, 0);
    auto* block = reinterpret_cast<FilterParameters*>(bytes.data());
    writeDefaultParameters(*block);
    if (paramsPath) {
        std::error_code ec;
        // A link to a missing file is read, and refused, rather than taken for no file.
        if (std::filesystem::exists(std::filesystem::symlink_status(*paramsPath, ec))) {
            std::string error;
            if (!readParameterFile(*paramsPath, bytes, error)) {
                throw CliError(error);
            }
            block = reinterpret_cast<FilterParameters*>(bytes.data());
        }
    }

    const std::string presetsDir = args.value("--presets-dir").value_or(defaultPresetsDir());
    const std::string texturesDir = args.value("--textures-dir").value_or(defaultTexturesDir());
    const PresetChoice choice{args.value("--preset-file"), args.value("--category"), args.value("--preset")};
    std::string chosen;
    // A first render without a block or a choice shows a preset worth seeing; with
    // a parameter file that does not exist yet, the run starts from the defaults.
    // Texture options describe a texture from the defaults up, not an edit of the showcase.
    const bool showcase = canvas && !paramsPath && !choice.any() && !hasFieldOptions(args);
    if (choice.any() || showcase) {
        PresetLibrary library;
        loadLibrary(library, presetsDir, texturesDir, block->texture);
        chosen = choice.any() ? applyChoice(*block, library, choice) : applyShowcase(*block, library);
    }
    FieldEditContext context;
    context.width = rect ? rect->right - rect->left : image.width;
    context.height = rect ? rect->bottom - rect->top : image.height;
    context.texturesDir = texturesDir;
    applyFieldOptions(args, block->texture, context);
    applyFlag(args, "scale-by-source", block->scaleBySource);
    applyFlag(args, "overwrite-source", block->overwriteSource);
    if (args.has("--overwrite-source") && !block->scaleBySource) {
        throw usageError("--overwrite-source acts only together with --scale-by-source");
    }

    // Every output is checked and opened before the run, and put in place after it:
    // the picture and the block are written both or neither.
    VXFileReplacement pictureFile;
    VXFileReplacement blockFile;
    if (!pictureFile.begin(output)) {
        throw CliError(pictureFile.error());
    }
    if (paramsPath && !blockFile.begin(*paramsPath)) {
        throw CliError(blockFile.error());
    }

    morvessanPlugin().SetFolders(presetsDir, texturesDir);
    FilterHost host(pluginEntry());
    host.setImage(std::move(image));
    host.setMask(std::move(mask));
    host.setFilterRect(rect);
    host.setPlayInfo(interactive ? plugInDialogDisplay : plugInDialogSilent);
    host.setParameterBytes(bytes);
    int16 result = noErr;
    {
        ProgressBar bar("Rendering", quiet);
        host.setProgressListener([&bar](std::int32_t done, std::int32_t total) { bar.update(done, total); });
        result = host.run();
    }
    if (interactive && result == userCanceledErr) {
        throw CliError("cancelled in the dialog; nothing was written", kCancelledStatus);
    }
    if (result != noErr) {
        throw CliError(describeFailure(result, host.errorString()));
    }
    std::string error;
    if (!writeHostImage(pictureFile, host.image(), error)) {
        throw CliError(error);
    }
    if (paramsPath) {
        const std::vector<std::uint8_t> after = host.parameterBytes();
        const std::vector<std::uint8_t>& kept = after.size() == kFilterParametersSize ? after : bytes;
        if (!blockFile.write(std::string_view(reinterpret_cast<const char*>(kept.data()), kept.size())) ||
            !blockFile.finish()) {
            throw CliError(blockFile.error());
        }
    }
    if (!pictureFile.commit()) {
        throw CliError(pictureFile.error());
    }
    if (paramsPath && !blockFile.commit()) {
        throw CliError(blockFile.error() + " (the picture was written)");
    }
    if (!quiet) {
        std::cout << "Wrote " << printable(output) << " (" << host.image().width << "x" << host.image().height
                  << (chosen.empty() ? std::string() : ", preset " + printable(chosen)) << ")\n";
    }
    return 0;
}

// The picture of INPUT OUTPUT commands; the operands are checked first.
HostImage loadInput(const Arguments& args) {
    args.expectOperands(2, "two operands: INPUT OUTPUT");
    HostImage image;
    std::string error;
    std::string warning;
    if (!loadHostImage(args.operands()[0], image, error, pictureReading(args), &warning)) {
        throw CliError(error);
    }
    warn(warning);
    return image;
}

} // namespace

int commandRender(const std::vector<std::string>& list) {
    std::vector<std::string> valued = runValued();
    valued.push_back("--size");
    valued.push_back("--background");
    const Arguments args("render", list, valued, runFlags());
    if (args.help()) {
        std::cout << kRenderHelp << kRunOptionsHelp << fieldOptionsHelp();
        return 0;
    }
    args.expectOperands(1, "one operand: OUTPUT");
    return runFilter(args, makeCanvas(args), args.operands()[0], true);
}

int commandApply(const std::vector<std::string>& list) {
    const Arguments args("apply", list, runValued(), runFlags());
    if (args.help()) {
        std::cout << kApplyHelp << kRunOptionsHelp << fieldOptionsHelp();
        return 0;
    }
    return runFilter(args, loadInput(args), args.operands()[1], false);
}

int commandEdit(const std::vector<std::string>& list) {
    const Arguments args("edit", list, runValued(), runFlags());
    if (args.help()) {
        std::cout << kEditHelp << kRunOptionsHelp << fieldOptionsHelp();
        return 0;
    }
#if !defined(_WIN32)
    throw usageError("edit shows the filter's dialog, which only the Windows program (morvessan.exe) has");
#else
    HostImage image = loadInput(args);
    // The dialog talks to the user through Windows itself: message boxes, cursors, help.
    vxSetPlatform(vxMakeNativePlatform());
    return runFilter(args, std::move(image), args.operands()[1], false, true);
#endif
}

} // namespace morvessan::cli
