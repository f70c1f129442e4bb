// What every run's texture edits need: the pattern's frame, the steps of the
// dialog's buttons, and the checks before a block is handed to the filter.
#include "job/JobEdits.h"

#include "VXLib/VXPictureDecoder.h"
#include "VXLib/VXUTIL/VXWholeFile.h"
#include "job/JobFiles.h"
#include "job/JobPictureReader.h"
#include "job/JobError.h"
#include "renderer/TextureMapLoader.h"
#include "texture/PortableExp.h"

#include <mutex>
#include <numbers>
#include <set>

namespace morvessan::job {

namespace {

// The unit square: the steps' frame without a pattern size.
const TransformView kWholeRectangle{};

} // namespace

TransformView stepView(const FieldEditContext& context) {
    if (context.patternSize <= 0) {
        return kWholeRectangle;
    }
    return TransformView{0.0, context.width / context.patternSize, 0.0, context.height / context.patternSize};
}

void applyPatternSize(TextureTransform& m, const FieldEditContext& context) {
    if (context.patternSize > 0) {
        compose(m, scaling(context.width / context.patternSize, context.height / context.patternSize));
    }
}

// The filter renders without a texture picture it cannot load: a run that asked
// for one is refused instead, with the cause. Each picture is checked once a command.
void checkTexturePicture(const std::string& path) {
    // Runs of the Python module may check from several threads.
    static std::mutex guard;
    static std::set<std::string> usable;
    {
        const std::lock_guard<std::mutex> lock(guard);
        if (path.empty() || usable.count(path) != 0) {
            return;
        }
    }
    const std::string cannot = "cannot use the texture picture '" + path + "': ";
    if (const std::string tooLarge = textureMapSizeProblem(path); !tooLarge.empty()) {
        throw JobError(cannot + tooLarge);
    }
    const VXFileBytes file = vxReadWholeFile(path, pictureFileLimit(PictureReading{}));
    if (file.status != VXReadStatus::Read) {
        const std::size_t cause = file.error.find("': ");
        throw JobError(cannot + (cause != std::string::npos ? file.error.substr(cause + 3) : file.error));
    }
    // Decoded from the bytes just read, as the texture reads it (vxReadIndexedPicture).
    VXPictureReading indexed;
    indexed.indexed = true;
    VXDecodedPicture picture;
    std::string error;
    std::string broken;
    if (!vxDecodePicture(file.bytes, indexed, picture, error, broken)) {
        HostImage decoded;
        std::string problem;
        std::string damage;
        const bool readable = decodeHostPicture(file.bytes, PictureReading{}, decoded, problem, damage);
        throw JobError(cannot + (!readable         ? problem
                                 : !damage.empty() ? "it is damaged (" + damage + ")"
                                                   : std::string("it is a picture of a kind the texture cannot use")));
    }
    const std::lock_guard<std::mutex> lock(guard);
    usable.insert(path);
}

void checkTransformation(const TextureTransform& m, const std::string& fix) {
    if (const std::string problem = transformationProblem(m); !problem.empty()) {
        throw requestError("the transformation cannot be used: " + problem + "; " + fix);
    }
}

void moveStep(TextureTransform& m, const FieldEditContext& context, double dx, double dy) {
    moveTexture(m, stepView(context), dx, dy, context.width, context.height);
}

void rotateStep(TextureTransform& m, const FieldEditContext& context, double degrees) {
    // The buttons turn by a / 1200 radians.
    rotateTexture(m, stepView(context), degrees * std::numbers::pi / 180 * 1200);
}

void scaleStep(TextureTransform& m, const FieldEditContext& context, double sx, double sy) {
    // The buttons scale the sample spacing by 2^(-a/1200): the pattern grows by
    // 2^(a/1200).
    scaleTexture(m, stepView(context), 1200 * portableLog2(sx), 1200 * portableLog2(sy));
}

} // namespace morvessan::job
