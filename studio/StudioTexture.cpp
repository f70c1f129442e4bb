// Reading the page's texture requests: every key checked for its kind and range,
// with the command line's own limits and messages, before anything is drawn.
#include "studio/StudioTexture.h"

#include "VXLib/VXUTIL/VXAsciiCase.h"
#include "job/JobCanvas.h"
#include "job/JobError.h"
#include "job/JobFiles.h"
#include "job/JobOptions.h"
#include "job/TextureJob.h"
#include "texture/TextureFieldTable.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>

namespace morvessan::studio {

namespace {

using job::requestError;

const nlohmann::json* member(const nlohmann::json& object, const char* key) {
    const auto at = object.find(key);
    return at == object.end() || at->is_null() ? nullptr : &*at;
}

std::int32_t wholeNumber(const nlohmann::json& object, const char* key, std::int32_t low, std::int32_t high,
                         std::int32_t otherwise) {
    const nlohmann::json* value = member(object, key);
    if (value == nullptr) {
        return otherwise;
    }
    if (!value->is_number_integer() || value->get<std::int64_t>() < low || value->get<std::int64_t>() > high) {
        throw requestError("'" + std::string(key) + "' must be a whole number from " + std::to_string(low) + " to " +
                           std::to_string(high));
    }
    return static_cast<std::int32_t>(value->get<std::int64_t>());
}

double finiteNumber(const nlohmann::json& value, const std::string& what) {
    if (!value.is_number() || !std::isfinite(value.get<double>())) {
        throw requestError("'" + what + "' must be a finite number");
    }
    return value.get<double>();
}

bool flag(const nlohmann::json& object, const char* key) {
    const nlohmann::json* value = member(object, key);
    if (value != nullptr && !value->is_boolean()) {
        throw requestError("'" + std::string(key) + "' must be true or false");
    }
    return value != nullptr && value->get<bool>();
}

// A field's value as the text setTextureField reads: the page sends text, and a
// script may send numbers, flags or lists of numbers.
std::string fieldText(const std::string& name, const nlohmann::json& value) {
    if (value.is_string()) {
        std::string text = value.get<std::string>();
        if (text.size() > kMaxFieldText) {
            throw requestError("the value of field '" + name + "' is longer than " + std::to_string(kMaxFieldText) +
                               " bytes");
        }
        return text;
    }
    if (value.is_boolean()) {
        return value.get<bool>() ? "on" : "off";
    }
    if (value.is_number_integer()) {
        return std::to_string(value.get<std::int64_t>());
    }
    if (value.is_number()) {
        return formatShortest(finiteNumber(value, name));
    }
    if (value.is_array() && value.size() <= 12) {
        std::string text;
        for (const nlohmann::json& item : value) {
            text += (text.empty() ? "" : ",") + formatShortest(finiteNumber(item, name));
        }
        return text;
    }
    throw requestError("the value of field '" + name + "' must be text, a number, true or false, or a list of numbers");
}

} // namespace

StudioTexture readStudioTexture(const nlohmann::json& request, std::int32_t maxSide) {
    if (!request.is_object()) {
        throw requestError("the request must be a JSON object");
    }
    StudioTexture texture;
    if (const nlohmann::json* fields = member(request, "fields")) {
        if (!fields->is_object() || fields->size() > kTextureFields.size()) {
            throw requestError("'fields' must be an object of at most " + std::to_string(kTextureFields.size()) +
                               " fields by name");
        }
        for (const auto& [name, value] : fields->items()) {
            if (findTextureField(name) == nullptr) {
                throw requestError("unknown field '" + name.substr(0, 64) + "'");
            }
            texture.fields.emplace_back(name, fieldText(name, value));
        }
    }
    texture.width = wholeNumber(request, "width", 1, maxSide, texture.width);
    texture.height = wholeNumber(request, "height", 1, maxSide, texture.height);
    texture.patternSize = wholeNumber(request, "patternSize", 0, static_cast<std::int32_t>(kMaxHostSide), 0);
    if (const nlohmann::json* background = member(request, "background")) {
        if (!background->is_string() || !canvasBackgroundProblem(background->get<std::string>()).empty()) {
            throw requestError("'background' must be white, transparent or #RRGGBB");
        }
        texture.background = background->get<std::string>();
    }
    texture.depth = wholeNumber(request, "depth", 8, 16, 8);
    if (texture.depth != 8 && texture.depth != 16) {
        throw requestError("'depth' must be 8 or 16");
    }
    texture.heightMap = flag(request, "heightMap");
    texture.normalMap = flag(request, "normalMap");
    if (texture.normalMap && (texture.heightMap || texture.depth == 16)) {
        throw requestError("'normalMap' draws normals: not with 'heightMap' or 'depth'");
    }
    texture.tileable = flag(request, "tileable");
    texture.pattern.tileable = texture.tileable;
    if (const nlohmann::json* evolve = member(request, "evolve")) {
        texture.pattern.evolve = finiteNumber(*evolve, "evolve");
    }
    if (member(request, "loop") != nullptr) {
        const job::JobOption& loop = job::jobOption("loop");
        texture.pattern.loop =
            wholeNumber(request, "loop", static_cast<std::int32_t>(loop.low), static_cast<std::int32_t>(loop.high), 0);
    }
    texture.pattern.frame = wholeNumber(request, "frame", 0, kMaxFrames - 1, 0);
    const PatternOptionNames names{"evolve", "loop"};
    if (const std::string problem = patternRequestProblem(texture.pattern, names); !problem.empty()) {
        throw requestError(problem);
    }
    if (const nlohmann::json* steps = member(request, "steps")) {
        if (!steps->is_array() || steps->size() > 64) {
            throw requestError("'steps' must be a list of at most 64 steps");
        }
        for (const nlohmann::json& step : *steps) {
            StudioStep read;
            if (!step.is_object() || step.size() != 1) {
                throw requestError("each step must be one of {\"move\": [dx, dy]}, {\"rotate\": deg}, {\"zoom\": f}");
            }
            if (const nlohmann::json* move = member(step, "move");
                move != nullptr && move->is_array() && move->size() == 2) {
                read = {StudioStep::Kind::Move, finiteNumber((*move)[0], "move"), finiteNumber((*move)[1], "move")};
            } else if (const nlohmann::json* turn = member(step, "rotate")) {
                read = {StudioStep::Kind::Rotate, finiteNumber(*turn, "rotate"), 0};
            } else if (const nlohmann::json* zoom = member(step, "zoom")) {
                read = {StudioStep::Kind::Zoom, finiteNumber(*zoom, "zoom"), 0};
                if (!(read.x >= 1.0 / 64 && read.x <= 64)) {
                    throw requestError("'zoom' must be from 1/64 to 64");
                }
            } else {
                throw requestError("each step must be one of {\"move\": [dx, dy]}, {\"rotate\": deg}, {\"zoom\": f}");
            }
            texture.steps.push_back(read);
        }
    }
    return texture;
}

std::vector<std::uint8_t> studioBlock(const StudioTexture& texture, const std::string& texturesDir) {
    job::BlockRequest request;
    request.texturesDir = texturesDir;
    // From the defaults up as render draws a new canvas, so that a request and its command agree.
    request.visible = true;
    for (auto [name, text] : texture.fields) {
        // A picture of the textures folder is named without a folder, as the
        // command line's --picture NAME takes it.
        if (equalsIgnoreCase(name, "texturePath") && !text.empty() && text.find_first_of("/\\") == std::string::npos) {
            text = (std::filesystem::path(texturesDir) / text).string();
        }
        request.fields.emplace_back(name, text);
    }
    job::StartedBlock started = job::startBlock(request);
    auto* block = reinterpret_cast<FilterParameters*>(started.bytes.data());
    job::FieldEditContext context;
    context.width = texture.width;
    context.height = texture.height;
    context.texturesDir = texturesDir;
    context.patternSize = texture.patternSize;
    TextureTransform& m = block->texture.transformation;
    for (const StudioStep& step : texture.steps) {
        switch (step.kind) {
        case StudioStep::Kind::Move: job::moveStep(m, context, step.x, step.y); break;
        case StudioStep::Kind::Rotate: job::rotateStep(m, context, step.x); break;
        case StudioStep::Kind::Zoom: job::scaleStep(m, context, step.x, step.x); break;
        }
    }
    return started.bytes;
}

nlohmann::json fieldTexts(const TextureFields& fields) {
    nlohmann::json texts = nlohmann::json::object();
    for (const TextureField& field : textureFields()) {
        texts[std::string(field.name)] = textureFieldText(fields, field);
    }
    return texts;
}

} // namespace morvessan::studio
