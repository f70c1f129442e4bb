// How a command's options read and write pictures, and its warnings about the
// renderer's environment.
#include "cli/CliSupport.h"

#include "VXLib/VXUTIL/VXRenderEnvironment.h"
#include "job/JobOptions.h"
#include "renderer/RenderThreads.h"
#include "texture/TextureFieldTable.h"

namespace morvessan::cli {

PictureReading pictureReading(const Arguments& args) {
    PictureReading reading;
    if (const auto limit = args.value("--max-pixels")) {
        reading.maxPixels = parseInteger(*limit, 1, 0x7FFFFFFF, "--max-pixels");
    }
    reading.strict = args.has("--strict");
    return reading;
}

void warnAboutRenderEnvironment() {
    const VXRenderEnvironment environment = vxRenderEnvironment();
    warn(environment.threadsProblem);
    warn(environment.simdProblem);
}

VXPictureWriting pictureWriting(const Arguments& args) {
    VXPictureWriting writing;
    writing.threads = renderThreadCount(); // a PNG is compressed beside the render on as many
    if (const auto quality = args.value("--quality")) {
        writing.quality = parseInteger(*quality, 1, 100, "--quality");
    }
    if (const auto compression = args.value("--compression")) {
        writing.compression = jobCompression(*compression, "--compression");
    }
    if (const auto chroma = args.value("--chroma")) {
        if (*chroma != "444" && *chroma != "420") {
            throw usageError("--chroma '" + *chroma + "' is not 444 or 420");
        }
        writing.fullChroma = *chroma == "444";
    }
    if (const auto background = args.value("--background"); background && *background != "transparent") {
        if (*background != "white" && (background->size() != 7 || !parseHexColour(*background, writing.background))) {
            throw usageError("--background '" + *background + "' is not white or #RRGGBB");
        }
    }
    return writing;
}

} // namespace morvessan::cli
