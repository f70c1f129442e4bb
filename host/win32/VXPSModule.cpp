// Loading a filter module on Windows: read its PiPL from the file's resources
// without running it, then load it and look up the entry the PiPL names.
#include "host/win32/VXPSModule.h"

#include "resources/pipl/Pipl.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace morvessan {

namespace {

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
        message.pop_back();
    }
    return message;
}

// Hosts enumerate the "PiPL" type and take the first resource they find.
// Resources named by text instead of a number are passed over.
BOOL CALLBACK firstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    if (!IS_INTRESOURCE(name)) {
        return TRUE;
    }
    *reinterpret_cast<std::optional<std::uintptr_t>*>(found) = reinterpret_cast<std::uintptr_t>(name);
    return FALSE;
}

struct Library {
    HMODULE handle = nullptr;
    ~Library() {
        if (handle)
            FreeLibrary(handle);
    }
};

} // namespace

std::unique_ptr<VXPSModule> VXPSModule::load(const std::string& path, std::string& error) {
    std::string entryName;
    {
        Library data;
        data.handle = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!data.handle) {
            error = "cannot open module " + path + ": " + systemMessage(GetLastError());
            return nullptr;
        }
        std::optional<std::uintptr_t> id;
        EnumResourceNamesA(data.handle, "PiPL", firstName, reinterpret_cast<LONG_PTR>(&id));
        HRSRC resource = nullptr;
        if (id && IS_INTRESOURCE(*id)) {
            resource = FindResourceA(data.handle, MAKEINTRESOURCEA(*id), "PiPL");
        }
        HGLOBAL loaded = resource ? LoadResource(data.handle, resource) : nullptr;
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes) {
            error = path + " is not a filter module: it has no PiPL resource";
            return nullptr;
        }
        std::string reason;
        const auto properties =
            decodePipl(static_cast<const std::uint8_t*>(bytes), SizeofResource(data.handle, resource), &reason);
        if (!properties) {
            error = path + " has a damaged PiPL resource: " + reason;
            return nullptr;
        }
        // A host loads only modules of its own width, named by that width's property.
        constexpr bool wide = sizeof(void*) == 8;
        const auto name = piplString(*properties, wide ? kPiplEntry64 : kPiplEntry32);
        if (!name || name->empty()) {
            error = path + (wide ? " has no entry point for 64-bit Windows (no 8664 property in its PiPL)"
                                 : " has no entry point for 32-bit Windows (no wx86 property in its PiPL)");
            return nullptr;
        }
        entryName = *name;
    }

    std::unique_ptr<VXPSModule> module(new VXPSModule);
    module->m_path = path;
    module->m_entry_name = entryName;
    HMODULE library = LoadLibraryA(path.c_str());
    if (!library) {
        error = "cannot load module " + path + ": " + systemMessage(GetLastError());
        return nullptr;
    }
    module->m_library = library;
    module->m_entry =
        reinterpret_cast<PluginEntry>(reinterpret_cast<void*>(GetProcAddress(library, entryName.c_str())));
    if (!module->m_entry) {
        error = path + " does not export its entry point " + entryName;
        return nullptr;
    }
    return module;
}

VXPSModule::~VXPSModule() {
    if (m_library) {
        FreeLibrary(static_cast<HMODULE>(m_library));
    }
}

} // namespace morvessan
