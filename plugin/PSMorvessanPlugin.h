// PSMorvessanPlugin: the texture filter: its parameter block, set-up and dialog
// in Start, the rendering of textures into the host image and the previews, and
// the editing session the dialogs see.
#pragma once

#include "VXLib/VXImage2.h"
#include "dialog/PSMorvessanDialogRunner.h"
#include "dialog/PSMorvessanEditingSession.h"
#include "plugin/VXPSFilter.h"
#include "presets/PresetLibrary.h"
#include "renderer/TextureRenderer.h"
#include "texture/ColourTable.h"
#include "texture/FilterParameters.h"
#include "texture/MersenneTwister.h"
#include "texture/Texture3D.h"

#include <memory>
#include <string>
#include <vector>

namespace morvessan {

class PSMorvessanPlugin : public VXPSFilter, public PSMorvessanEditingSession {
public:
    static constexpr int kPanCursorId = 9005;
    static constexpr const char* kTexturePictureCaption = "Morvessan";

    PSMorvessanPlugin();
    ~PSMorvessanPlugin() override;

    void DoAbout() override {}
    void DoStart() override;
    void EnableHostWindow() override;
    VXPSCursor GetPanCursor() override { return {VXCursorKind::Resource, kPanCursorId}; }
    bool ChooseColour(std::uint32_t& colour) override;

    std::int32_t GetParameterSize() override { return static_cast<std::int32_t>(kFilterParametersSize); }
    void SetParameterBlock(void* block) override { m_parameters = static_cast<FilterParameters*>(block); }
    void InitialiseParameters() override;
    void ParametersRestored() override {}

    void BeginRender(bool preview) override;
    void RenderTile(const PixelBlock& in, const PixelBlock& out, const VXPSRect& rect) override;
    void RenderMaskedTile(const PixelBlock& in, const PixelBlock& out, const PixelBlock& mask,
                          const VXPSRect& rect) override;
    // Without grain each tile stands alone, so tiles along a row render on the
    // threads side by side: far fewer hand-overs between threads than a tile's
    // rows shared among them. Grain is drawn from one sequence in tile order.
    std::int32_t TilesAtOnce() override;
    void RenderTiles(const std::vector<TileWork>& tiles) override;
    // A texture that looks the same when a preview band is rendered alone needs
    // every coordinate and grain draw of the whole preview, so scrolling renders
    // the output proxy anew.
    void UpdateOutputImage(const VXPSRect& rect) override;

    // The dialog used in interactive runs (null: the build's own).
    void SetDialogRunner(std::unique_ptr<PSMorvessanDialogRunner> runner);
    PSMorvessanDialogRunner& GetDialogRunner() { return *m_dialog; }

    // The editing session (PSMorvessanEditingSession.h); ChooseColour is above.
    FilterParameters* GetParameters() const override { return m_parameters; }
    PresetLibrary& GetPresetLibrary() override { return m_library; }
    int GetPresetFileCount() const override { return m_library.fileCount(); }
    PresetFile& GetPresetFile(int index) override { return m_library.file(index); }
    int GetCurrentPresetFile() const override { return m_library.currentFileIndex(); }
    void SetCurrentPresetFile(int index) override { m_library.setCurrentFileIndex(index); }
    // Copies every field of `preset` but its name into the block; rebuilds the texture.
    void ApplyPreset(const TextureFields& preset) override;
    bool RenderPresetThumbnail(const TexturePreset& preset, VXImage2& image) override;
    const std::string& GetTexturesFolder() const override { return m_textures_folder; }
    VXPSPreviewSession& GetPreview() override { return *this; }
    void GetHelpFilePath(std::string& path) override { VXPSFilter::GetHelpFilePath(path); }
    void ShowHelpTopic(const std::string& topic) override { VXPSFilter::ShowHelpTopic(topic); }
    std::intptr_t GetHostWindow() const override;
    void LogTiming(const std::string& format) override;
    void LogTiming(const std::string& format, std::int32_t milliseconds) override;
    void FinishStartupLog() override;

    const std::string& GetPresetsFolder() const { return m_library.presetsFolder(); }
    const Texture3D* GetTexture() const { return m_texture.get(); }
    const std::vector<ColourEntry>& GetColourTable() const { return m_colour_table; }
    const VXImage2* GetTextureImage() const { return m_texture_image.get(); }
    MersenneTwister& GetRandom() { return m_random; }
    // True when the last Start ran without a dialog.
    bool WasSilent() const { return m_silent; }

private:
    void BuildTexture();
    // The pattern space the host asks for (none when the host's answer is not ours);
    // an impossible one is an error.
    void ReadPatternSpace();
    // The block's preset file: the dialog's current file, or after a silent run the
    // name the folder's listing gave.
    void StoreCurrentFileName(const std::string& silentFileName);
    bool IsSilentRun(bool replaying) const;
    // The name of the current preset file's preset that holds the block's texture;
    // "" when none does (or no library was read).
    std::string PresetNameOfBlock() const;
    // Why the block's texture picture cannot be used; "" when it can or none is on.
    std::string TexturePictureProblem() const;
    TextureRenderSettings Settings();

    FilterParameters* m_parameters = nullptr;
    std::unique_ptr<Texture3D> m_texture;
    std::vector<ColourEntry> m_colour_table;
    std::shared_ptr<const VXImage2> m_texture_image;
    MersenneTwister m_random{1};
    TileBuffers m_tile_buffers;
    std::vector<TileBuffers> m_group_buffers; // one for each thread RenderTiles renders on
    PatternSpace m_pattern_space;             // what the host asked for at Start; the plane from any other host
    PresetLibrary m_library;
    std::string m_textures_folder;
    std::unique_ptr<PSMorvessanDialogRunner> m_dialog;
    bool m_silent = false;
};

// The module's one plug-in object.
PSMorvessanPlugin& morvessanPlugin();

} // namespace morvessan
