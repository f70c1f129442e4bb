// The studio's requests: each read and checked like command-line input, run through
// the texture job, and answered as JSON or a picture; a refusal is a message, never a crash.
#include "studio/StudioApi.h"

#include "VXLib/VXUTIL/VXPath.h"
#include "VXLib/VXUTIL/VXWholeFile.h"
#include "job/JobCanvas.h"
#include "job/JobError.h"
#include "job/JobFiles.h"
#include "job/JobLibrary.h"
#include "job/JobOptions.h"
#include "job/JobPresetAdd.h"
#include "job/TextureJob.h"
#include "presets/PresetLibrary.h"
#include "presets/PresetText.h"
#include "studio/StudioCommand.h"
#include "studio/StudioGuard.h"
#include "studio/StudioRender.h"
#include "texture/TextureFieldTable.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

namespace morvessan::studio {

namespace {

using nlohmann::json;

StudioReply jsonReply(const json& value, int status = 200) {
    return {status, "application/json", value.dump(-1, ' ', false, json::error_handler_t::replace), {}};
}

StudioReply errorReply(const std::string& message, int status) { return jsonReply(json{{"error", message}}, status); }

json parseBody(const std::string& body) {
    json value = json::parse(body, nullptr, false);
    if (value.is_discarded() || !value.is_object()) {
        throw job::requestError("the request is not a JSON object");
    }
    return value;
}

std::string textMember(const json& object, const char* key, bool required = true) {
    const auto at = object.find(key);
    if (at == object.end() || at->is_null()) {
        if (required) {
            throw job::requestError("'" + std::string(key) + "' is missing");
        }
        return {};
    }
    if (!at->is_string() || at->get<std::string>().size() > 255) {
        throw job::requestError("'" + std::string(key) + "' must be text of at most 255 bytes");
    }
    return at->get<std::string>();
}

// Runs `answer`, turning every refusal into a reply: a request's fault is 400, a
// run stopped by a later request 409, a texture or file the job cannot use 422,
// anything else 500.
template <typename Answer>
StudioReply answered(Answer&& answer) {
    try {
        return answer();
    } catch (const job::JobError& error) {
        const int status = error.status() == job::kBadRequestStatus  ? 400
                           : error.status() == job::kCancelledStatus ? 409
                                                                     : 422;
        return errorReply(error.what(), status);
    } catch (const std::bad_alloc&) {
        return errorReply("not enough memory for this request", 500);
    } catch (const std::exception& error) {
        return errorReply(error.what(), 500);
    }
}

// One export drawn in the background.
struct ExportJob {
    std::atomic<std::int32_t> done{0};
    std::atomic<std::int32_t> total{0};
    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};
    std::mutex lock; // guards the texts below
    std::string error;
    std::string path;
    std::string name;
    std::thread thread;
};

} // namespace

struct StudioApi::State {
    StudioSettings settings;
    // The latest edit of each open page (a tab), so that pages never drop each other's previews.
    std::mutex previewsLock;
    std::map<std::string, std::uint64_t> latestPreview;
    std::mutex thumbnailsLock;
    std::map<std::string, std::string> thumbnails;
    mutable std::mutex exportsLock;
    std::map<std::uint64_t, std::unique_ptr<ExportJob>> exports;
    std::uint64_t nextExport = 1;

    StudioRun run() const { return StudioRun{settings.presetsDir, settings.texturesDir, {}, {}}; }
};

StudioApi::StudioApi(StudioSettings settings) : m_state(std::make_unique<State>()) {
    m_state->settings = std::move(settings);
}

StudioApi::~StudioApi() {
    std::lock_guard<std::mutex> hold(m_state->exportsLock);
    for (auto& [id, exported] : m_state->exports) {
        exported->cancel = true;
    }
    for (auto& [id, exported] : m_state->exports) {
        if (exported->thread.joinable()) {
            exported->thread.join();
        }
    }
}

