// PSMorvessanEditingSession: all the dialogs and their controls see of the
// plug-in while the user edits: block, presets, previews, colours and help.
#pragma once

#include "dialog/VXPSPreviewSession.h"

#include <cstdint>
#include <string>

namespace morvessan {

class PresetFile;
class PresetLibrary;
class VXImage2;
struct FilterParameters;
struct TextureFields;
struct TexturePreset;

class PSMorvessanEditingSession {
public:
    virtual ~PSMorvessanEditingSession() = default;

    // The host's parameter block being edited (null outside a run).
    virtual FilterParameters* GetParameters() const = 0;

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

    // The previews of the run.
    virtual VXPSPreviewSession& GetPreview() = 0;

    // The colour picker (0x00BBGGRR in and out); true when a colour was chosen.
    virtual bool ChooseColour(std::uint32_t& colour) = 0;
    // Help: the help file's path, and the file opened at a topic ("::/Welcome.htm").
    virtual void GetHelpFilePath(std::string& path) = 0;
    virtual void ShowHelpTopic(const std::string& topic) = 0;
    // The host's main window as the platform's handle; 0 when the host names none.
    virtual std::intptr_t GetHostWindow() const = 0;

    // The startup log's timing lines: "%d" becomes the milliseconds since the
    // run's start, or `milliseconds`; the first idle moment closes the log.
    virtual void LogTiming(const std::string& format) = 0;
    virtual void LogTiming(const std::string& format, std::int32_t milliseconds) = 0;
    virtual void FinishStartupLog() = 0;

protected:
    PSMorvessanEditingSession() = default;
    PSMorvessanEditingSession(const PSMorvessanEditingSession&) = default;
    PSMorvessanEditingSession& operator=(const PSMorvessanEditingSession&) = default;
};

} // namespace morvessan
