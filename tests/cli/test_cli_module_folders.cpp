// The folders the command line names reach the filter through the environment:
// the linked-in plug-in and a module loaded with --module read the same ones.
#include "CliTest.h"

#include <cstring>

namespace {

// The preset file the plug-in stored in the block at the end of the run: the
// current file of the library it found, so it tells which folder it read.
std::string storedPresetFile(const fs::path& path) {
    const std::string bytes = readText(path);
    EXPECT_EQ(bytes.size(), kFilterParametersSize);
    FilterParameters block;
    std::memcpy(static_cast<void*>(&block), bytes.data(), std::min(bytes.size(), sizeof block));
    return readField(block.presetFile, kPathSize);
}

class JobFolders : public Cli {};

TEST_F(JobFolders, ThePluginReadsThePresetsFolderGivenOnTheCommandLine) {
    writePresetFile("Zeta Stones");
    const Result r = run("render --quiet --size 16x16 --params " + p("block.bin") + " " + p("out.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(storedPresetFile(at("block.bin")), "Zeta Stones");
}

#if defined(_WIN32) && defined(MORVESSAN_MODULE_FILE)
TEST_F(JobFolders, AModuleLoadedFromAFileReadsThePresetsFolderGivenOnTheCommandLine) {
    writePresetFile("Zeta Stones");
    // The module's own folder beside it holds other files or none: either way
    // its current file would not be this one.
    const Result r = run("--module " + q(MORVESSAN_MODULE_FILE) + " render --quiet --size 16x16 --params " +
                         p("block.bin") + " " + p("out.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(storedPresetFile(at("block.bin")), "Zeta Stones");

    // Both runs draw the same picture.
    const Result linked = run("render --quiet --size 16x16 --params " + p("linked.bin") + " " + p("linked.png"));
    ASSERT_EQ(linked.status, 0) << linked.err;
    EXPECT_EQ(readText(at("out.png")), readText(at("linked.png")));
}
#endif

} // namespace
