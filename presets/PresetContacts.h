// Where preset files are submitted and where more presets are offered: the one
// place that holds the maker's addresses.
#pragma once

namespace morvessan {

inline constexpr const char* kSubmissionsAddress = "presets@quellory.com";
inline constexpr const char* kSubmissionsRecipientName = "SMTP: Submissions";
inline constexpr const char* kSubmissionSubject = "Morvessan Preset Submission";
inline constexpr const char* kWebSite = "https://www.quellory.com/";
inline constexpr const char* kMorePresetsPage = "https://www.quellory.com/products/morvessan/morepresets.htm";

} // namespace morvessan
