// Shared pieces of the preset tests: a scripted platform and a scratch presets
// folder per test, and small file helpers.
#pragma once

#include "VXLib/VXUTIL/VXPath.h"
#include "VXLib/VXUTIL/VXPortablePlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace morvessan::testing {

class PresetFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto platform = std::make_unique<VXPortablePlatform>();
        m_platform = platform.get();
        m_previous = vxSetPlatform(std::move(platform));
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_root = std::filesystem::temp_directory_path() /
                 ("morvessan-presets-" + std::string(info->test_suite_name()) + "-" + info->name());
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root / "Morvessan Presets");
        m_platform->setModulePath((m_root / "XMorvessan.8bf").string());
    }
    void TearDown() override {
        vxSetPlatform(std::move(m_previous));
        std::filesystem::remove_all(m_root);
    }

    std::string folder() const { return (m_root / "Morvessan Presets").string() + kPathSeparator; }
    std::string pathOf(const std::string& file) const { return folder() + file; }
    void write(const std::string& file, const std::string& text) const {
        std::ofstream(pathOf(file), std::ios::binary) << text;
    }
    std::string read(const std::string& file) const {
        std::ifstream in(pathOf(file), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    bool exists(const std::string& file) const { return std::filesystem::exists(pathOf(file)); }
    const std::vector<VXPortablePlatform::Message>& messages() const { return m_platform->messages(); }

    VXPortablePlatform* m_platform = nullptr;
    std::unique_ptr<VXPlatform> m_previous;
    std::filesystem::path m_root;
};

inline std::string categoryText(const std::string& name, std::initializer_list<std::string> presets) {
    std::string text = "Category '" + name + "'\r\n";
    for (const auto& preset : presets) {
        text += "Preset '" + preset +
                "'\r\nType: Wood\r\nNoiseLevel: 4\r\nNoiseSeed: 9\r\nColours: FF000000, 127, FFFFFFFF, 255\r\n"
                "TotalOpacity: 100\r\nTransformation: 1, 0, 0, 0, 1, 0, 0, 0, 1\r\n";
    }
    return text;
}

} // namespace morvessan::testing
