// A scripted platform installed for one test's life, with a fresh folder named
// after the test that stands for the folder beside the module.
#pragma once

#include "VXLib/VXUTIL/VXPortablePlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace morvessan::test {

class TestPlatform {
public:
    // The folder is "<temp>/<prefix><suite>-<test>"; the module "XMorvessan.8bf"
    // lies in it, per-user settings stay in memory, the clock stands at 1000 and
    // the folder variables are scripted empty.
    explicit TestPlatform(const std::string& prefix) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::temp_directory_path() /
                   (prefix + std::string(info->test_suite_name()) + "-" + info->name());
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
        std::filesystem::create_directories(m_folder);
        auto platform = std::make_unique<VXPortablePlatform>();
        platform->setModulePath((m_folder / "XMorvessan.8bf").string());
        platform->setSettingsFile("");
        platform->setClock(1000);
        // The module's own folders, whatever the environment of the test run says.
        platform->scriptEnvironment("MORVESSAN_PRESET_FOLDER", "");
        platform->scriptEnvironment("MORVESSAN_TEXTURE_FOLDER", "");
        m_platform = platform.get();
        m_previous = vxSetPlatform(std::move(platform));
    }
    ~TestPlatform() {
        vxSetPlatform(std::move(m_previous));
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    TestPlatform(const TestPlatform&) = delete;
    TestPlatform& operator=(const TestPlatform&) = delete;

    VXPortablePlatform& platform() const { return *m_platform; }
    const std::filesystem::path& folder() const { return m_folder; }

private:
    std::filesystem::path m_folder;
    VXPortablePlatform* m_platform = nullptr;
    std::unique_ptr<VXPlatform> m_previous;
};

} // namespace morvessan::test
