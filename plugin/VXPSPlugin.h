// VXPSPlugin: the generic host plug-in object behind PluginMain: the three words
// of the current call and one operation per selector, all harmless by default.
#pragma once

#include "plugin/HostInterface.h"

#include <string>
#include <vector>

namespace morvessan {

class VXPSPlugin {
public:
    VXPSPlugin() = default;
    VXPSPlugin(const VXPSPlugin&) = delete;
    VXPSPlugin& operator=(const VXPSPlugin&) = delete;
    virtual ~VXPSPlugin() = default;

    // One selector call, as the entry point makes it: stores the words, runs the
    // operation, converts a failure into the result word, and unlocks what the
    // operation locked. A call without a record is refused: there is nothing to run on.
    void Dispatch(int16 selector, FilterRecord* record, std::intptr_t* data, int16* result);

    virtual void DoAbout() {}
    virtual void DoParameters() {}
    virtual void DoPrepare() {}
    virtual void DoStart() {}
    virtual void DoContinue() {}
    virtual void DoFinish() {}

    // Gives the host's window its input back after a failure left a modal dialog
    // half torn down; nothing to do without a window system.
    virtual void EnableHostWindow() {}

    FilterRecord* GetFilterRecord() const { return m_filter_record; }
    int16* GetResult() const { return m_result; }
    std::intptr_t* GetData() const { return m_data; }

protected:
    FilterRecord& Record() const { return *m_filter_record; }
    // Locks `handle` through the host until the selector ends; null when the
    // host has no lock routine or refuses. Hosts that count locks see every
    // lock matched by one unlock, and nothing else unlocked.
    void* LockHandle(Handle handle);

private:
    void RunSelector(int16 selector);
    void Fail(int16 code, const std::string* message);
    void UnlockHandles();

    FilterRecord* m_filter_record = nullptr;
    int16* m_result = nullptr;
    std::intptr_t* m_data = nullptr; // stored, never used: state lives in the object and the block
    std::vector<Handle> m_locked;    // what this selector locked, unlocked when it ends
};

} // namespace morvessan