StudioReply StudioApi::fields() const {
    return answered([&] {
        json all = json::array();
        const TextureFields defaults{};
        for (const TextureField& field : textureFields()) {
            json entry{{"name", std::string(field.name)},
                       {"kind", std::string(textureFieldKindWord(field.kind))},
                       {"low", field.low},
                       {"high", field.high},
                       {"step", field.step},
                       {"meaning", std::string(field.meaning)},
                       {"range", textureFieldRange(field)},
                       {"default", textureFieldText(defaults, field)}};
            if (field.kind == TextureFieldKind::Choice) {
                entry["choices"] = json(std::vector<std::string>(kTextureTypeWords.begin(), kTextureTypeWords.end()));
            }
            all.push_back(std::move(entry));
        }
        json textures = json::array();
        std::error_code ec;
        std::vector<std::string> names;
        for (std::filesystem::directory_iterator it(m_state->settings.texturesDir, ec), end; !ec && it != end;
             it.increment(ec)) {
            if (it->is_regular_file(ec) && isTextureFileName(it->path().filename().string())) {
                names.push_back(it->path().filename().string());
            }
        }
        std::sort(names.begin(), names.end());
        const job::JobOption& loop = job::jobOption("loop");
        return jsonReply(json{{"fields", all},
                              {"textures", names},
                              {"exportDir", m_state->settings.exportDir},
                              {"presetsDir", m_state->settings.presetsDir},
                              {"limits",
                               {{"previewSide", kMaxPreviewSide},
                                {"exportSide", kMaxStreamedSide},
                                {"patternSize", kMaxHostSide},
                                {"loop", json::array({loop.low, loop.high})},
                                {"seed", json::array({kRandomSeedLow, kRandomSeedHigh})}}}});
    });
}

StudioReply StudioApi::library() const {
    return answered([&] {
        PresetLibrary library;
        job::loadLibrary(library, m_state->settings.presetsDir, m_state->settings.texturesDir, TextureFields{});
        json files = json::array();
        if (job::libraryOnDisk(library)) {
            for (int f = 0; f < library.fileCount(); ++f) {
                const PresetFile& file = library.file(f);
                json categories = json::array();
                for (int c = 0; c < file.categoryCount(); ++c) {
                    json presets = json::array();
                    for (int p = 0; p < file.presetCount(c); ++p) {
                        presets.push_back(file.presetName(c, p));
                    }
                    categories.push_back(json{{"name", file.categoryName(c)}, {"presets", presets}});
                }
                files.push_back(json{{"name", file.name()},
                                     {"shipped", library.isSharedFile(file)},
                                     {"readWhole", file.readWhole()},
                                     {"categories", categories}});
            }
        }
        json unreadable = json::array();
        for (const UnreadablePresetFile& file : library.unreadableFiles()) {
            unreadable.push_back(json{{"name", file.name}, {"error", file.error}});
        }
        // What "morvessan render" draws with nothing chosen: the page starts there too.
        FilterParameters block{};
        writeDefaultParameters(block);
        const std::string chosen = job::applyShowcase(block, library);
        json showcase = chosen.empty() ? json() : json{{"chosen", chosen}, {"fields", fieldTexts(block.texture)}};
        return jsonReply(json{{"files", files}, {"unreadable", unreadable}, {"showcase", showcase}});
    });
}

namespace {

// The block of a preset of the library, and how the library names it.
job::StartedBlock presetBlock(const StudioSettings& settings, const std::string& file, const std::string& category,
                              const std::string& name) {
    job::BlockRequest block;
    block.presetsDir = settings.presetsDir;
    block.texturesDir = settings.texturesDir;
    block.choice = job::PresetChoice{file, category, name};
    return job::startBlock(block);
}

} // namespace

StudioReply StudioApi::preset(const std::string& body) const {
    return answered([&] {
        const json request = parseBody(body);
        const job::StartedBlock started = presetBlock(m_state->settings, textMember(request, "file"),
                                                      textMember(request, "category"), textMember(request, "name"));
        const auto* parameters = reinterpret_cast<const FilterParameters*>(started.bytes.data());
        return jsonReply(json{{"fields", fieldTexts(parameters->texture)}, {"chosen", started.chosen}});
    });
}

StudioReply StudioApi::thumbnail(const std::string& file, const std::string& category, const std::string& name,
                                 std::int32_t size) {
    return answered([&] {
        if (size < 16 || size > 512) {
            throw job::requestError("'size' must be from 16 to 512");
        }
        const std::string key = file + '\n' + category + '\n' + name + '\n' + std::to_string(size);
        {
            std::lock_guard<std::mutex> hold(m_state->thumbnailsLock);
            if (const auto kept = m_state->thumbnails.find(key); kept != m_state->thumbnails.end()) {
                return StudioReply{200, "image/png", kept->second, {{"Cache-Control", "no-store"}}};
            }
        }
        // The preset as render --preset draws it on a size x size canvas.
        StudioTexture texture;
        texture.width = size;
        texture.height = size;
        const std::string png =
            renderTexturePngBytes(texture, presetBlock(m_state->settings, file, category, name).bytes, m_state->run());
        std::lock_guard<std::mutex> hold(m_state->thumbnailsLock);
        if (m_state->thumbnails.size() > 2000) {
            m_state->thumbnails.clear();
        }
        m_state->thumbnails[key] = png;
        return StudioReply{200, "image/png", png, {{"Cache-Control", "no-store"}}};
    });
}

