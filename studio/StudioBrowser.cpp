// The browser is the desktop's business: Windows opens the address through the
// platform layer's shell, other systems through xdg-open, started without a shell.
#include "studio/StudioBrowser.h"

#include "VXLib/VXUTIL/VXPlatform.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace morvessan::studio {

bool openBrowser(const std::string& url) {
#if defined(_WIN32)
    return vxPlatform().openWebPage(url);
#else
    // Without a display there is no browser to show the page in.
    if (vxProcessEnvironment("DISPLAY").empty() && vxProcessEnvironment("WAYLAND_DISPLAY").empty()) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The opener's chatter would interleave with ours; it has nothing to read.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string program = "xdg-open";
    std::string address = url;
    char* argv[] = {program.data(), address.data(), nullptr};
    pid_t child = 0;
    const bool started = posix_spawnp(&child, "xdg-open", &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!started) {
        return false;
    }
    int status = 0;
    // xdg-open hands the address to the browser and returns.
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
}

} // namespace morvessan::studio
