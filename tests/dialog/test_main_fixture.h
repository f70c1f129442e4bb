// Shared set-up of the main dialog model tests: a scripted platform, a scratch
// presets folder, and a plug-in object holding a parameter block of its own.
#pragma once

#include "VXLib/VXUTIL/VXPortablePlatform.h"
#include "plugin/PSMorvessanPlugin.h"
#include "texture/FilterParameters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace morvessan::test {

class MainModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto platform = std::make_unique<VXPortablePlatform>();
        m_platform = platform.get();
        m_previous = vxSetPlatform(std::move(platform));
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::temp_directory_path() /
                   ("morvessan-main-" + std::string(info->test_suite_name()) + "-" + info->name());
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
        std::filesystem::create_directories(m_folder);
        m_platform->setModulePath((m_folder / "XMorvessan.8bf").string());
        m_platform->setSettingsFile("");
        m_platform->setClock(1000);
        writeDefaultParameters(m_block);
        m_plugin = std::make_unique<PSMorvessanPlugin>();
        m_plugin->SetParameterBlock(&m_block);
        // An empty folder gives one unsaved file "Default" whose category
        // "Default" holds the block's texture.
        m_plugin->GetPresetLibrary().discoverPresetFilesIn(m_folder.string(), m_block.texture);
    }
    void TearDown() override {
        m_plugin.reset();
        vxSetPlatform(std::move(m_previous));
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    PresetFile& file(int i) { return m_plugin->GetPresetFile(i); }

    VXPortablePlatform* m_platform = nullptr;
    std::unique_ptr<VXPlatform> m_previous;
    std::filesystem::path m_folder;
    FilterParameters m_block{};
    std::unique_ptr<PSMorvessanPlugin> m_plugin;
};

} // namespace morvessan::test
