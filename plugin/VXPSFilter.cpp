// The filter driver's host session: the selectors, the parameter block and the
// rectangles handed back to the host; tiles, previews and services live beside it.
#include "plugin/VXPSFilter.h"

#include "VXLib/VXImage2.h"
#include "plugin/HostRects.h"
#include "plugin/VXPSErrors.h"

namespace morvessan {

VXPSFilter::VXPSFilter() = default;
VXPSFilter::~VXPSFilter() = default;

void VXPSFilter::DoParameters() { PrepareParameters(); }

void VXPSFilter::DoPrepare() {
    PrepareParameters();
    const FilterRecord& record = Record();
    m_whole_rect = {0, 0, record.wholeSize.h, record.wholeSize.v};
    m_filter_rect = fromHostRect(record.filterRect);
}

void VXPSFilter::DoContinue() { ClearHostRectangles(); }

void VXPSFilter::ClearHostRectangles() {
    if (FilterRecord* record = GetFilterRecord()) {
        record->inRect = {0, 0, 0, 0};
        record->outRect = {0, 0, 0, 0};
        record->maskRect = {0, 0, 0, 0};
    }
}

bool VXPSFilter::HostHasMask() const {
    const FilterRecord* record = GetFilterRecord();
    return record && record->haveMask;
}

VXImage2* VXPSFilter::GetDisplayImage() { return HostHasMask() ? m_shaded_image.get() : m_source_image.get(); }

bool VXPSFilter::EnableAlpha(bool allowed) {
    m_has_alpha = allowed && Record().planes > 3;
    return m_has_alpha;
}

void VXPSFilter::PrepareParameters() {
    FilterRecord& record = Record();
    const HandleProcs* procs = record.handleProcs;
    if (record.parameters) {
        if (!procs || !procs->lockProc) {
            vxThrowCode(paramErr);
        }
        void* block = procs->lockProc(record.parameters, true);
        if (!block) {
            vxThrowCode(memFullErr);
        }
        SetParameterBlock(block);
        ParametersRestored();
        return;
    }
    const std::int32_t size = GetParameterSize();
    if (size == 0) {
        return;
    }
    if (!procs || !procs->newProc || !procs->lockProc) {
        vxThrowCode(paramErr);
    }
    record.parameters = procs->newProc(size);
    if (!record.parameters) {
        vxThrowCode(memFullErr);
    }
    void* block = procs->lockProc(record.parameters, true);
    if (!block) {
        vxThrowCode(memFullErr);
    }
    SetParameterBlock(block);
    InitialiseParameters();
}

} // namespace morvessan
