// The texture picker's scan, selection by stored path and stored paths, and the
// Effects page switching a texture on.
#include "VXLib/VXImageWriter.h"
#include "VXLib/VXPalette.h"
#include "dialog/PSMorvessanAdvancedExtrasChildModel.h"
#include "test_main_fixture.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace morvessan::test {

namespace {

void writePicture(const std::filesystem::path& path, int bitCount, const VXPalette* palette) {
    VXImage2 image;
    ASSERT_TRUE(image.create(6, 4, bitCount, palette));
    for (int y = 0; y < 4; ++y) {
        std::fill_n(image.row(y), image.stride(), static_cast<std::uint8_t>(40 * y));
    }
    std::string error;
    ASSERT_TRUE(saveImageFile(path.string(), image, &error)) << error;
}

} // namespace

using MainTextureLibraryTest = MainModelTest;

TEST_F(MainTextureLibraryTest, ScanKeepsEightBitPicturesAndSelectsByPath) {
    const VXPalette grey = VXPalette::greyPalette();
    const VXPalette colours = VXPalette::defaultPalette();
    writePicture(m_folder / "Grey.png", 8, &grey);
    writePicture(m_folder / "Indexed.bmp", 8, &colours);
    writePicture(m_folder / "Photo.jpg", 24, nullptr);
    std::ofstream(m_folder / "notes.txt") << "not a picture\n";

    PSMorvessanTextureLibraryModel library;
    m_platform->showCursor(VXCursorKind::SizeNS);
    std::vector<int> reports;
    library.scan(m_folder.string(), [&](int processed) {
        reports.push_back(processed);
        return true;
    });
    ASSERT_EQ(library.count(), 2);
    EXPECT_EQ(library.caption(0), "Grey");
    EXPECT_EQ(library.caption(1), "Indexed");
    EXPECT_EQ(reports, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(m_platform->currentCursor(), static_cast<VXCursorHandle>(VXCursorKind::SizeNS));
    EXPECT_EQ(library.thumbnail(0, 10, 8).bitCount(), 24);

    std::string upper = library.path(1);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    EXPECT_TRUE(library.selectPath(upper));
    EXPECT_EQ(library.selectedPath(), library.path(1));
    EXPECT_FALSE(library.selectPath((m_folder / "other" / "Indexed.bmp").string()));
    EXPECT_EQ(library.selectedPath(), "");

    // Stopped after the first file: what was read so far stays.
    PSMorvessanTextureLibraryModel stopped;
    stopped.scan(m_folder.string(), [](int) { return false; });
    EXPECT_EQ(stopped.count(), 1);

    // Switching the texture on with nothing selected takes the first picture.
    PSMorvessanAdvancedExtrasChildModel page(*m_plugin, *m_plugin);
    page.textures().scan(m_folder.string());
    EXPECT_NE(page.setTextureEnabled(true) & kChangeTextureList, 0u);
    EXPECT_EQ(readField(m_block.texture.texturePath, kPathSize), library.path(0));
    EXPECT_EQ(page.chooseTexture(1), kChangePreview | kChangeTextureList);
    EXPECT_EQ(readField(m_block.texture.texturePath, kPathSize), library.path(1));
}

TEST_F(MainTextureLibraryTest, LongPathIsStoredCut) {
#if defined(_WIN32)
    GTEST_SKIP() << "folders this deep need the long-path prefix on Windows";
#endif
    const std::filesystem::path deep = m_folder / std::string(150, 'a') / std::string(150, 'b');
    std::filesystem::create_directories(deep);
    const VXPalette grey = VXPalette::greyPalette();
    writePicture(deep / "Grey.png", 8, &grey);
    PSMorvessanTextureLibraryModel library;
    library.scan(deep.string());
    ASSERT_EQ(library.count(), 1);
    library.select(0);
    ASSERT_GE(library.selectedPath().size(), 300u);
    TextureFields fields;
    std::fill_n(fields.texturePath, kPathSize, 'x');
    ASSERT_TRUE(library.storeSelectedPath(fields));
    EXPECT_EQ(std::string(fields.texturePath), library.selectedPath().substr(0, 259));
    EXPECT_EQ(fields.texturePath[259], '\0');
}

} // namespace morvessan::test