StudioReply StudioApi::preview(const std::string& body) {
    return answered([&] {
        const json request = parseBody(body);
        const auto seq = request.find("seq");
        if (seq == request.end() || !seq->is_number_unsigned()) {
            throw job::requestError("'seq' must be a whole number that grows with each edit");
        }
        const std::uint64_t mine = seq->get<std::uint64_t>();
        const std::string page = textMember(request, "page", false);
        // The page's latest edit wins: its earlier request still waiting or drawing is dropped.
        {
            std::lock_guard<std::mutex> hold(m_state->previewsLock);
            if (m_state->latestPreview.size() > 256 && !m_state->latestPreview.count(page)) {
                m_state->latestPreview.clear();
            }
            std::uint64_t& latest = m_state->latestPreview[page];
            latest = std::max(latest, mine);
        }
        const StudioTexture texture = readStudioTexture(request, kMaxPreviewSide);
        std::vector<std::uint8_t> bytes = studioBlock(texture, m_state->settings.texturesDir);
        // The picture is drawn from the transformation the steps left, which the page keeps.
        const std::string matrix = textureFieldText(reinterpret_cast<const FilterParameters*>(bytes.data())->texture,
                                                    textureField(TextureFieldId::Transformation));
        StudioRun run = m_state->run();
        run.interrupted = [this, mine, page] {
            std::lock_guard<std::mutex> hold(m_state->previewsLock);
            const auto latest = m_state->latestPreview.find(page);
            return latest != m_state->latestPreview.end() && latest->second > mine;
        };
        if (run.interrupted()) {
            throw job::JobError("a later edit took this preview's place", job::kCancelledStatus);
        }
        StudioReply reply{200, "image/png", renderTexturePngBytes(texture, std::move(bytes), run), {}};
        reply.headers.emplace_back("X-Morvessan-Transformation", matrix);
        reply.headers.emplace_back("Cache-Control", "no-store");
        return reply;
    });
}

StudioReply StudioApi::command(const std::string& body) const {
    return answered([&] {
        const json request = parseBody(body);
        const StudioTexture texture = readStudioTexture(request, kMaxStreamedSide);
        std::string output = textMember(request, "file", false);
        if (output.empty()) {
            output = "texture.png";
        }
        return jsonReply(json{{"commandLine", renderCommandLine(texture, m_state->settings.texturesDir, output)},
                              {"python", renderPythonCall(texture, m_state->settings.texturesDir)}});
    });
}

StudioReply StudioApi::savePreset(const std::string& body) {
    return answered([&] {
        const json request = parseBody(body);
        const StudioTexture texture = readStudioTexture(request, kMaxStreamedSide);
        const std::vector<std::uint8_t> bytes = studioBlock(texture, m_state->settings.texturesDir);
        job::PresetAddRequest add;
        add.presetsDir = m_state->settings.presetsDir;
        add.texturesDir = m_state->settings.texturesDir;
        add.makeFolder = m_state->settings.makePresetsFolder;
        add.file = textMember(request, "file");
        add.category = textMember(request, "category");
        add.name = textMember(request, "name");
        const job::AddedPreset added = job::addPreset(add, *reinterpret_cast<const FilterParameters*>(bytes.data()));
        {
            std::lock_guard<std::mutex> hold(m_state->thumbnailsLock);
            m_state->thumbnails.clear();
        }
        return jsonReply(
            json{{"file", added.file}, {"category", added.category}, {"name", added.name}, {"path", added.path}});
    });
}

StudioReply StudioApi::block(const std::string& body) const {
    return answered([&] {
        const StudioTexture texture = readStudioTexture(parseBody(body), kMaxStreamedSide);
        const std::vector<std::uint8_t> bytes = studioBlock(texture, m_state->settings.texturesDir);
        return StudioReply{200,
                           "application/octet-stream",
                           std::string(bytes.begin(), bytes.end()),
                           {{"Content-Disposition", "attachment; filename=\"texture.bin\""}}};
    });
}

