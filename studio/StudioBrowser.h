// Opening the user's web browser at the studio's address: the desktop's own choice
// of browser, or false when there is none to ask (the address is printed anyway).
#pragma once

#include <string>

namespace morvessan::studio {

bool openBrowser(const std::string& url);

} // namespace morvessan::studio
