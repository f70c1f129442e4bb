// The module's data resources: Windows resources in the Windows build, elsewhere a
// table compiled into the program from the files listed in resources/images.list.
#pragma once

#include "VXLib/VXImageFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace morvessan {

// The bytes of resource `id` of type `typeName` (compared without regard to case),
// or nothing. The bytes stay valid as long as the module is loaded.
std::optional<std::span<const std::uint8_t>> vxFindResource(VXModuleHandle module, int id, const std::string& typeName);

#if !defined(_WIN32)
// One entry of the table compiled into the program.
struct VXBuiltInResource {
    int id;
    const char* typeName;
    const std::uint8_t* data;
    std::size_t size;
};

// The compiled table (generated at build time).
std::span<const VXBuiltInResource> vxBuiltInResources();

// Adds a resource to the table at run time, ahead of the compiled ones (the command
// line and tests supply pictures this way).
void vxRegisterResource(int id, const std::string& typeName, std::vector<std::uint8_t> bytes);
#endif

} // namespace morvessan
