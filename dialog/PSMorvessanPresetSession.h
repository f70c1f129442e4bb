// PSMorvessanPresetSession: the preset library the pickers and the Manage Presets
// dialog see: its files, the current one, applying a preset, thumbnails, textures.
#pragma once

#include <string>

namespace morvessan {

class PresetFile;
class PresetLibrary;
class VXImage2;
struct TextureFields;
struct TexturePreset;

class PSMorvessanPresetSession {
public:
    virtual ~PSMorvessanPresetSession() = default;

    // The preset files found at the run's start, and the one the pickers show.
    virtual PresetLibrary& GetPresetLibrary() = 0;
    virtual int GetPresetFileCount() const = 0;
    virtual PresetFile& GetPresetFile(int index) = 0;
    virtual int GetCurrentPresetFile() const = 0;
    virtual void SetCurrentPresetFile(int index) = 0;
    // Copies every field of `preset` but its name into the block.
    virtual void ApplyPreset(const TextureFields& preset) = 0;
    // Draws `preset` over a checkerboard into a 24-bit screen image, as it would
    // look over the whole filter rectangle; false when the image is not 24-bit.
    virtual bool RenderPresetThumbnail(const TexturePreset& preset, VXImage2& image) = 0;
    // The folder whose pictures the texture list offers.
    virtual const std::string& GetTexturesFolder() const = 0;

protected:
    PSMorvessanPresetSession() = default;
    PSMorvessanPresetSession(const PSMorvessanPresetSession&) = default;
    PSMorvessanPresetSession& operator=(const PSMorvessanPresetSession&) = default;
};

} // namespace morvessan
