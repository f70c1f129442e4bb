// Shared set-up of the main dialog model tests: a scripted platform, a scratch
// presets folder, and a plug-in object holding a parameter block of its own.
#pragma once

#include "VXLib/VXUTIL/VXPortablePlatform.h"
#include "tests/support/TestPlatform.h"
#include "plugin/PSMorvessanPlugin.h"
#include "texture/FilterParameters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace morvessan::test {

class MainModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_test_platform = std::make_unique<TestPlatform>("morvessan-main-");
        m_platform = &m_test_platform->platform();
        m_folder = m_test_platform->folder();
        writeDefaultParameters(m_block);
        m_plugin = std::make_unique<PSMorvessanPlugin>();
        m_plugin->SetParameterBlock(&m_block);
        // An empty folder gives one unsaved file "Default" whose category
        // "Default" holds the block's texture.
        m_plugin->GetPresetLibrary().discoverPresetFilesIn(m_folder.string(), m_block.texture);
    }
    void TearDown() override {
        m_plugin.reset();
        m_test_platform.reset();
    }

    PresetFile& file(int i) { return m_plugin->GetPresetFile(i); }

    std::unique_ptr<TestPlatform> m_test_platform;
    VXPortablePlatform* m_platform = nullptr;
    std::filesystem::path m_folder;
    FilterParameters m_block{};
    std::unique_ptr<PSMorvessanPlugin> m_plugin;
};

} // namespace morvessan::test
