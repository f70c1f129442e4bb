// PSMorvessanPlugin: the texture filter: its parameter block, set-up and dialog
// in Start, and the rendering of textures into the host image and the previews.
#pragma once

#include "VXLib/VXImage2.h"
#include "plugin/MersenneTwister.h"
#include "plugin/PSMorvessanDialogRunner.h"
#include "plugin/TextureRenderer.h"
#include "plugin/VXPSFilter.h"
#include "presets/PresetLibrary.h"
#include "texture/ColourTable.h"
#include "texture/FilterParameters.h"
#include "texture/Texture3D.h"

#include <memory>
#include <string>
#include <vector>

namespace morvessan {

class PSMorvessanPlugin : public VXPSFilter {
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
    // A texture that looks the same when a preview band is rendered alone needs
    // every coordinate and grain draw of the whole preview, so scrolling renders
    // the output proxy anew.
    void UpdateOutputImage(const VXPSRect& rect) override;

    // Draws `preset` over a checkerboard into a 24-bit screen image, as it would
    // look over the whole filter rectangle; false when the image is not 24-bit.
    bool RenderPresetThumbnail(const TexturePreset& preset, VXImage2& image);
    // Copies every field of `preset` but its name into the block; rebuilds the texture.
    void ApplyPreset(const TextureFields& preset);

    // Folders to use instead of those beside the module (a command line's
    // options); empty names keep the module's folders.
    void SetFolders(std::string presetsFolder, std::string texturesFolder);

    // The dialog used in interactive runs (null: the build's own).
    void SetDialogRunner(std::unique_ptr<PSMorvessanDialogRunner> runner);
    PSMorvessanDialogRunner& GetDialogRunner() { return *m_dialog; }

    // Accessors for the dialogs.
    int GetPresetFileCount() const { return m_library.fileCount(); }
    PresetFile& GetPresetFile(int index) { return m_library.file(index); }
    int GetCurrentPresetFile() const { return m_library.currentFileIndex(); }
    void SetCurrentPresetFile(int index) { m_library.setCurrentFileIndex(index); }
    PresetLibrary& GetPresetLibrary() { return m_library; }
    const std::string& GetTexturesFolder() const { return m_textures_folder; }
    const std::string& GetPresetsFolder() const { return m_library.presetsFolder(); }
    FilterParameters* GetParameters() const { return m_parameters; }
    const Texture3D* GetTexture() const { return m_texture.get(); }
    const std::vector<ColourEntry>& GetColourTable() const { return m_colour_table; }
    const VXImage2* GetTextureImage() const { return m_texture_image.get(); }
    MersenneTwister& GetRandom() { return m_random; }
    // True when the last Start ran without a dialog.
    bool WasSilent() const { return m_silent; }

private:
    void BuildTexture();
    void StoreCurrentFileName();
    bool IsSilentRun() const;
    // Why the block's texture picture cannot be used; "" when it can or none is on.
    std::string TexturePictureProblem() const;
    TextureRenderSettings Settings();

    FilterParameters* m_parameters = nullptr;
    std::unique_ptr<Texture3D> m_texture;
    std::vector<ColourEntry> m_colour_table;
    std::shared_ptr<const VXImage2> m_texture_image;
    MersenneTwister m_random{1};
    TileBuffers m_tile_buffers;
    PresetLibrary m_library;
    std::string m_textures_folder;
    std::unique_ptr<PSMorvessanDialogRunner> m_dialog;
    bool m_silent = false;
    std::string m_presets_override;
    std::string m_textures_override;
};

// The 8-bit map of the texture picture at `path`; the neutral 20 × 20 map of 128
// when the file cannot be used. The last picture is decoded once and shared while
// its file keeps its path, size and modification time.
std::shared_ptr<const VXImage2> loadTextureMap(const std::string& path);

// The module's one plug-in object.
PSMorvessanPlugin& morvessanPlugin();

} // namespace morvessan
