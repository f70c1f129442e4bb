// The module's resources on Windows: found by numeric id and type name in the
// module that holds this code (or the one given).
#include "VXLib/VXResources.h"

#include <windows.h>

namespace morvessan {

namespace {

HMODULE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&thisModule), &module);
    return module;
}

} // namespace

std::optional<std::span<const std::uint8_t>> vxFindResource(VXModuleHandle module, int id,
                                                            const std::string& typeName) {
    HMODULE m = module != nullptr ? static_cast<HMODULE>(const_cast<void*>(module)) : thisModule();
    HRSRC found = FindResourceA(m, MAKEINTRESOURCEA(id), typeName.c_str());
    if (found == nullptr)
        return std::nullopt;
    HGLOBAL loaded = LoadResource(m, found);
    const DWORD size = SizeofResource(m, found);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr || size == 0)
        return std::nullopt;
    return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(data), size);
}

} // namespace morvessan
