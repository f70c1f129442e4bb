// The command line and the Python call that make the studio's picture again, byte
// for byte: the fields that differ from the defaults, the canvas and the pattern space.
#pragma once

#include "studio/StudioTexture.h"

#include <string>

namespace morvessan::studio {

// "morvessan render OUTPUT --size WxH ... --set field=value ...", quoted for this
// system's shell (a POSIX shell; cmd.exe on Windows).
std::string renderCommandLine(const StudioTexture& texture, const std::string& texturesDir, const std::string& output);

// "morvessan.render(W, H, field=value, ...)" for the Python module.
std::string renderPythonCall(const StudioTexture& texture, const std::string& texturesDir);

// `text` as one word of this system's shell: as it is when it holds only safe
// characters, else in single quotes (in double quotes on Windows).
std::string shellWord(const std::string& text);

} // namespace morvessan::studio
