// A stand-in for the plug-in as the dialog pages see it: a plain parameter block,
// a preset library the test builds in memory, and a record of what was asked.
#pragma once

#include "VXLib/VXImage2.h"
#include "dialog/PSMorvessanBlockSession.h"
#include "dialog/PSMorvessanDialogServices.h"
#include "dialog/PSMorvessanPresetSession.h"
#include "presets/PresetLibrary.h"
#include "texture/FilterParameters.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvessan::test {

class FakeDialogSession : public PSMorvessanBlockSession,
                          public PSMorvessanPresetSession,
                          public PSMorvessanDialogServices {
public:
    FakeDialogSession() { writeDefaultParameters(m_block); }
    FakeDialogSession(const FakeDialogSession&) = delete;
    FakeDialogSession& operator=(const FakeDialogSession&) = delete;

    // The pages' view of the block can be taken away, as outside a run.
    void dropBlock() { m_parameters = nullptr; }

    FilterParameters* GetParameters() const override { return m_parameters; }

    PresetLibrary& GetPresetLibrary() override { return m_library; }
    int GetPresetFileCount() const override { return m_library.fileCount(); }
    PresetFile& GetPresetFile(int index) override { return m_library.file(index); }
    int GetCurrentPresetFile() const override { return m_library.currentFileIndex(); }
    void SetCurrentPresetFile(int index) override { m_library.setCurrentFileIndex(index); }
    void ApplyPreset(const TextureFields& preset) override {
        ++m_applied;
        if (m_parameters) {
            storePresetInBlock(*m_parameters, preset);
        }
    }
    // Records the preset's name and paints nothing; a 24-bit image only, as the plug-in.
    bool RenderPresetThumbnail(const TexturePreset& preset, VXImage2& image) override {
        m_thumbnails.push_back(preset.name);
        return image.bitCount() == 24;
    }
    const std::string& GetTexturesFolder() const override { return m_textures_folder; }

    // The picker sees the colour offered and answers with m_picked (none: cancelled).
    bool ChooseColour(std::uint32_t& colour) override {
        m_offered.push_back(colour);
        if (!m_picked) {
            return false;
        }
        colour = *m_picked;
        return true;
    }
    void GetHelpFilePath(std::string& path) override { path = "Fake.chm"; }
    void ShowHelpTopic(const std::string& topic) override { m_topics.push_back(topic); }
    std::intptr_t GetHostWindow() const override { return 0; }
    // Lines as "format|milliseconds" ("format|-" without one).
    void LogTiming(const std::string& format) override { m_log.push_back(format + "|-"); }
    void LogTiming(const std::string& format, std::int32_t milliseconds) override {
        m_log.push_back(format + "|" + std::to_string(milliseconds));
    }
    void FinishStartupLog() override { ++m_log_finished; }

    FilterParameters m_block{};
    PresetLibrary m_library;
    std::string m_textures_folder;
    std::optional<std::uint32_t> m_picked;

    int m_applied = 0;
    std::vector<std::string> m_thumbnails;
    std::vector<std::uint32_t> m_offered;
    std::vector<std::string> m_topics;
    std::vector<std::string> m_log;
    int m_log_finished = 0;

private:
    FilterParameters* m_parameters = &m_block;
};

} // namespace morvessan::test
