// Build-time tool: draws the dialogs' skin pictures, pan cursor and small icon into
// the folder named on the command line; optionally also the composed skin to look at.
#include "VXLib/VXImageWriter.h"
#include "VXLib/VXUTIL/VXWholeFile.h"
#include "resources/skin/IconFile.h"
#include "resources/skin/SkinPictures.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Replaced whole, so a failed run leaves no half-written file to embed.
bool writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    if (bytes.empty()) {
        error = "nothing was drawn for " + path.string();
        return false;
    }
    return morvessan::vxReplaceFile(path.string(),
                                    std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
}

} // namespace

int main(int argc, char** argv) {
    using namespace morvessan;
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_skin FOLDER [COMPOSED.png]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);

    const VXImage2 background = makeSkinBackground();
    const VXImage2 overlay = makeSkinOverlay();
    std::vector<VXImage2> icons;
    icons.push_back(makeLogoIcon(16));
    icons.push_back(makeLogoIcon(32));

    const std::vector<std::uint8_t> cursor = encodeCursorFile(makePanCursor(), kPanCursorHotspot, kPanCursorHotspot);

    std::string error;
    const bool ok = saveImageFile((folder / "SkinBackground.png").string(), background, &error) &&
                    saveImageFile((folder / "SkinOverlay.png").string(), overlay, &error) &&
                    writeBytes(folder / "Pan.cur", cursor, error) &&
                    writeBytes(folder / "Morvessan.ico", encodeIconFile(icons), error) &&
                    (argc == 2 || saveImageFile(argv[2], composeSkin(background, overlay), &error));
    if (!ok) {
        std::fprintf(stderr, "make_skin: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
