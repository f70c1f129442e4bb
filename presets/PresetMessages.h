// Every text the preset operations show in a message box, in one place, and the
// one call through which they are shown.
#pragma once

#include "VXLib/VXUTIL/VXPlatform.h"

#include <string>

namespace morvessan {

inline constexpr const char* kPresetCaption = "Morvessan";

inline constexpr const char* kCategoryNameUsed = "That name is already used by another category";
inline constexpr const char* kPresetNameUsed = "That name is already used by another preset";
inline constexpr const char* kFileNameUsed = "That name is already used by another preset file";
inline constexpr const char* kFileNameCharacters =
    "A preset file name cannot contain any of the following characters:\n/\\:*?\"<>|.";
inline constexpr const char* kNameWithBothQuotes =
    "A name cannot contain both a single quote (') and a double quote (\").";
inline constexpr const char* kNameWithLineBreak = "A name cannot contain a line break.";
inline constexpr const char* kDeleteFileQuestion =
    "Deleting this preset file will result in perminant loss of any presets that it contains.\n"
    "Do you wish to continue?";
// Followed by why the file is damaged (where reading stopped, or why it could not be read).
inline constexpr const char* kFileNotSaved =
    "This preset file is not saved, so that the presets it holds on disk are kept. Mend it in a text "
    "editor, then open the dialog again.\n";
// Followed by the file's path.
inline constexpr const char* kFileChanged =
    "This preset file was changed by another program since it was read, so it is not saved over those "
    "changes. Open the dialog again to see them, then repeat your change.\n";
inline constexpr const char* kLastFile = "You cannot delete the last preset file.";
inline constexpr const char* kLastCategory = "You cannot delete the last preset category.";
inline constexpr const char* kMailSent = "The e-mail was successfully sent to Quellory.";
inline constexpr const char* kMailSentCaption = "Mail Sent";
inline constexpr const char* kMailFailed = "There was an error submitting the e-mail to Quellory.";
inline constexpr const char* kMailErrorCaption = "Mail Transport Erorr (%d)";
// The Submit Preset File dialog's lines: the file's name and the address, then the file's path.
inline constexpr const char* kSubmitDescription =
    "To submit your presets, e-mail the preset file '%s' to %s together with a brief description of them.";
inline constexpr const char* kSubmitLocation =
    "Click Send to launch your default email program to send the email, or you may do it yourself. "
    "Note that the preset file is store at\n%s";

// Shows a refusal or notice with an OK button.
void showPresetMessage(const std::string& text, VXMessageIcon icon = VXMessageIcon::Warning);

} // namespace morvessan
