// The fixture of the command-line tests: a folder of its own per test, and the
// built program run through the shell with its output and status caught.
#pragma once

#include "job/JobFiles.h"
#include "presets/PresetFile.h"
#include "texture/FilterParameters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#if defined(_WIN32)
#include <process.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using namespace morvessan;
namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out;
    std::string err;
};

// A shell word: single quotes for sh, double quotes for cmd.
std::string q(const std::string& word) {
#if defined(_WIN32)
    return "\"" + word + "\"";
#else
    return "'" + word + "'";
#endif
}

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline long processNumber() {
#if defined(_WIN32)
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(getpid());
#endif
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        // The process's number too: test runs of two checkouts may share the folder for temporary files.
        m_dir = fs::temp_directory_path() /
                ("morvessan-cli-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                 std::to_string(processNumber()));
        removeTree();
        fs::create_directories(m_dir / "presets");
        fs::create_directories(m_dir / "textures");
    }
    void TearDown() override { removeTree(); }

    // Read-only files (some tests make them) cannot be removed on Windows.
    void removeTree() const {
        std::error_code ec;
        for (fs::recursive_directory_iterator it(m_dir, ec), end; !ec && it != end; it.increment(ec)) {
            if (!it->is_symlink()) {
                fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ec);
            }
        }
        // Under Wine a finished program's console host may hold one of its redirected
        // files a moment longer, and the folder cannot go until it lets go. In a fresh
        // prefix the first test's folder may stay held: it is then left in Temp, where
        // it harms nothing, since every test has a folder of its own name.
        for (int attempt = 0; fs::remove_all(m_dir, ec), ec && attempt < 20; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }

    fs::path at(const std::string& name) const { return m_dir / name; }
    // The last run's standard output as written, before its line ends were touched.
    fs::path lastOutput() const { return at("stdout-" + std::to_string(m_runs) + ".txt"); }
    mutable int m_runs = 0;
    std::string p(const std::string& name) const { return q(at(name).string()); }

    // Runs the program with the folders of this test unless given.
    Result run(const std::string& arguments, bool folders = true) const {
        std::string command = q(MORVESSAN_PROGRAM) + " " + arguments;
        if (folders) {
            command += " --presets-dir " + p("presets") + " --textures-dir " + p("textures");
        }
        // Fresh names for every run: under Wine a finished program's handles may close a
        // moment after it ends, and reopening the same file then fails as shared.
        const std::string out = "stdout-" + std::to_string(++m_runs) + ".txt";
        const std::string err = "stderr-" + std::to_string(m_runs) + ".txt";
        command += " >" + p(out) + " 2>" + p(err);
#if defined(_WIN32)
        command = "\"" + command + "\""; // cmd /c keeps inner quotes only inside an outer pair
#endif
        int status = std::system(command.c_str());
#if !defined(_WIN32)
        status = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
#endif
        Result result{status, readText(at(out)), readText(at(err))};
#if defined(_WIN32)
        // The console streams are in text mode there: line ends come out as CR LF.
        for (std::string* text : {&result.out, &result.err}) {
            text->erase(std::remove(text->begin(), text->end(), '\r'), text->end());
        }
#endif
        return result;
    }

    // One clear line on stderr, a failure status, and `output` not written.
    void expectRefused(const Result& r, const std::string& part, const std::string& output = "") const {
        EXPECT_NE(r.status, 0);
        EXPECT_EQ(r.err.rfind("morvessan: ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find(part), std::string::npos) << r.err;
        if (!output.empty()) {
            EXPECT_FALSE(fs::exists(at(output)));
        }
    }

    void writePresetFile(const std::string& name) const {
        PresetFile file;
        file.setTexturesFolder((m_dir / "textures").string() + "/");
        file.setPath((m_dir / "presets" / (name + ".txt")).string());
        file.deleteCategory(0);
        file.addCategory("Stone");
        TexturePreset marble;
        marble.type = kMarble;
        marble.colourCount = 3;
        marble.colours[0] = 0xFF202020u;
        marble.colours[1] = 0xFF8090A0u;
        marble.positions[1] = 128;
        marble.colours[2] = 0xFFF0F0F0u;
        marble.positions[2] = 255;
        file.addPreset(marble, 0, "Grey Marble");
        file.addCategory("Sky");
        TexturePreset cloud;
        file.addPreset(cloud, 1, "Plain Cloud");
        ASSERT_TRUE(file.save());
    }

    HostImage load(const std::string& name) const {
        HostImage image;
        std::string error;
        EXPECT_TRUE(loadHostImage(at(name).string(), image, error)) << error;
        return image;
    }
    void save(const std::string& name, const HostImage& image) const {
        std::string error;
        ASSERT_TRUE(saveHostImage(at(name).string(), image, error)) << error;
    }

    fs::path m_dir;
};

} // namespace
