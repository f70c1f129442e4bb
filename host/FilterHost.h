// FilterHost: the host side of the filter plug-in interface: it owns an image,
// an optional mask and the kept parameter handle, and drives whole filter runs.
#pragma once

#include "host/HostDescriptors.h"
#include "host/HostImage.h"
#include "plugin/HostInterface.h"
#include "renderer/PixelBlock.h"
#include "plugin/PluginMain.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace morvessan {

// What a run ends with when the row sink refuses a row (the system's I/O error code).
inline constexpr OSErr kRowSinkErr = -36;
// What a run ends with when a picture wider or taller than 16-bit coordinates reach
// is asked of a plug-in that reads the 16-bit ones only (a code of this host's own).
inline constexpr OSErr kNarrowCoordinatesErr = -32100;
// The largest side the host describes: the 32-bit fields could say more, but no
// picture format written here holds more, and every count of tiles and bytes stays
// far from overflowing. The 16-bit fields hold sides up to kMaxNarrowSide.
inline constexpr std::int32_t kMaxFilterSide = 65535;
inline constexpr std::int32_t kMaxNarrowSide = 32767;

// A run's rows streamed instead of held. `fill`, when set, makes row y of a document
// that is never held whole (its image has no pixels): only the band of rows the
// plug-in's requests reach is kept. `take` receives every row once, top to bottom,
// as soon as the plug-in has asked for a tile below it (or the run has ended), and
// false from it ends the run with kRowSinkErr.
struct HostRowStream {
    std::function<void(std::int32_t y, std::uint8_t* row)> fill;
    std::function<bool(std::int32_t y, const std::uint8_t* row)> take;
};

class FilterHost {
public:
    explicit FilterHost(PluginEntry entry = &PluginMain);
    ~FilterHost();
    FilterHost(const FilterHost&) = delete;
    FilterHost& operator=(const FilterHost&) = delete;

    // The document. The filter rectangle defaults to the whole image.
    void setImage(HostImage image);
    HostImage& image() { return m_image; }
    const HostImage& image() const { return m_image; }
    void setMask(std::optional<HostMask> mask) { m_mask = std::move(mask); }
    void setFilterRect(std::optional<VXPSRect> rect) { m_filter_rect = rect; }
    // Streams the next runs' rows (see HostRowStream); an empty stream holds the image whole.
    void setRowStream(HostRowStream stream) { m_stream = std::move(stream); }
    VXPSRect filterRect() const;

    // What the record offers: descriptor parameters with this playInfo (none when
    // empty), an error string (or a null pointer), extra bytes at each row's end of
    // the buffers it copies into (with none, the input is served from the picture's
    // own rows when every plane is asked for at full size).
    void setPlayInfo(std::optional<int16> playInfo) { m_play_info = playInfo; }
    void setErrorStringEnabled(bool enabled) { m_error_string_enabled = enabled; }
    void setRowPadding(std::int32_t bytes) { m_row_padding = bytes; }

    // Recorded actions: the descriptor handed to the plug-in at the next runs
    // (none: the plug-in gets none), and what the last run left for the host to
    // record (none when the plug-in wrote nothing). Both need descriptor parameters.
    void setDescriptor(std::optional<std::vector<std::uint8_t>> bytes) { m_replay = std::move(bytes); }
    const std::optional<std::vector<std::uint8_t>>& recordedDescriptor() const { return m_recorded; }
    // A complex property the host's property suite answers with a new handle
    // holding these bytes (how a render asks the plug-in for a pattern space).
    void setComplexProperty(OSType signature, OSType key, std::vector<std::uint8_t> bytes);

    // Faults on request: the abort test answers true from its n-th call on (one
    // call per tile); advanceState call n (counted from 1) fails with `code`;
    // the handle allocator returns null.
    void setAbortAfter(std::optional<int> calls) { m_abort_after = calls; }
    // Asked at every abort test: true stops the run as a user's cancel (how the
    // Python module acts on Ctrl-C).
    void setAbortCheck(std::function<bool()> check) { m_abort_check = std::move(check); }
    void setAdvanceStateFailure(int call, OSErr code) {
        m_fail_call = call;
        m_fail_code = code;
    }
    void setAllocationFailure(bool fail) { m_fail_allocation = fail; }
    // Every lock of a handle answers null, as a host short of memory may.
    void setLockFailure(bool fail) { m_fail_lock = fail; }

    // Called with every progress report, after it is recorded.
    void setProgressListener(std::function<void(std::int32_t, std::int32_t)> listener) {
        m_progress_listener = std::move(listener);
    }

    // The parameter block kept between runs (empty before the first run).
    std::vector<std::uint8_t> parameterBytes() const;
    void setParameterBytes(const std::vector<std::uint8_t>& bytes);
    void clearParameters();
    bool parametersLocked() const;

