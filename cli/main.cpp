// The command-line host: runs the texture filter through PluginMain on image
// files, and works with presets and parameter blocks.
#include "cli/CliOptionTable.h"
#include "job/NameSuggestions.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#if defined(_WIN32)
#include "host/win32/VXPSModuleOption.h"
#endif

// The build passes the project's version; this is its value when it does not.
#if !defined(MORVESSAN_VERSION)
#define MORVESSAN_VERSION "unknown"
#endif

#include <exception>
#include <fstream>
#include <iostream>
#include <new>

namespace morvessan::cli {

const char* const kMainHelp =
    "usage: morvessan COMMAND [options]\n"
    "\n"
    "Commands:\n"
    "  render [options] OUTPUT          render a texture onto a new canvas\n"
    "  apply [options] INPUT OUTPUT     render a texture over a picture\n"
    "  edit [options] INPUT OUTPUT      the filter's dialog over a picture (Windows)\n"
    "  presets list|check|add ...       the preset library\n"
    "  sheet [options] OUTPUT           every preset of a file as thumbnails\n"
    "  params show|set|init FILE ...    parameter block files\n"
    "  studio [options]                 design textures in the browser, with live preview\n"
    "  completion bash                  a bash completion script for this program\n"
    "\n"
    "'morvessan COMMAND --help' describes each command; 'morvessan --version' prints\n"
    "the version.\n";

} // namespace morvessan::cli

int main(int argc, char** argv) {
    using namespace morvessan::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    const auto finish = [](int status) {
        // Messages nobody turned into an error are still worth a line.
        if (const std::string note = takePlatformMessage(); !note.empty()) {
            std::cerr << "morvessan: note: " << printable(note) << "\n";
        }
        // Output that did not arrive (a full disk, a closed pipe) is no success.
        if (std::string error; !standardOutputWritten(error)) {
            std::cerr << "morvessan: " << printable(error) << "\n";
            return status != 0 ? status : 1;
        }
        return status;
    };
    try {
        installInterruptCleanup();
        installCliPlatform(argc > 0 ? argv[0] : "morvessan");
#if defined(_WIN32)
        // "--module FILE": a filter module loaded as a host loads it, instead of the linked-in one.
        if (const auto entry = morvessan::takeModuleOption(args)) {
            pluginEntry() = *entry;
        }
#endif
        if (args.empty()) {
            std::cerr << kMainHelp;
            return 2;
        }
        const std::string command = args[0];
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        if (command == "--help" || command == "-h" || command == "help") {
            std::cout << kMainHelp;
            return finish(0);
        }
        if (command == "--version" || command == "version") {
            std::cout << "morvessan " MORVESSAN_VERSION "\n";
            return finish(0);
        }
        // The manual page, made from the option table (the build keeps morvessan.1 so).
        if (command == "manual") {
            if (rest.empty()) {
                std::cout << manualPage();
                return finish(0);
            }
            std::ofstream file(rest[0], std::ios::binary);
            if (!(file << manualPage()) || !file.flush()) {
                throw JobError("cannot write the manual page to '" + rest[0] + "'");
            }
            return 0;
        }
        if (command == "render") {
            return finish(commandRender(rest));
        }
        if (command == "apply") {
            return finish(commandApply(rest));
        }
        if (command == "edit") {
            return finish(commandEdit(rest));
        }
        if (command == "presets") {
            return finish(commandPresets(rest));
        }
        if (command == "sheet") {
            return finish(commandSheet(rest));
        }
        if (command == "params") {
            return finish(commandParams(rest));
        }
        if (command == "studio") {
            return finish(commandStudio(rest));
        }
        if (command == "completion") {
            return finish(commandCompletion(rest));
        }
        throw usageError("unknown command '" + command + "'" +
                         didYouMean(command, {"render", "apply", "edit", "presets", "sheet", "params", "studio",
                                              "completion", "--help", "--version"}) +
                         " (see 'morvessan --help')");
    } catch (const JobError& error) {
        std::cerr << "morvessan: " << printable(error.what()) << "\n";
        return error.status();
    } catch (const std::bad_alloc&) {
        std::cerr << "morvessan: out of memory\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "morvessan: " << printable(error.what()) << "\n";
        return 1;
    }
}
