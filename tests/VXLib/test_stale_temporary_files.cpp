// Temporary files that interrupted writes left behind: the next replacement in
// their folder removes ours once they are a day old, and nothing else.
#include "VXLib/VXUTIL/VXWholeFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

using namespace morvessan;
namespace fs = std::filesystem;

TEST(StaleTemporaryFiles, OursOlderThanADayGoAtTheNextWriteThere) {
    const fs::path dir = fs::temp_directory_path() / "morvessan-stale-temporaries";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const auto make = [&](const std::string& name, std::chrono::hours age) {
        std::ofstream(dir / name) << "left";
        fs::last_write_time(dir / name, fs::file_time_type::clock::now() - age);
    };
    make(".Stone.txt.0123456789abcdef.tmp", std::chrono::hours(25)); // ours, old
    make(".x.fedcba9876543210.tmp", std::chrono::hours(30));         // ours, old
    make(".Stone.txt.0123456789abcdee.tmp", std::chrono::hours(23)); // ours, still fresh
    make(".Other.txt.0123456789ABCDEF.tmp", std::chrono::hours(48)); // not our spelling
    make("Stone.txt.0123456789abcdef.tmp", std::chrono::hours(48));  // no leading dot
    make(".Stone.txt.0123456789abcdef.tmp.keep", std::chrono::hours(48));
    make("notes.tmp", std::chrono::hours(48));

    std::string error;
    ASSERT_TRUE(vxReplaceFile((dir / "other.txt").string(), "new", error)) << error;
    EXPECT_FALSE(fs::exists(dir / ".Stone.txt.0123456789abcdef.tmp"));
    EXPECT_FALSE(fs::exists(dir / ".x.fedcba9876543210.tmp"));
    for (const char* kept :
         {".Stone.txt.0123456789abcdee.tmp", ".Other.txt.0123456789ABCDEF.tmp", "Stone.txt.0123456789abcdef.tmp",
          ".Stone.txt.0123456789abcdef.tmp.keep", "notes.tmp", "other.txt"}) {
        EXPECT_TRUE(fs::exists(dir / kept)) << kept;
    }
    fs::remove_all(dir);
}
