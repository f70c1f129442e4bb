// The host's handle routines as far as its suite really holds them: a suite
// that counts fewer routines than ours declares has no fields past its count.
#pragma once

#include "plugin/HostInterface.h"

namespace morvessan {

struct HostHandles {
    NewPIHandleProc newProc = nullptr;
    DisposePIHandleProc disposeProc = nullptr;
    GetPIHandleSizeProc getSizeProc = nullptr;
    SetPIHandleSizeProc setSizeProc = nullptr;
    LockPIHandleProc lockProc = nullptr;
    UnlockPIHandleProc unlockProc = nullptr;

    explicit HostHandles(const FilterRecord& record) {
        const HandleProcs* procs = record.handleProcs;
        if (!procs) {
            return;
        }
        // Hosts that zero the count but fill the table exist; only a count
        // that is given limits what is read.
        const int count = procs->numHandleProcs > 0 ? procs->numHandleProcs : 6;
        newProc = count >= 1 ? procs->newProc : nullptr;
        disposeProc = count >= 2 ? procs->disposeProc : nullptr;
        getSizeProc = count >= 3 ? procs->getSizeProc : nullptr;
        setSizeProc = count >= 4 ? procs->setSizeProc : nullptr;
        lockProc = count >= 5 ? procs->lockProc : nullptr;
        unlockProc = count >= 6 ? procs->unlockProc : nullptr;
    }
};

} // namespace morvessan
