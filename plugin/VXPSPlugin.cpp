// Selector dispatch and failure conversion of the generic plug-in object.
#include "plugin/VXPSPlugin.h"

#include "plugin/HostHandles.h"
#include "plugin/VXPSErrors.h"

#include <new>
#include <string>

namespace morvessan {

void VXPSPlugin::Dispatch(int16 selector, FilterRecord* record, std::intptr_t* data, int16* result) {
    // About hands us an AboutRecord, not a FilterRecord: never look at it, and
    // leave the words of any call in progress alone.
    if (selector == filterSelectorAbout) {
        try {
            DoAbout();
        } catch (...) {
        }
        if (result) {
            *result = noErr;
        }
        return;
    }
    m_filter_record = record;
    m_result = result;
    m_data = data;
    m_locked.clear();
    if (!record) {
        if (result) {
            *result = paramErr;
        }
        return;
    }
    // A result word the host left from an earlier failure is not ours to report.
    if (result) {
        *result = noErr;
    }
    try {
        RunSelector(selector);
    } catch (const VXPSMessage& message) {
        Fail(errReportString, &message.text);
    } catch (const VXPSErrorCode& code) {
        Fail(code.code, nullptr);
    } catch (const std::bad_alloc&) {
        // Running out of memory is what the host's out-of-memory code says; -1 would hide it.
        Fail(memFullErr, nullptr);
    } catch (...) {
        Fail(-1, nullptr);
    }
    UnlockHandles();
}

void* VXPSPlugin::LockHandle(Handle handle) {
    const HostHandles procs(Record());
    if (!handle || !procs.lockProc) {
        return nullptr;
    }
    void* block = procs.lockProc(handle, true);
    if (block) {
        m_locked.push_back(handle);
    }
    return block;
}

void VXPSPlugin::UnlockHandles() {
    if (m_filter_record) {
        const HostHandles procs(*m_filter_record);
        for (Handle handle : m_locked) {
            if (procs.unlockProc) {
                procs.unlockProc(handle);
            }
        }
    }
    m_locked.clear();
}

void VXPSPlugin::RunSelector(int16 selector) {
    switch (selector) {
    case filterSelectorParameters: DoParameters(); break;
    case filterSelectorPrepare: DoPrepare(); break;
    case filterSelectorStart: DoStart(); break;
    case filterSelectorContinue: DoContinue(); break;
    case filterSelectorFinish: DoFinish(); break;
    default: break; // unknown selectors are none of our business
    }
}

void VXPSPlugin::Fail(int16 code, const std::string* message) {
    try {
        EnableHostWindow();
    } catch (...) {
    }
    if (message && m_filter_record && m_filter_record->errorString) {
        vxStorePascalString(*m_filter_record->errorString, *message);
    }
    if (m_result) {
        *m_result = code;
    }
}

} // namespace morvessan
