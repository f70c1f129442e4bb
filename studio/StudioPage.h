// The studio's page, built into the program: its files by name and their types.
#pragma once

#include <string_view>

namespace morvessan::studio {

// The file `name` of the page ("index.html", "studio.js", "studio.css"), or empty.
std::string_view studioPageFile(std::string_view name);

// Its content type, from its extension.
std::string_view studioPageType(std::string_view name);

} // namespace morvessan::studio
