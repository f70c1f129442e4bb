// The filter driver's host session: the selectors, the parameter block and the
// rectangles handed back to the host; tiles, previews and services live beside it.
#include "plugin/VXPSFilter.h"

#include "VXLib/VXImage2.h"
#include "plugin/HostHandles.h"
#include "plugin/HostRects.h"
#include "plugin/VXPSErrors.h"

#include <cstring>

namespace morvessan {

VXPSFilter::VXPSFilter() = default;
VXPSFilter::~VXPSFilter() = default;

void VXPSFilter::DoParameters() { PrepareParameters(); }

void VXPSFilter::DoPrepare() {
    PrepareParameters();
    ReadHostImage();
}

void VXPSFilter::ReadHostImage() {
    const FilterRecord& record = Record();
    // Hosts that ignore the module's declared modes still call it: the tiles are
    // 8-bit RGB(A), so anything else would be read and written with the wrong
    // layout (or past the host's buffers when it has fewer planes).
    const bool rgb = record.imageMode == plugInModeRGBColor && record.planes >= 3;
    // A record of an older generation ends before `depth`: its hosts knew only 8 bits
    // (their 16-bit documents have another image mode).
    const bool eightBit = !HostRecordIsCurrent() || record.depth == 0 || record.depth == 8;
    if (!rgb || !eightBit) {
        if (record.errorString) {
            vxStorePascalString(*record.errorString, kBadModeMessage);
        }
        vxThrowCode(filterBadMode);
    }
    const BigDocumentStruct* big = BigDocument();
    if (!big) {
        m_whole_rect = {0, 0, record.wholeSize.h, record.wholeSize.v};
        m_filter_rect = fromHostRect(record.filterRect);
        return;
    }
    // Every tile is asked for inside the filter area: an area outside the image, or
    // turned inside out, would have the host serve (or refuse) rows it does not have.
    // A zeroed structure beside a filter area in the 16-bit fields is no description
    // (the other way round is an area wholly past 16 bits, clamped to nothing).
    const VPoint size = big->imageSize32;
    const VXPSRect area = fromHostRect(big->filterRect32);
    const bool fits = size.v >= 0 && size.h >= 0 && area.left >= 0 && area.top >= 0 && area.left <= area.right &&
                      area.top <= area.bottom && area.right <= size.h && area.bottom <= size.v;
    if (!fits || (area.isEmpty() && !isEmptyHostRect(record.filterRect))) {
        vxThrowMessage(kBadAreaMessage);
    }
    m_whole_rect = {0, 0, big->wholeSize32.h, big->wholeSize32.v};
    m_filter_rect = area;
}

void VXPSFilter::DoContinue() { ClearHostRectangles(); }

bool VXPSFilter::HostRecordIsCurrent() const {
    const FilterRecord* record = GetFilterRecord();
    if (!record) {
        return false;
    }
    // The record carries no size of its own, but its buffer suite tells the
    // generation that made it: hosts of the interface before the 64-bit buffer
    // routines count five routines (fewer than seven). A count of zero, or no
    // suite, says nothing: some hosts fill the table and leave the count, and
    // others offer no buffer suite with a whole record.
    const int buffers = record->bufferProcs ? record->bufferProcs->numBufferProcs : 0;
    return !(buffers > 0 && buffers < 7);
}

BigDocumentStruct* VXPSFilter::BigDocument() {
    FilterRecord* record = GetFilterRecord();
    // A record of an older generation ends before the pointer: it has no 32-bit coordinates.
    BigDocumentStruct* big = record && HostRecordIsCurrent() ? record->bigDocumentData : nullptr;
    if (big) {
        big->PluginUsing32BitCoordinates = 1;
    }
    return big;
}

void VXPSFilter::ClearHostRectangles() {
    if (FilterRecord* record = GetFilterRecord()) {
        record->inRect = {0, 0, 0, 0};
        record->outRect = {0, 0, 0, 0};
        record->maskRect = {0, 0, 0, 0};
        if (BigDocumentStruct* big = BigDocument()) {
            big->inRect32 = {0, 0, 0, 0};
            big->outRect32 = {0, 0, 0, 0};
            big->maskRect32 = {0, 0, 0, 0};
        }
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
    const HostHandles procs(record);
    const std::int32_t size = GetParameterSize();
    bool replaced = false;
    if (record.parameters) {
        if (!procs.lockProc) {
            vxThrowCode(paramErr);
        }
        // A kept handle shorter than the block (another version's, an empty one,
        // one a host stored on disk) would be read and written past its end: it
        // is replaced by a fresh block with the defaults.
        const bool whole = size == 0 || (procs.getSizeProc && procs.getSizeProc(record.parameters) >= size);
        if (whole) {
            void* block = LockHandle(record.parameters);
            if (!block) {
                vxThrowCode(memFullErr);
            }
            SetParameterBlock(block);
            ParametersRestored();
            return;
        }
        replaced = true;
        const bool grown = procs.setSizeProc && procs.getSizeProc &&
                           procs.setSizeProc(record.parameters, size) == noErr &&
                           procs.getSizeProc(record.parameters) >= size;
        if (!grown) {
            if (procs.disposeProc) {
                procs.disposeProc(record.parameters);
            }
            record.parameters = nullptr;
        }
    }
    if (size == 0) {
        return;
    }
    if (!record.parameters) {
        if (!procs.newProc || !procs.lockProc) {
            vxThrowCode(paramErr);
        }
        record.parameters = procs.newProc(size);
        if (!record.parameters) {
            vxThrowCode(memFullErr);
        }
    }
    void* block = LockHandle(record.parameters);
    if (!block) {
        vxThrowCode(memFullErr);
    }
    if (replaced) {
        std::memset(block, 0, static_cast<std::size_t>(size)); // no byte of the short block's stays
    }
    SetParameterBlock(block);
    InitialiseParameters();
}

} // namespace morvessan
