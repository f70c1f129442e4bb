// PSMorvessanBlockSession: the parameter block a dialog page or control edits,
// and nothing else of the plug-in.
#pragma once

namespace morvessan {

struct FilterParameters;

class PSMorvessanBlockSession {
public:
    virtual ~PSMorvessanBlockSession() = default;

    // The host's parameter block being edited (null outside a run).
    virtual FilterParameters* GetParameters() const = 0;

protected:
    PSMorvessanBlockSession() = default;
    PSMorvessanBlockSession(const PSMorvessanBlockSession&) = default;
    PSMorvessanBlockSession& operator=(const PSMorvessanBlockSession&) = default;
};

} // namespace morvessan