    // A whole run: Parameters (when asked), Prepare, Start, Continue while a
    // rectangle is non-empty, Finish; stops at the first error and returns it.
    int16 run(bool withParameters = false);

    // Single selector calls on the current record, for tests that step a run.
    void beginRun();
    int16 call(int16 selector);
    void endRun();

    // What the last run left.
    FilterRecord& record() { return *m_record; }
    const std::vector<std::pair<std::int32_t, std::int32_t>>& progress() const { return m_progress; }
    std::string errorString() const;
    int advanceStateCalls() const { return m_advance_calls; }
    int abortCalls() const { return m_abort_calls; }
    // Every rectangle and rate the plug-in asked advanceState for: the 16-bit
    // fields, and the rectangles served (the 32-bit fields when `wide`).
    struct Request {
        Rect in, out, mask;
        Fixed inputRate, maskRate;
        int16 inLoPlane, inHiPlane;
        VRect in32, out32, mask32;
        bool wide;
    };
    const std::vector<Request>& requests() const { return m_requests; }

private:
    struct HandleBlock;
    friend struct FilterHostCallbacks;

    // The rectangles the plug-in asks for: from the 32-bit fields once it says it
    // reads them, else from the 16-bit ones.
    struct Asked {
        VRect in, out, mask;
    };
    bool wide() const { return m_big.PluginUsing32BitCoordinates != 0; }
    Asked asked() const;
    OSErr advanceState();
    OSErr serve();
    void flushOutput();
    // Streaming: the rows before `top` are handed to the sink, and rows top..bottom-1
    // are held (the band moves down); false when the sink refuses a row.
    bool reachRows(std::int32_t top, std::int32_t bottom);
    bool releaseRowsBefore(std::int32_t end);
    void holdRows(std::int32_t top, std::int32_t bottom);
    bool banded() const { return static_cast<bool>(m_stream.fill); }
    std::uint8_t* pixelAt(std::int32_t x, std::int32_t y) {
        return m_image.pixels.data() + (static_cast<std::size_t>(y - m_band_top) * m_image.width + x) * m_image.planes;
    }
    const std::uint8_t* pixelAt(std::int32_t x, std::int32_t y) const {
        return const_cast<FilterHost*>(this)->pixelAt(x, y);
    }
    std::int32_t gatherPlanes(const VRect& rect, std::int32_t factor, int16 lo, int16 hi,
                              std::vector<std::uint8_t>& buffer) const;
    HandleBlock* findHandle(Handle handle) const;
    Handle newHandle(std::int32_t size);
    void disposeHandle(Handle handle);

    PluginEntry m_entry;
    HostImage m_image;
    std::optional<HostMask> m_mask;
    std::optional<VXPSRect> m_filter_rect;
    std::optional<int16> m_play_info = plugInDialogSilent;
    bool m_error_string_enabled = true;
    std::int32_t m_row_padding = 5;
    std::optional<int> m_abort_after;
    std::function<bool()> m_abort_check;
    int m_fail_call = 0;
    OSErr m_fail_code = noErr;
    bool m_fail_allocation = false;
    bool m_fail_lock = false;
    std::function<void(std::int32_t, std::int32_t)> m_progress_listener;
    HostRowStream m_stream;
    std::int32_t m_band_top = 0;  // the first row held (0 when the image is held whole)
    std::int32_t m_band_rows = 0; // rows held from there (banded runs)
    std::int32_t m_taken = 0;     // rows handed to the sink so far

    struct Property {
        OSType signature;
        OSType key;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Property> m_properties;

    std::unique_ptr<FilterRecord> m_record;
    BigDocumentStruct m_big{};
    HandleProcs m_handle_procs{};
    PropertyProcs m_property_procs{};
    PlatformData m_platform_data{};
    PIDescriptorParameters m_descriptor{};
    std::unique_ptr<HostDescriptorSuites> m_descriptor_suites;
    std::optional<std::vector<std::uint8_t>> m_replay;
    std::optional<std::vector<std::uint8_t>> m_recorded;
    Str255 m_error_string{};
    std::intptr_t m_data = 0;
    std::vector<std::unique_ptr<HandleBlock>> m_handles;
    Handle m_parameters = nullptr;

    std::vector<std::uint8_t> m_in_buffer;
    std::vector<std::uint8_t> m_out_buffer;
    std::vector<std::uint8_t> m_mask_buffer;
    VRect m_served_out{0, 0, 0, 0};
    int16 m_served_out_lo = 0;
    int16 m_served_out_hi = -1;
    std::int32_t m_served_out_row_bytes = 0;

    std::vector<std::pair<std::int32_t, std::int32_t>> m_progress;
    std::vector<Request> m_requests;
    int m_advance_calls = 0;
    int m_abort_calls = 0;
    bool m_in_run = false;
};

// A failed run in one phrase: the plug-in's own message, or what its code means.
std::string describeFailure(int16 code, const std::string& message);

} // namespace morvessan
