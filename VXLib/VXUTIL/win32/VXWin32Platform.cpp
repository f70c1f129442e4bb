// Win32 implementation of the platform layer, and the native platform of the
// Windows build.
#include "VXLib/VXUTIL/win32/VXWin32Platform.h"

#include <windows.h>
#include <mapi.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <string>

namespace morvessan {

namespace {

UINT buttonFlags(VXMessageButtons buttons) {
    switch (buttons) {
    case VXMessageButtons::OkCancel: return MB_OKCANCEL;
    case VXMessageButtons::YesNo: return MB_YESNO;
    case VXMessageButtons::YesNoCancel: return MB_YESNOCANCEL;
    case VXMessageButtons::RetryCancel: return MB_RETRYCANCEL;
    case VXMessageButtons::Ok: break;
    }
    return MB_OK;
}

UINT iconFlags(VXMessageIcon icon) {
    switch (icon) {
    case VXMessageIcon::Information: return MB_ICONINFORMATION;
    case VXMessageIcon::Warning: return MB_ICONWARNING;
    case VXMessageIcon::Error: return MB_ICONERROR;
    case VXMessageIcon::Question: return MB_ICONQUESTION;
    case VXMessageIcon::None: break;
    }
    return 0;
}

// The module this code is linked into: the plug-in library inside a host, the
// program itself otherwise. Found from the address of a function in it.
HMODULE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&thisModule), &module);
    return module;
}

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() {
        if (m_key) {
            RegCloseKey(m_key);
        }
    }
    HKEY* out() { return &m_key; }
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

} // namespace

VXWin32Platform::VXWin32Platform(VXWin32Libraries libraries) : m_libraries(std::move(libraries)) {}

// The help library stays loaded: a help window may outlive this object, and a
// library must not be freed while the plug-in itself is being unloaded.
VXWin32Platform::~VXWin32Platform() = default;

VXMessageAnswer VXWin32Platform::messageBox(const std::string& text, const std::string& caption,
                                            VXMessageButtons buttons, VXMessageIcon icon) {
    const int answer =
        MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), buttonFlags(buttons) | iconFlags(icon));
    switch (answer) {
    case IDOK: return VXMessageAnswer::Ok;
    case IDYES: return VXMessageAnswer::Yes;
    case IDNO: return VXMessageAnswer::No;
    case IDRETRY: return VXMessageAnswer::Retry;
    default: return VXMessageAnswer::Cancel; // also a box that could not be shown
    }
}

VXCursorHandle VXWin32Platform::currentCursor() { return reinterpret_cast<VXCursorHandle>(GetCursor()); }

void VXWin32Platform::showCursor(VXCursorKind kind, int resourceId) {
    HCURSOR cursor = nullptr;
    switch (kind) {
    case VXCursorKind::Arrow: cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); break;   // IDC_ARROW
    case VXCursorKind::Wait: cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)); break;    // IDC_WAIT
    case VXCursorKind::SizeAll: cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32646)); break; // IDC_SIZEALL
    case VXCursorKind::SizeNS: cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32645)); break;  // IDC_SIZENS
    case VXCursorKind::Resource: cursor = LoadCursorA(thisModule(), MAKEINTRESOURCEA(resourceId)); break;
    }
    if (cursor) {
        SetCursor(cursor);
    }
}

void VXWin32Platform::restoreCursor(VXCursorHandle cursor) { SetCursor(reinterpret_cast<HCURSOR>(cursor)); }

std::uint32_t VXWin32Platform::milliseconds() { return timeGetTime(); }

bool VXWin32Platform::isKeyDown(VXKey key) {
    int code = VK_SHIFT;
    if (key == VXKey::Control) {
        code = VK_CONTROL;
    } else if (key == VXKey::Alt) {
        code = VK_MENU;
    }
    // The queue's state answers inside a message handler; the physical state also
    // counts for questions asked between messages (the dialog's first idle moment).
    return (GetKeyState(code) & 0x8000) != 0 || (GetAsyncKeyState(code) & 0x8000) != 0;
}

std::string VXWin32Platform::modulePath() {
    const HMODULE module = thisModule();
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2); // truncated: try a larger buffer
    }
}

std::optional<std::vector<std::uint8_t>> VXWin32Platform::readSetting(const std::string& key, const std::string& name) {
    RegistryKey handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, handle.out()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(handle.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_DWORD && type != REG_BINARY)) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> value(size);
    if (RegQueryValueExA(handle.get(), name.c_str(), nullptr, &type, value.data(), &size) != ERROR_SUCCESS ||
        (type != REG_DWORD && type != REG_BINARY)) {
        return std::nullopt;
    }
    value.resize(size);
    return value;
}

