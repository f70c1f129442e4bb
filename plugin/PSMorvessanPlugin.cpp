// The texture filter's set-up, dialog and rendering.
#include "plugin/PSMorvessanPlugin.h"

#include "VXLib/VXImageFile.h"
#include "VXLib/VXPictureDecoder.h"
#include "VXLib/VXUTIL/VXPath.h"
#include "VXLib/VXUTIL/VXPlatform.h"
#include "plugin/PSMorvessanDescriptor.h"
#include "plugin/PSMorvessanModuleSettings.h"
#include "plugin/StartupLog.h"
#include "plugin/VXPSErrors.h"
#include "renderer/PresetThumbnail.h"
#include "renderer/RenderThreads.h"
#include "renderer/TextureMapLoader.h"
#include "texture/SeamlessTile.h"
#include "texture/TextureFieldTable.h"
#include "texture/TextureBuilder.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>

namespace morvessan {

namespace {

// Shows the wait cursor while it lives and brings back what was showing.
class WaitCursor {
public:
    WaitCursor() : m_saved(vxPlatform().currentCursor()) { vxPlatform().showCursor(VXCursorKind::Wait); }
    ~WaitCursor() { Restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void Restore() {
        if (!m_restored) {
            m_restored = true;
            vxPlatform().restoreCursor(m_saved);
        }
    }

private:
    VXCursorHandle m_saved;
    bool m_restored = false;
};

} // namespace

PSMorvessanPlugin::PSMorvessanPlugin() : m_dialog(makeNativeDialogRunner()) {}

PSMorvessanPlugin::~PSMorvessanPlugin() = default;

void PSMorvessanPlugin::SetDialogRunner(std::unique_ptr<PSMorvessanDialogRunner> runner) {
    m_dialog = runner ? std::move(runner) : makeNativeDialogRunner();
}

bool PSMorvessanPlugin::ChooseColour(std::uint32_t& colour) { return m_dialog->ChooseColour(colour); }

void PSMorvessanPlugin::InitialiseParameters() {
    if (!m_parameters) {
        vxThrowMessage("Parameters not set");
    }
    writeDefaultParameters(*m_parameters);
}

// Scripts and batches ask for no dialog; so does a replayed action unless the
// host asks for the dialog. Without a descriptor every other play mode shows it,
// since some hosts pass "don't display" on every interactive run.
bool PSMorvessanPlugin::IsSilentRun(bool replaying) const {
    const FilterRecord* record = GetFilterRecord();
    if (!record || !record->descriptorParameters) {
        return false;
    }
    const int16 play = record->descriptorParameters->playInfo;
    return play == plugInDialogSilent || (replaying && play == plugInDialogDontDisplay);
}

std::string PSMorvessanPlugin::PresetNameOfBlock() const {
    if (!m_parameters || m_library.fileCount() == 0) {
        return {};
    }
    const int current = std::clamp(m_library.currentFileIndex(), 0, m_library.fileCount() - 1);
    const PresetFile& file = m_library.file(current);
    const auto same = [&](const TextureFields& preset) {
        for (const TextureField& field : textureFields()) {
            if (textureFieldText(preset, field) != textureFieldText(m_parameters->texture, field)) {
                return false;
            }
        }
        return true;
    };
    // The block's own category first: a texture saved in two places is named where the user chose it.
    std::vector<int> order{m_parameters->categoryIndex};
    for (int category = 0; category < file.categoryCount(); ++category) {
        order.push_back(category);
    }
    for (const int category : order) {
        if (category < 0 || category >= file.categoryCount()) {
            continue;
        }
        for (int index = 0; index < file.presetCount(category); ++index) {
            if (same(file.preset(category, index))) {
                return file.presetName(category, index);
            }
        }
    }
    return {};
}

void PSMorvessanPlugin::DoStart() {
    // A run that ends in a failure or a cancel gets no Continue from the host,
    // so the rectangles of the last tile or proxy are emptied here.
    struct ClearRectanglesOnFailure {
        PSMorvessanPlugin& filter;
        int failures = std::uncaught_exceptions();
        ~ClearRectanglesOnFailure() {
            if (std::uncaught_exceptions() > failures) {
                filter.ClearHostRectangles();
            }
        }
    } clearOnFailure{*this};
    // The texture and its picture belong to this call: a large picture is not held
    // between calls, whatever way the call ends.
    struct ReleaseTexture {
        PSMorvessanPlugin& filter;
        ~ReleaseTexture() {
            filter.m_texture_image.reset();
            filter.m_texture.reset();
        }
    } releaseTexture{*this};
    ReadHostImage();
    WaitCursor cursor;
    StartupLog& log = startupLog();
    log.BeginStartupTiming();
    EnableContextHelp(false);
    const std::string module = vxPlatform().modulePath();
    const std::string presetsFolder = vxPlatform().environment(kPresetFolderVariable);
    const std::string texturesFolder = vxPlatform().environment(kTextureFolderVariable);
    m_textures_folder = texturesFolder.empty() ? texturesFolderOfModule(module) : asFolder(texturesFolder);
    EnableAlpha(true);
    PrepareParameters();
    // A recorded action's settings replace the block's before anything reads it.
    const std::optional<ReplayedSettings> replayed =
        m_parameters ? readSettingsDescriptor(Record(), *m_parameters) : std::nullopt;
    ReadPatternSpace();
    m_silent = IsSilentRun(replayed.has_value());
    // Only the dialog shows the library: a silent run (a batch, a script, an action)
    // renders the block it is given and reads no preset file, however large the
    // library; the block names its preset file from the folder's listing.
    m_library.setTexturesFolder(m_textures_folder);
    const std::string libraryFolder = presetsFolder.empty() ? presetsFolderOfModule(module) : presetsFolder;
    std::string silentFileName;
    if (m_silent) {
        silentFileName =
            m_library.fileNameWithoutReading(libraryFolder, readField(m_parameters->presetFile, kPathSize));
    } else {
        m_library.discoverPresetFilesIn(libraryFolder, m_parameters->texture);
        // Folders, pipes, devices, link loops and files past the size limit are
        // never read; the log says which were left out and why.
        for (const UnreadablePresetFile& skipped : m_library.unreadableFiles()) {
            log.AppendLine("Skipped: " + skipped.error);
        }
    }
    BuildTexture();
    log.AppendTiming("Setup took %dms\n");
    if (!m_silent) {
        m_library.selectCurrentFile(*m_parameters);
        const std::string unavailable = m_dialog->Unavailable();
        if (!unavailable.empty()) {
            vxThrowMessage(unavailable);
        }
        cursor.Restore();
        // A texture picture that cannot be read would be left out without a word,
        // so the user is told before the dialog opens. Batch runs keep drawing
        // without it, as stored actions expect; the command line checks first.
        if (const std::string problem = TexturePictureProblem(); !problem.empty()) {
            vxPlatform().messageBox(problem, kTexturePictureCaption, VXMessageButtons::Ok, VXMessageIcon::Warning);
        }
        bool accepted = false;
        try {
            accepted = m_dialog->RunDialog(*this);
        } catch (...) {
            // The user has seen the dialog and the image is untouched: the run ends quietly.
            return;
        }
        if (!accepted) {
            vxThrowCode(userCanceledErr);
        }
    }
    // A render that fails or is cancelled goes back to the host as that failure,
    // so the host reverts the image rather than keeping a half-drawn texture.
    FilterImage();
    StoreCurrentFileName(silentFileName);
    // What the host records for the action: the settings just drawn, named after
    // their preset when the dialog's library holds it (or the replayed name).
    const std::string presetName = replayed ? replayed->presetName : m_silent ? std::string() : PresetNameOfBlock();
    writeSettingsDescriptor(Record(), *m_parameters, presetName);
}

std::string PSMorvessanPlugin::TexturePictureProblem() const {
    if (!m_parameters || !m_parameters->texture.textureEnabled) {
        return {};
    }
    const std::string path = readField(m_parameters->texture.texturePath, kPathSize);
    if (path.empty()) {
        return {};
    }
    // Told from the header, before a picture too large is decoded here too.
    if (const std::string tooLarge = textureMapSizeProblem(path); !tooLarge.empty()) {
        return "The texture picture \"" + path + "\" cannot be used (" + tooLarge +
               "), so the texture is drawn without it.";
    }
    std::error_code ec;
    VXDecodedPicture picture;
    if (std::filesystem::is_regular_file(path, ec) && vxReadIndexedPicture(path, picture)) {
        return {};
    }
    return "The texture picture \"" + path +
           "\" cannot be read (it is missing, damaged or not a picture), so the texture is drawn without it.";
}

void PSMorvessanPlugin::StoreCurrentFileName(const std::string& silentFileName) {
    if (m_silent) {
        copyToField(m_parameters->presetFile, kPathSize, silentFileName);
    } else {
        m_library.storeCurrentFileName(*m_parameters);
    }
    m_parameters->presetFile[kPathSize - 1] = '\0'; // the field always ends in a zero
}

void PSMorvessanPlugin::EnableHostWindow() { m_dialog->EnableHostWindow(); }

void PSMorvessanPlugin::ReadPatternSpace() {
    m_pattern_space = {};
    // Hosts may answer every property query with a handle of their own (empty, a
    // few bytes, a default): bytes that are not our pattern settings mean the host
    // has none, and the texture lies in the plane.
    const auto bytes = HostComplexProperty(kPatternSpaceSignature, kPatternSpaceKey, kPatternSpaceSize);
    if (!bytes) {
        return;
    }
    const std::optional<PatternSpace> space = decodePatternSpace(bytes->data(), bytes->size());
    if (!space) {
        return;
    }
    const TextureTransform transformation =
        m_parameters ? m_parameters->texture.transformation : TextureFields{}.transformation;
    if (const std::string refusal = patternRefusal(transformation, *space); !refusal.empty()) {
        vxThrowMessage(refusal);
    }
    m_pattern_space = *space;
}

void PSMorvessanPlugin::BuildTexture() {
    m_texture.reset();
    m_texture = m_parameters ? makeTexture(m_parameters->texture, drawnPatternSpace(*m_parameters, m_pattern_space))
                             : makeTexture(TextureFields{}, m_pattern_space);
}

void PSMorvessanPlugin::BeginRender(bool preview) {
    BuildTexture();
    if (!m_parameters) {
        return;
    }
    const TextureFields& fields = m_parameters->texture;
    m_colour_table.clear();
    m_colour_table = buildColourTable(fields, preview ? ColourOrder::Display : ColourOrder::Host);
    if (fields.noiseEnabled) {
        m_random.Seed(1);
    }
    if (fields.textureEnabled) {
        m_texture_image.reset();
        m_texture_image = loadTextureMap(readField(fields.texturePath, kPathSize));
    }
}

TextureRenderSettings PSMorvessanPlugin::Settings() {
    TextureRenderSettings settings;
    settings.texture = m_texture.get();
    settings.colourTable = m_colour_table.size() == kColourTableSize ? m_colour_table.data() : nullptr;
    settings.textureImage = m_texture_image.get();
    settings.random = &m_random;
    settings.fields = m_parameters ? &m_parameters->texture : nullptr;
    settings.scaleBySource = m_parameters && m_parameters->scaleBySource;
    settings.overwriteSource = m_parameters && m_parameters->overwriteSource;
    settings.filterRect = GetFilterRect();
    settings.buffers = &m_tile_buffers;
    return settings;
}

void PSMorvessanPlugin::RenderTile(const PixelBlock& in, const PixelBlock& out, const VXPSRect& rect) {
    RenderMaskedTile(in, out, PixelBlock{}, rect);
}

void PSMorvessanPlugin::RenderMaskedTile(const PixelBlock& in, const PixelBlock& out, const PixelBlock& mask,
                                         const VXPSRect& rect) {
    renderTextureTile(Settings(), in, out, mask, rect);
}

std::int32_t PSMorvessanPlugin::TilesAtOnce() {
    constexpr std::int32_t kTilesAlongARow = 16;
    const bool grain = m_parameters && m_parameters->texture.noiseEnabled;
    return grain ? 1 : kTilesAlongARow;
}

void PSMorvessanPlugin::RenderTiles(const std::vector<TileWork>& tiles) {
    if (tiles.size() < 2 || renderThreadCount() < 2) {
        VXPSFilter::RenderTiles(tiles); // in turn; a lone tile shares its rows among the threads
        return;
    }
    // Scratch memory for each thread, not each tile: a tile's next turn may fall to
    // another thread, whose core would fetch the buffers from this one's cache.
    const auto threads = static_cast<std::size_t>(renderThreadCount());
    if (m_group_buffers.size() < threads) {
        m_group_buffers.resize(threads);
    }
    const TextureRenderSettings shared = Settings();
    forEachPart(static_cast<std::int32_t>(tiles.size()), [&](std::int32_t first, std::int32_t last) {
        const auto worker = static_cast<std::size_t>(renderWorkerIndex());
        for (std::int32_t k = first; k < last; ++k) {
            TextureRenderSettings settings = shared;
            settings.buffers = worker < m_group_buffers.size() ? &m_group_buffers[worker] : nullptr;
            const TileWork& tile = tiles[static_cast<std::size_t>(k)];
            renderTextureTile(settings, tile.in, tile.out, tile.mask, tile.rect);
        }
    });
}

void PSMorvessanPlugin::UpdateOutputImage(const VXPSRect&) { BuildOutputImage(); }

bool PSMorvessanPlugin::RenderPresetThumbnail(const TexturePreset& preset, VXImage2& image) {
    return renderPresetThumbnail(preset, GetFilterRect(), m_random, image);
}

void PSMorvessanPlugin::ApplyPreset(const TextureFields& preset) {
    if (m_parameters) {
        storePresetInBlock(*m_parameters, preset);
    }
    BuildTexture();
}

} // namespace morvessan
