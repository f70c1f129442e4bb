// Temporary files: what interrupted writes left behind goes at the next replacement
// in their folder once a day old, and scratch files are private and of a new name.
#include "VXLib/VXUTIL/VXWholeFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

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

// A scratch file in a shared folder: nothing planted at its name is used, followed
// or copied, only its owner may open it, and it is never put in place.
TEST(StaleTemporaryFiles, AScratchFileIsNewPrivateAndNeverPutInPlace) {
    const fs::path dir = fs::temp_directory_path() / "morvessan-scratch-files";
    fs::remove_all(dir);
    fs::create_directories(dir / "out.png"); // a folder planted at the name
    fs::create_directories(dir / "linked");
    std::error_code noLinks; // Windows may refuse links to users without the right
    fs::create_directory_symlink(dir / "linked", dir / "other.png", noLinks);
#if !defined(_WIN32)
    const mode_t kept = ::umask(0);
#endif
    for (const char* name : {"out.png", "other.png", "new.png"}) {
        VXFileReplacement file;
        ASSERT_TRUE(file.beginPrivate(dir.string(), name)) << name << ": " << file.error();
        EXPECT_EQ(file.path(), (dir / name).string());
        EXPECT_EQ(fs::path(file.temporaryPath()).parent_path(), dir);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file.temporaryPath())));
#if !defined(_WIN32)
        struct stat data {};
        ASSERT_EQ(::stat(file.temporaryPath().c_str(), &data), 0);
        EXPECT_EQ(data.st_mode & 0777, 0600u) << name;
#endif
        ASSERT_TRUE(file.write("scratch"));
        ASSERT_TRUE(file.finish()) << file.error();
        EXPECT_FALSE(file.commit());
        EXPECT_NE(file.error().find("never put in place"), std::string::npos) << file.error();
        EXPECT_TRUE(file.temporaryPath().empty()); // refused, and removed
    }
#if !defined(_WIN32)
    ::umask(kept);
#endif
    // Two at once never share a name; both go when dropped.
    {
        VXFileReplacement a;
        VXFileReplacement b;
        ASSERT_TRUE(a.beginPrivate(dir.string(), "same.png"));
        ASSERT_TRUE(b.beginPrivate(dir.string(), "same.png"));
        EXPECT_NE(a.temporaryPath(), b.temporaryPath());
    }
    EXPECT_TRUE(fs::is_directory(dir / "out.png"));
    EXPECT_TRUE(fs::is_empty(dir / "linked"));
    EXPECT_FALSE(fs::exists(dir / "new.png"));
    EXPECT_FALSE(fs::exists(dir / "same.png"));
    std::size_t left = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir)) {
        ++left;
    }
    EXPECT_EQ(left, noLinks ? 2u : 3u); // out.png, linked, other.png
    fs::remove_all(dir);
}