StudioReply StudioApi::importFile(const std::string& body) const {
    return answered([&] {
        if (body.size() == kFilterParametersSize) {
            FilterParameters parameters;
            std::memcpy(static_cast<void*>(&parameters), body.data(), sizeof parameters);
            return jsonReply(json{{"kind", "block"}, {"fields", fieldTexts(parameters.texture)}});
        }
        PresetReadStop stop;
        const std::vector<PresetCategory> categories = readPresetText(body, m_state->settings.texturesDir, &stop);
        json presets = json::array();
        for (const PresetCategory& category : categories) {
            for (const TexturePreset& read : category.presets) {
                presets.push_back(json{{"category", category.name}, {"name", read.name}, {"fields", fieldTexts(read)}});
            }
        }
        if (presets.empty()) {
            throw job::requestError("this is neither a parameter block (" + std::to_string(kFilterParametersSize) +
                                    " bytes) nor a preset file with a preset in it" +
                                    (stop.whole() ? std::string() : " (reading stopped at " + stop.describe() + ")"));
        }
        return jsonReply(json{
            {"kind", "presets"}, {"presets", presets}, {"damage", stop.whole() ? std::string() : stop.describe()}});
    });
}

StudioReply StudioApi::startExport(const std::string& body) {
    return answered([&] {
        const json request = parseBody(body);
        StudioTexture texture = readStudioTexture(request, kMaxStreamedSide);
        const std::string name = textMember(request, "file");
        if (!isExportFileName(name, ".png")) {
            throw job::requestError("'" + name +
                                    "' is not a PNG file name the export folder can take: one name ending in .png, "
                                    "without a folder");
        }
        const std::string path = asFolder(m_state->settings.exportDir) + name;
        const auto overwrite = request.find("overwrite");
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::symlink_status(path, ec)) &&
            (overwrite == request.end() || *overwrite != true)) {
            return errorReply("'" + name + "' is in the export folder already", 409);
        }
        if (const std::string problem =
                streamedSizeProblem(path, texture.width, texture.height,
                                    canvasShape(texture.width, texture.height, texture.background).planes);
            !problem.empty()) {
            throw job::requestError("a picture of " + std::to_string(texture.width) + "x" +
                                    std::to_string(texture.height) + " " + problem);
        }
        // Made now, so that a texture that cannot be drawn is refused at once.
        std::vector<std::uint8_t> block = studioBlock(texture, m_state->settings.texturesDir);
        auto exported = std::make_unique<ExportJob>();
        exported->path = path;
        exported->name = name;
        ExportJob* running = exported.get();
        StudioRun run = m_state->run();
        run.progress = [running](std::int32_t done, std::int32_t total) {
            running->done = done;
            running->total = total;
        };
        run.interrupted = [running] { return running->cancel.load(); };
        std::lock_guard<std::mutex> hold(m_state->exportsLock);
        const std::uint64_t id = m_state->nextExport++;
        running->thread = std::thread([running, run, texture = std::move(texture), block = std::move(block)] {
            std::string error;
            try {
                VXFileReplacement file;
                if (!file.begin(running->path)) {
                    throw job::JobError(file.error());
                }
                renderTexturePng(texture, block, run, file);
                if (!file.commit()) {
                    throw job::JobError(file.error());
                }
                running->done = running->total.load();
            } catch (const std::exception& failed) {
                error = failed.what();
            }
            std::lock_guard<std::mutex> texts(running->lock);
            running->error = error;
            running->finished = true;
        });
        m_state->exports[id] = std::move(exported);
        return jsonReply(json{{"id", id}});
    });
}

StudioReply StudioApi::exportState(std::uint64_t id) const {
    std::lock_guard<std::mutex> hold(m_state->exportsLock);
    const auto found = m_state->exports.find(id);
    if (found == m_state->exports.end()) {
        return errorReply("no such export", 404);
    }
    ExportJob& exported = *found->second;
    std::lock_guard<std::mutex> texts(exported.lock);
    const bool finished = exported.finished;
    std::uintmax_t size = 0;
    if (finished && exported.error.empty()) {
        std::error_code ec;
        size = std::filesystem::file_size(exported.path, ec);
    }
    return jsonReply(json{{"done", exported.done.load()},
                          {"total", exported.total.load()},
                          {"state", !finished                ? "running"
                                    : exported.error.empty() ? "done"
                                                             : "failed"},
                          {"error", exported.error},
                          {"file", exported.name},
                          {"path", exported.path},
                          {"bytes", size}});
}

StudioReply StudioApi::cancelExport(std::uint64_t id) {
    std::lock_guard<std::mutex> hold(m_state->exportsLock);
    const auto found = m_state->exports.find(id);
    if (found == m_state->exports.end()) {
        return errorReply("no such export", 404);
    }
    found->second->cancel = true;
    return jsonReply(json{{"id", id}, {"cancelled", true}});
}

} // namespace morvessan::studio
