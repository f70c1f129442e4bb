// A library for the Win32 platform tests: reports the module path the
// platform layer finds from inside a library, and stands in for Simple MAPI
// and the help viewer, recording what it was asked.
#include "VXLib/VXUTIL/win32/VXWin32Platform.h"

#include <windows.h>
#include <mapi.h>

#include <cstring>
#include <string>

namespace {
std::string g_record; // the last request, as text
}

extern "C" __declspec(dllexport) void helperModulePath(char* buffer, unsigned size) {
    const std::string path = morvessan::VXWin32Platform().modulePath();
    std::strncpy(buffer, path.c_str(), size - 1);
    buffer[size - 1] = 0;
}

extern "C" __declspec(dllexport) const char* helperLastRequest() { return g_record.c_str(); }

extern "C" __declspec(dllexport) ULONG WINAPI
    MAPISendMail(LHANDLE session, ULONG_PTR parent, lpMapiMessage message, FLAGS flags, ULONG reserved) {
    auto text = [](const char* s) { return std::string(s ? s : "(null)"); };
    g_record = "session=" + std::to_string(session) + " parent=" + std::to_string(parent) +
               " flags=" + std::to_string(flags) + " reserved=" + std::to_string(reserved) +
               " subject=" + text(message->lpszSubject) + " note=" + text(message->lpszNoteText) +
               " recipients=" + std::to_string(message->nRecipCount) + " files=" + std::to_string(message->nFileCount);
    for (ULONG i = 0; i < message->nRecipCount; ++i) {
        const MapiRecipDesc& r = message->lpRecips[i];
        g_record += " to[class=" + std::to_string(r.ulRecipClass) + " name=" + text(r.lpszName) +
                    " address=" + text(r.lpszAddress) + " entry=" + std::to_string(r.ulEIDSize) + "]";
    }
    for (ULONG i = 0; i < message->nFileCount; ++i) {
        const MapiFileDesc& f = message->lpFiles[i];
        g_record += " file[flags=" + std::to_string(f.flFlags) + " position=" + std::to_string(long(f.nPosition)) +
                    " path=" + text(f.lpszPathName) + " name=" + text(f.lpszFileName) +
                    " type=" + (f.lpFileType ? "set" : "none") + "]";
    }
    return 17; // a MAPI error code, passed on unchanged
}

extern "C" __declspec(dllexport) HWND WINAPI HtmlHelpA(HWND, LPCSTR file, UINT command, DWORD_PTR data) {
    g_record = "help " + std::string(file ? file : "(null)") + " command=" + std::to_string(command) +
               " data=" + std::to_string(data);
    return reinterpret_cast<HWND>(GetDesktopWindow());
}
