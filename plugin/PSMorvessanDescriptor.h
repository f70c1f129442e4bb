// The filter's settings as a recorded action's descriptor: written through the
// host's write suite after a render, read back through its read suite at Start.
#pragma once

#include "plugin/HostInterface.h"
#include "texture/FilterParameters.h"

#include <optional>
#include <string>

namespace morvessan {

// What a replayed descriptor gave.
struct ReplayedSettings {
    std::string presetName; // empty when the descriptor names none
};

// When the record carries a descriptor and usable read routines: every field of
// `block` from it, starting from the defaults, so an entry that is missing, of
// another type or unreadable leaves its field's default (unknown keys are passed
// over). The descriptor is then the plug-in's and is disposed of. Nothing (the
// block untouched) when there is no descriptor to read.
std::optional<ReplayedSettings> readSettingsDescriptor(FilterRecord& record, FilterParameters& block);

// Writes every field of `block` and the preset's name (when known) as a new
// descriptor in the record, replacing any left there; false when the host has no
// usable write routines or refuses.
bool writeSettingsDescriptor(FilterRecord& record, const FilterParameters& block, const std::string& presetName);

} // namespace morvessan
