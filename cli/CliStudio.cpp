// "studio": Morvessan Studio's server on this machine's loopback address, and the
// user's browser opened at its page; Ctrl+C stops it.
#include "cli/CliOptionTable.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#if defined(MORVESSAN_STUDIO)
#include "studio/StudioBrowser.h"
#include "studio/StudioServer.h"
#endif

#include <filesystem>
#include <iostream>

namespace morvessan::cli {

namespace {

const char* const kStudioHelp =
    "usage: morvessan studio [--port N] [--export-dir DIR] [--no-browser] [--presets-dir DIR] [--textures-dir DIR]\n"
    "\n"
    "Starts Morvessan Studio: a page in the browser where a texture is picked from the\n"
    "preset library, edited with a live preview, saved as a preset and exported. The\n"
    "server listens on 127.0.0.1 only; its address holds a random key, so only who\n"
    "sees the address can use it. Ctrl+C stops it.\n"
    "\n";

} // namespace

int commandStudio(const std::vector<std::string>& list) {
    const Arguments args("studio", list, {"--port", "--export-dir", "--presets-dir", "--textures-dir"},
                         {"--no-browser"});
    if (args.help()) {
        std::cout << kStudioHelp << optionsHelp("studio");
        return 0;
    }
    args.expectOperands(0, "no operands");
#if defined(MORVESSAN_STUDIO)
    studio::StudioSettings settings;
    settings.presetsDir = args.value("--presets-dir").value_or(defaultPresetsDir());
    settings.texturesDir = args.value("--textures-dir").value_or(defaultTexturesDir());
    // An installed program's own folder is made on its first write, as "presets add" makes it.
    settings.makePresetsFolder = !args.value("--presets-dir") && !ownFolders().sharedPresets.empty();
    std::error_code ec;
    settings.exportDir = args.value("--export-dir").value_or(std::filesystem::current_path(ec).string());
    if (!std::filesystem::is_directory(settings.exportDir, ec)) {
        throw usageError("--export-dir '" + settings.exportDir + "' is not a folder");
    }
    settings.exportDir = std::filesystem::absolute(settings.exportDir, ec).string();
    if (const auto port = args.value("--port")) {
        settings.port = static_cast<std::uint16_t>(parseInteger(*port, 1, 65535, "--port"));
    }
    studio::StudioServer server(settings);
    server.bind();
    const std::string address = server.address();
    const bool opened = !args.has("--no-browser") && studio::openBrowser(address);
    std::cout << "Morvessan Studio: " << address << "\n"
              << (opened ? "Opened in your browser. " : "Open this address in your browser. ") << "Exports go to "
              << printable(settings.exportDir) << ". Ctrl+C stops the studio.\n"
              << std::flush;
    server.serve();
    return 0;
#else
    throw JobError("this build of morvessan has no studio (it was built without cpp-httplib)");
#endif
}

} // namespace morvessan::cli
