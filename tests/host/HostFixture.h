// Shared set-up of the texture filter's tests: a scripted platform with a module
// path in a scratch folder, a scripted dialog, and a small host image.
#pragma once

#include "VXLib/VXUTIL/VXPortablePlatform.h"
#include "host/FilterHost.h"
#include "plugin/PSMorvessanPlugin.h"
#include "plugin/StartupLog.h"
#include "plugin/VXPSErrors.h"
#include "texture/FilterParameters.h"
#include "tests/support/TestPlatform.h"
#include "texture/TextureBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

namespace morvessan::test {

class ScriptedDialog : public PSMorvessanDialogRunner {
public:
    explicit ScriptedDialog(std::function<bool(PSMorvessanPlugin&)> script, int* runs = nullptr)
        : m_script(std::move(script)), m_runs(runs) {}
    // The scripts look behind the session at the plug-in object that offers it.
    bool RunDialog(PSMorvessanEditingSession& session) override {
        if (m_runs) {
            ++*m_runs;
        }
        return m_script ? m_script(dynamic_cast<PSMorvessanPlugin&>(session)) : true;
    }
    void EnableHostWindow() override { ++enabled; }
    int enabled = 0;

private:
    std::function<bool(PSMorvessanPlugin&)> m_script;
    int* m_runs;
};

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_test_platform = std::make_unique<TestPlatform>("morvessan-host-test-");
        m_platform = &m_test_platform->platform();
        m_folder = m_test_platform->folder();
        morvessanPlugin().SetDialogRunner(nullptr);
    }
    void TearDown() override {
        morvessanPlugin().SetDialogRunner(nullptr);
        m_test_platform.reset();
    }

    void useDialog(std::function<bool(PSMorvessanPlugin&)> script) {
        morvessanPlugin().SetDialogRunner(std::make_unique<ScriptedDialog>(std::move(script), &m_dialog_runs));
    }

    // A parameter block with defaults, changed by `change`, handed to the host.
    static void giveBlock(FilterHost& host, const std::function<void(FilterParameters&)>& change) {
        std::vector<std::uint8_t> bytes(kFilterParametersSize, 0);
        auto* block = reinterpret_cast<FilterParameters*>(bytes.data());
        writeDefaultParameters(*block);
        change(*block);
        host.setParameterBytes(bytes);
    }
    static FilterParameters blockOf(const FilterHost& host) {
        FilterParameters block;
        const auto bytes = host.parameterBytes();
        EXPECT_EQ(bytes.size(), kFilterParametersSize);
        std::memcpy(&block, bytes.data(), sizeof block);
        return block;
    }

    std::unique_ptr<TestPlatform> m_test_platform;
    std::filesystem::path m_folder;
    VXPortablePlatform* m_platform = nullptr;
    int m_dialog_runs = 0;
};

inline HostImage patternImage(std::int32_t w, std::int32_t h, std::int32_t planes) {
    HostImage image(w, h, planes);
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            std::uint8_t* p = image.pixel(x, y);
            p[0] = static_cast<std::uint8_t>(x * 5 + y);
            p[1] = static_cast<std::uint8_t>(y * 3 + 40);
            p[2] = static_cast<std::uint8_t>(200 - x);
            if (planes == 4) {
                p[3] = static_cast<std::uint8_t>((x * 37 + y * 11) % 256);
            }
        }
    }
    return image;
}

// The texture value the host render gives pixel (x, y): coordinates start at
// the tile's corner and advance by repeated addition.
inline double hostValue(const Texture3D& texture, std::int32_t x, std::int32_t y, std::int32_t fw, std::int32_t fh) {
    const std::int32_t tileLeft = x / 128 * 128;
    const std::int32_t tileTop = y / 128 * 128;
    double px = tileLeft / static_cast<double>(fw);
    for (std::int32_t k = tileLeft; k < x; ++k) {
        px += 1.0 / fw;
    }
    double py = tileTop / static_cast<double>(fh);
    for (std::int32_t k = tileTop; k < y; ++k) {
        py += 1.0 / fh;
    }
    return texture.evaluate(px, py);
}

} // namespace morvessan::test
