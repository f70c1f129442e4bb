// PSMorvessanEditingSession: the whole of what the main dialog sees of the plug-in
// while the user edits; each page and control takes only the parts it uses.
#pragma once

#include "dialog/PSMorvessanBlockSession.h"
#include "dialog/PSMorvessanDialogServices.h"
#include "dialog/PSMorvessanPresetSession.h"
#include "dialog/VXPSPreviewSession.h"

namespace morvessan {

class PSMorvessanEditingSession : public PSMorvessanBlockSession,
                                  public PSMorvessanPresetSession,
                                  public PSMorvessanDialogServices {
public:
    // The previews of the run.
    virtual VXPSPreviewSession& GetPreview() = 0;

protected:
    PSMorvessanEditingSession() = default;
    PSMorvessanEditingSession(const PSMorvessanEditingSession&) = default;
    PSMorvessanEditingSession& operator=(const PSMorvessanEditingSession&) = default;
};

} // namespace morvessan
