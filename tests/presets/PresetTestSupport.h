// Shared pieces of the preset tests: a scripted platform and a scratch presets
// folder per test, and small file helpers.
#pragma once

#include "VXLib/VXUTIL/VXPath.h"
#include "VXLib/VXUTIL/VXPortablePlatform.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace morvessan::testing {

class PresetFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_test_platform = std::make_unique<test::TestPlatform>("morvessan-presets-");
        m_platform = &m_test_platform->platform();
        m_root = m_test_platform->folder();
        std::filesystem::create_directories(m_root / "Morvessan Presets");
    }
    void TearDown() override { m_test_platform.reset(); }

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

    std::unique_ptr<test::TestPlatform> m_test_platform;
    VXPortablePlatform* m_platform = nullptr;
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