bool VXWin32Platform::writeSetting(const std::string& key, const std::string& name,
                                   const std::vector<std::uint8_t>& value) {
    RegistryKey handle;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        handle.out(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD type = value.size() == 4 ? REG_DWORD : REG_BINARY;
    return RegSetValueExA(handle.get(), name.c_str(), 0, type, value.data(), static_cast<DWORD>(value.size())) ==
           ERROR_SUCCESS;
}

bool VXWin32Platform::showHelp(const std::string& pathAndTopic) {
    if (!m_help_library) {
        m_help_library = LoadLibraryA(m_libraries.help.c_str());
        if (!m_help_library) {
            return false;
        }
    }
    const auto htmlHelp = reinterpret_cast<HtmlHelpFunction>(
        reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_help_library), "HtmlHelpA")));
    if (!htmlHelp) {
        return false;
    }
    return htmlHelp(GetActiveWindow(), pathAndTopic.c_str(), 0 /* HH_DISPLAY_TOPIC */, 0) != nullptr;
}

std::uint32_t VXWin32Platform::sendMail(const VXMailRequest& request) {
    constexpr std::uint32_t kFailure = 2; // MAPI_E_FAILURE
    const HMODULE library = LoadLibraryA(m_libraries.mail.c_str());
    if (!library) {
        return kFailure;
    }
    const auto send =
        reinterpret_cast<LPMAPISENDMAIL>(reinterpret_cast<void*>(GetProcAddress(library, "MAPISendMail")));
    if (!send) {
        FreeLibrary(library);
        return kFailure;
    }

    // Simple MAPI takes non-const strings; give it copies it may not change.
    std::string recipientName = request.recipientName;
    std::string recipientAddress = request.recipientAddress;
    std::string subject = request.subject;
    std::string text = request.text;
    std::string attachmentPath = request.attachmentPath;
    std::string attachmentName = request.attachmentName;

    MapiRecipDesc recipient{};
    recipient.ulRecipClass = MAPI_TO;
    recipient.lpszName = recipientName.data();
    recipient.lpszAddress = recipientAddress.data();

    MapiFileDesc attachment{};
    attachment.nPosition = static_cast<ULONG>(-1); // not placed in the text
    attachment.lpszPathName = attachmentPath.data();
    attachment.lpszFileName = attachmentName.data();

    MapiMessage message{};
    message.lpszSubject = subject.data();
    message.lpszNoteText = text.data();
    message.nRecipCount = 1;
    message.lpRecips = &recipient;
    if (!attachmentPath.empty()) {
        message.nFileCount = 1;
        message.lpFiles = &attachment;
    }

    const ULONG result = send(0, 0, &message, MAPI_DIALOG, 0);
    FreeLibrary(library);
    return result;
}

bool VXWin32Platform::openWebPage(const std::string& url) {
    const HINSTANCE result = ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::unique_ptr<VXPlatform> vxMakeNativePlatform() { return std::make_unique<VXWin32Platform>(); }

namespace {

// Narrow text is in the ANSI code page, as the paths of the A functions the
// rest of the layer calls; "" when it has no wide form (or is empty).
std::wstring widen(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) {
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    }
    return wide;
}

std::string narrow(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                            nullptr);
    }
    return result;
}

} // namespace

// The process's block through the wide functions: the C runtime's getenv reads a
// copy taken when that runtime started, which a module with its own runtime
// keeps apart from what the program sets later.
std::string vxProcessEnvironment(const std::string& name) {
    const std::wstring wideName = widen(name);
    if (wideName.empty()) {
        return {};
    }
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            return {}; // unset, or set to nothing
        }
        if (length < value.size()) {
            value.resize(length);
            return narrow(value);
        }
        value.resize(length); // too small: the length asked for counts the terminating zero
    }
}

bool vxSetProcessEnvironment(const std::string& name, const std::string& value) {
    const std::wstring wideName = widen(name);
    if (wideName.empty() || wideName.find(L'=') != std::wstring::npos) {
        return false;
    }
    const std::wstring wideValue = widen(value);
    if (!value.empty() && wideValue.empty()) {
        return false;
    }
    return SetEnvironmentVariableW(wideName.c_str(), value.empty() ? nullptr : wideValue.c_str()) != 0;
}

} // namespace morvessan
