// The host side of a filter run: the record, the callbacks the plug-in calls,
// serving and writing back pixels at the requested sampling rates.
#include "host/FilterHost.h"

#include "plugin/HostRects.h"

#include <algorithm>
#include <cstring>

namespace morvessan {

// A handle as hosts make them: the first word points at the data, so
// dereferencing the handle always gives the current data address.
struct FilterHost::HandleBlock {
    char* data = nullptr;
    std::vector<char> storage; // never empty, so data is never null
    std::size_t size = 0;
    int locks = 0;

    void resize(std::size_t n) {
        storage.resize(std::max<std::size_t>(n, 1));
        size = n;
        data = storage.data();
    }

    Handle handle() { return &data; }
};

namespace {
thread_local FilterHost* t_host = nullptr;

class CurrentHost {
public:
    explicit CurrentHost(FilterHost* host) : m_previous(t_host) { t_host = host; }
    ~CurrentHost() { t_host = m_previous; }
    CurrentHost(const CurrentHost&) = delete;
    CurrentHost& operator=(const CurrentHost&) = delete;

private:
    FilterHost* m_previous;
};

bool sampleRate(Fixed rate, std::int32_t& factor) {
    if (rate < kFixedOne || rate % kFixedOne != 0) {
        return false; // this host samples at integral rates only
    }
    factor = rate / kFixedOne;
    return true;
}

bool isEmpty(const VRect& r) { return r.right <= r.left || r.bottom <= r.top; }

VRect widen(const Rect& r) { return VRect{r.top, r.left, r.bottom, r.right}; }

// Whether every sampled pixel of `r` at `factor` lies inside width × height.
bool inside(const VRect& r, std::int32_t factor, std::int32_t width, std::int32_t height) {
    return r.left >= 0 && r.top >= 0 && (static_cast<std::int64_t>(r.right) - 1) * factor < width &&
           (static_cast<std::int64_t>(r.bottom) - 1) * factor < height;
}

constexpr OSType kHostSignature = 0x4D72766E; // 'Mrvn'

} // namespace

struct FilterHostCallbacks {
    static Boolean abortProc() {
        FilterHost* host = t_host;
        if (!host) {
            return false;
        }
        ++host->m_abort_calls;
        if (host->m_abort_check && host->m_abort_check()) {
            return true;
        }
        return host->m_abort_after && host->m_abort_calls >= *host->m_abort_after;
    }
    static void progressProc(std::int32_t done, std::int32_t total) {
        if (FilterHost* host = t_host) {
            host->m_progress.emplace_back(done, total);
            if (host->m_progress_listener) {
                host->m_progress_listener(done, total);
            }
        }
    }
    static OSErr advanceState() { return t_host ? t_host->advanceState() : OSErr{paramErr}; }
    static OSErr colorServices(ColorServicesInfo*) {
        return userCanceledErr; // no colour picker without a window
    }
    static Handle newProc(std::int32_t size) { return t_host ? t_host->newHandle(size) : nullptr; }
    static void disposeProc(Handle handle) {
        if (t_host) {
            t_host->disposeHandle(handle);
        }
    }
    static std::int32_t getSizeProc(Handle handle) {
        FilterHost::HandleBlock* block = t_host ? t_host->findHandle(handle) : nullptr;
        return block ? static_cast<std::int32_t>(block->size) : 0;
    }
    static OSErr setSizeProc(Handle handle, std::int32_t size) {
        FilterHost::HandleBlock* block = t_host ? t_host->findHandle(handle) : nullptr;
        if (!block || size < 0) {
            return paramErr;
        }
        if (block->locks > 0) {
            return memFullErr; // a locked block cannot move
        }
        block->resize(static_cast<std::size_t>(size));
        return noErr;
    }
    static Ptr lockProc(Handle handle, Boolean) {
        FilterHost::HandleBlock* block = t_host ? t_host->findHandle(handle) : nullptr;
        if (!block || t_host->m_fail_lock) {
            return nullptr;
        }
        ++block->locks;
        return block->data;
    }
    static void unlockProc(Handle handle) {
        FilterHost::HandleBlock* block = t_host ? t_host->findHandle(handle) : nullptr;
        if (block && block->locks > 0) {
            --block->locks;
        }
    }
    static void recoverSpaceProc(std::int32_t) {}
    static OSErr getPropertyProc(OSType signature, OSType key, int32 index, std::intptr_t* simple, Handle* complex) {
        FilterHost* host = t_host;
        if (!host || index != 0) {
            return errPlugInPropertyUndefined;
        }
        for (const FilterHost::Property& property : host->m_properties) {
            if (property.signature != signature || property.key != key) {
                continue;
            }
            if (simple) {
                *simple = 0;
            }
            if (!complex) {
                return paramErr;
            }
            const Handle handle = host->newHandle(static_cast<std::int32_t>(property.bytes.size()));
            if (!handle) {
                return memFullErr;
            }
            std::copy(property.bytes.begin(), property.bytes.end(), reinterpret_cast<std::uint8_t*>(*handle));
            *complex = handle;
            return noErr;
        }
        return errPlugInPropertyUndefined;
    }
    static OSErr setPropertyProc(OSType, OSType, int32, std::intptr_t, Handle) { return errPlugInPropertyUndefined; }
};

FilterHost::FilterHost(PluginEntry entry) : m_entry(entry), m_record(std::make_unique<FilterRecord>()) {
    std::memset(m_record.get(), 0, sizeof(FilterRecord));
    m_descriptor_suites = std::make_unique<HostDescriptorSuites>(HostDescriptorSuites::Handles{
        [this](std::int32_t size) { return newHandle(size); },
        [this](Handle handle) {
            HandleBlock* block = findHandle(handle);
            return block ? std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(block->data), block->size)
                         : std::span<std::uint8_t>();
        }});
    m_handle_procs.handleProcsVersion = 1;
    m_handle_procs.numHandleProcs = 8;
    m_handle_procs.newProc = &FilterHostCallbacks::newProc;
    m_handle_procs.disposeProc = &FilterHostCallbacks::disposeProc;
    m_handle_procs.getSizeProc = &FilterHostCallbacks::getSizeProc;
    m_handle_procs.setSizeProc = &FilterHostCallbacks::setSizeProc;
    m_handle_procs.lockProc = &FilterHostCallbacks::lockProc;
    m_handle_procs.unlockProc = &FilterHostCallbacks::unlockProc;
    m_handle_procs.recoverSpaceProc = &FilterHostCallbacks::recoverSpaceProc;
    m_handle_procs.disposeRegularHandleProc = &FilterHostCallbacks::disposeProc;
    m_property_procs.propertyProcsVersion = 1;
    m_property_procs.numPropertyProcs = 2;
    m_property_procs.getPropertyProc = &FilterHostCallbacks::getPropertyProc;
    m_property_procs.setPropertyProc = &FilterHostCallbacks::setPropertyProc;
}

FilterHost::~FilterHost() = default;

void FilterHost::setImage(HostImage image) { m_image = std::move(image); }

VXPSRect FilterHost::filterRect() const {
    return m_filter_rect ? *m_filter_rect : VXPSRect{0, 0, m_image.width, m_image.height};
}

FilterHost::HandleBlock* FilterHost::findHandle(Handle handle) const {
    if (!handle) {
        return nullptr;
    }
    for (const auto& block : m_handles) {
        if (block->handle() == handle) {
            return block.get();
        }
    }
    return nullptr;
}

Handle FilterHost::newHandle(std::int32_t size) {
    if (m_fail_allocation || size < 0) {
        return nullptr;
    }
    auto block = std::make_unique<HandleBlock>();
    block->resize(static_cast<std::size_t>(size));
    m_handles.push_back(std::move(block));
    return m_handles.back()->handle();
}

void FilterHost::disposeHandle(Handle handle) {
    const auto it = std::find_if(m_handles.begin(), m_handles.end(),
                                 [handle](const auto& block) { return block->handle() == handle; });
    if (it != m_handles.end()) {
        if (m_parameters == handle) {
            m_parameters = nullptr;
        }
        m_handles.erase(it);
    }
}

std::vector<std::uint8_t> FilterHost::parameterBytes() const {
    const HandleBlock* block = findHandle(m_parameters);
    if (!block) {
        return {};
    }
    return std::vector<std::uint8_t>(block->storage.begin(), block->storage.begin() + block->size);
}

void FilterHost::setParameterBytes(const std::vector<std::uint8_t>& bytes) {
    clearParameters();
    m_parameters = newHandle(static_cast<std::int32_t>(bytes.size()));
    if (HandleBlock* block = findHandle(m_parameters)) {
        std::copy(bytes.begin(), bytes.end(), block->storage.begin());
    }
}

void FilterHost::clearParameters() {
    if (m_parameters) {
        disposeHandle(m_parameters);
    }
    m_parameters = nullptr;
}

bool FilterHost::parametersLocked() const {
    const HandleBlock* block = findHandle(m_parameters);
    return block && block->locks > 0;
}

void FilterHost::setComplexProperty(OSType signature, OSType key, std::vector<std::uint8_t> bytes) {
    std::erase_if(m_properties,
                  [&](const Property& property) { return property.signature == signature && property.key == key; });
    m_properties.push_back({signature, key, std::move(bytes)});
}

std::string FilterHost::errorString() const {
    return std::string(reinterpret_cast<const char*>(m_error_string + 1), m_error_string[0]);
}

void FilterHost::beginRun() {
    FilterRecord& r = *m_record;
    std::memset(&r, 0, sizeof(FilterRecord));
    std::memset(m_error_string, 0, sizeof(m_error_string));
    m_progress.clear();
    m_requests.clear();
    m_advance_calls = 0;
    m_abort_calls = 0;
    m_in_buffer.clear();
    m_out_buffer.clear();
    m_mask_buffer.clear();
    m_served_out = VRect{0, 0, 0, 0};
    m_taken = 0;
    if (banded()) {
        m_band_top = 0;
        m_band_rows = 0;
        m_image.pixels.clear();
    }

    const VXPSRect f = filterRect();
    r.abortProc = &FilterHostCallbacks::abortProc;
    r.progressProc = &FilterHostCallbacks::progressProc;
    r.parameters = m_parameters;
    // The document in 32-bit coordinates, and clamped in the 16-bit ones for plug-ins
    // that read only those (a picture beyond them is refused at their first request).
    m_big = BigDocumentStruct{};
    m_big.imageSize32 = VPoint{m_image.height, m_image.width};
    m_big.wholeSize32 = m_big.imageSize32;
    m_big.filterRect32 = toHostVRect(f);
    r.bigDocumentData = &m_big;
    r.imageSize = Point{toHostCoordinate(m_image.height), toHostCoordinate(m_image.width)};
    r.wholeSize = r.imageSize;
    r.planes = static_cast<int16>(m_image.planes);
    r.filterRect = toHostRect(f);
    r.background = PSRGBColor{0xFFFF, 0xFFFF, 0xFFFF};
    r.foreground = PSRGBColor{0, 0, 0};
    r.backColor[0] = r.backColor[1] = r.backColor[2] = 255;
    r.maxSpace = 1 << 30;
    r.bufferSpace = 1 << 28;
    r.maxSpace64 = r.maxSpace;
    r.bufferSpace64 = r.bufferSpace;
    r.isFloating = false;
    r.haveMask = m_mask.has_value();
    r.autoMask = true;
    r.hostSig = kHostSignature;
    r.imageMode = 3; // RGB
    r.imageHRes = 72 * kFixedOne;
    r.imageVRes = 72 * kFixedOne;
    m_platform_data.hwnd = 0;
    r.platformData = &m_platform_data;
    r.handleProcs = &m_handle_procs;
    r.propertyProcs = &m_property_procs;
    r.filterCase = static_cast<int16>(m_mask ? 2 : 1);
    r.advanceState = &FilterHostCallbacks::advanceState;
    r.supportsAbsolute = false;
    r.samplingSupport = 1; // integral rates
    r.inputRate = kFixedOne;
    r.maskRate = kFixedOne;
    r.colorServices = &FilterHostCallbacks::colorServices;
    m_recorded.reset();
    if (m_play_info) {
        m_descriptor = PIDescriptorParameters{};
        m_descriptor.playInfo = *m_play_info;
        m_descriptor.recordInfo = plugInDialogOptional;
        m_descriptor.writeDescriptorProcs = m_descriptor_suites->writeProcs();
        m_descriptor.readDescriptorProcs = m_descriptor_suites->readProcs();
        if (m_replay) {
            m_descriptor.descriptor = newHandle(static_cast<std::int32_t>(m_replay->size()));
            if (HandleBlock* block = findHandle(m_descriptor.descriptor)) {
                std::copy(m_replay->begin(), m_replay->end(), block->data);
            }
        }
        r.descriptorParameters = &m_descriptor;
    }
    r.errorString = m_error_string_enabled ? &m_error_string : nullptr;
    r.depth = 8;
    m_in_run = true;
}

int16 FilterHost::call(int16 selector) {
    CurrentHost current(this);
    HostDescriptorSuites::Current suites(m_descriptor_suites.get());
    int16 result = noErr;
    m_entry(selector, m_record.get(), &m_data, &result);
    flushOutput();
    return result;
}

void FilterHost::endRun() {
    m_parameters = m_record->parameters;
    // What the plug-in left in the descriptor is what an action records.
    if (m_record->descriptorParameters == &m_descriptor && m_descriptor.descriptor) {
        if (const HandleBlock* block = findHandle(m_descriptor.descriptor)) {
            m_recorded.emplace(block->data, block->data + block->size);
        }
        disposeHandle(m_descriptor.descriptor);
        m_descriptor.descriptor = nullptr;
    }
    m_in_run = false;
}

int16 FilterHost::run(bool withParameters) {
    // A document the record cannot describe is refused before the plug-in sees it.
    const VXPSRect f = filterRect();
    const bool planesValid = m_image.planes == 3 || m_image.planes == 4;
    const std::size_t held = banded() ? 0 : static_cast<std::size_t>(m_image.width) * m_image.height * m_image.planes;
    const bool sizeValid = m_image.width >= 0 && m_image.height >= 0 && m_image.width <= kMaxFilterSide &&
                           m_image.height <= kMaxFilterSide && m_image.pixels.size() == held;
    const bool rectValid = f.left >= 0 && f.top >= 0 && f.right <= m_image.width && f.bottom <= m_image.height &&
                           f.left <= f.right && f.top <= f.bottom;
    const bool maskValid =
        !m_mask || (m_mask->width == m_image.width && m_mask->height == m_image.height &&
                    m_mask->bytes.size() == static_cast<std::size_t>(m_mask->width) * m_mask->height);
    if (!planesValid || !sizeValid || !rectValid || !maskValid) {
        return paramErr;
    }
    beginRun();
    int16 result = noErr;
    if (withParameters) {
        result = call(filterSelectorParameters);
    }
    if (result == noErr) {
        result = call(filterSelectorPrepare);
    }
    if (result == noErr) {
        result = call(filterSelectorStart);
    }
    // Some hosts look at right only; a plug-in must end with all of them zero.
    const auto pending = [this] {
        const Asked a = asked();
        return !isEmpty(a.in) || !isEmpty(a.out) || !isEmpty(a.mask);
    };
    for (int rounds = 0; result == noErr && pending(); ++rounds) {
        if (rounds == 100000) {
            result = paramErr; // a plug-in that never finishes
            break;
        }
        CurrentHost current(this);
        result = serve();
        if (result == noErr) {
            result = call(filterSelectorContinue);
        }
    }
    if (result == noErr) {
        result = call(filterSelectorFinish);
    }
    if (result == noErr && m_stream.take && !releaseRowsBefore(m_image.height)) {
        result = kRowSinkErr;
    }
    endRun();
    return result;
}

FilterHost::Asked FilterHost::asked() const {
    const FilterRecord& r = *m_record;
    if (wide()) {
        return Asked{m_big.inRect32, m_big.outRect32, m_big.maskRect32};
    }
    return Asked{widen(r.inRect), widen(r.outRect), widen(r.maskRect)};
}

OSErr FilterHost::advanceState() {
    ++m_advance_calls;
    const FilterRecord& r = *m_record;
    const Asked a = asked();
    m_requests.push_back(Request{r.inRect, r.outRect, r.maskRect, r.inputRate, r.maskRate, r.inLoPlane, r.inHiPlane,
                                 a.in, a.out, a.mask, wide()});
    if (m_fail_call != 0 && m_advance_calls == m_fail_call) {
        return m_fail_code;
    }
    return serve();
}

// Writes back what the plug-in left in the last output buffer.
void FilterHost::flushOutput() {
    const VRect r = m_served_out;
    m_served_out = VRect{0, 0, 0, 0};
    if (isEmpty(r) || m_out_buffer.empty()) {
        return;
    }
    const std::int32_t n = m_served_out_hi - m_served_out_lo + 1;
    for (std::int32_t y = r.top; y < r.bottom; ++y) {
        const std::uint8_t* s = m_out_buffer.data() + static_cast<std::size_t>(y - r.top) * m_served_out_row_bytes;
        if (n == m_image.planes) { // every plane: the row is one run of bytes
            std::copy(s, s + static_cast<std::size_t>(r.right - r.left) * n, pixelAt(r.left, y));
            continue;
        }
        for (std::int32_t x = r.left; x < r.right; ++x, s += n) {
            std::copy(s, s + n, pixelAt(x, y) + m_served_out_lo);
        }
    }
}

// Copies planes lo..hi of `rect` (in units of `factor` image pixels, sampling
// every factor-th pixel) into `buffer`, rows padded; returns the row stride.
std::int32_t FilterHost::gatherPlanes(const VRect& rect, std::int32_t factor, int16 lo, int16 hi,
                                      std::vector<std::uint8_t>& buffer) const {
    const std::int32_t n = hi - lo + 1;
    const std::int32_t w = rect.right - rect.left;
    const std::int32_t h = rect.bottom - rect.top;
    const std::int32_t rowBytes = w * n + m_row_padding;
    // Every row's pixels are written below, so only the padding keeps older bytes:
    // no clearing of the whole buffer at every tile.
    buffer.resize(static_cast<std::size_t>(rowBytes) * h);
    for (std::int32_t y = 0; y < h; ++y) {
        std::uint8_t* d = buffer.data() + static_cast<std::size_t>(y) * rowBytes;
        if (factor == 1 && n == m_image.planes) { // every plane of every pixel: one run of bytes
            const std::uint8_t* s = pixelAt(rect.left, rect.top + y);
            std::copy(s, s + static_cast<std::size_t>(w) * n, d);
            continue;
        }
        for (std::int32_t x = 0; x < w; ++x, d += n) {
            const std::uint8_t* s = pixelAt((rect.left + x) * factor, (rect.top + y) * factor) + lo;
            std::copy(s, s + n, d);
        }
    }
    return rowBytes;
}

OSErr FilterHost::serve() {
    flushOutput();
    FilterRecord& r = *m_record;
    r.inData = nullptr;
    r.inRowBytes = 0;
    r.outData = nullptr;
    r.outRowBytes = 0;
    r.maskData = nullptr;
    r.maskRowBytes = 0;

    const auto planesValid = [this](int16 lo, int16 hi) { return lo >= 0 && lo <= hi && hi < m_image.planes; };
    const Asked a = asked();
    // A plug-in that reads 16-bit coordinates only would be served the part of the
    // picture they reach, and its run would seem to succeed.
    if (!wide() && (m_image.width > kMaxNarrowSide || m_image.height > kMaxNarrowSide) &&
        (!isEmpty(a.in) || !isEmpty(a.out) || !isEmpty(a.mask))) {
        return kNarrowCoordinatesErr;
    }

    if (m_stream.take || banded()) {
        // The rows the requests reach; those above them are finished and leave.
        std::int64_t top = m_image.height;
        std::int64_t bottom = 0;
        std::int32_t factor = 1;
        if (!isEmpty(a.in) && sampleRate(r.inputRate, factor)) {
            top = std::min<std::int64_t>(top, std::int64_t(a.in.top) * factor);
            bottom = std::max<std::int64_t>(bottom, (std::int64_t(a.in.bottom) - 1) * factor + 1);
        }
        if (!isEmpty(a.out)) {
            top = std::min<std::int64_t>(top, a.out.top);
            bottom = std::max<std::int64_t>(bottom, a.out.bottom);
        }
        if (top < bottom) {
            // Rows already handed on cannot be served again, nor rows the image has not.
            if (top < m_taken || bottom > m_image.height) {
                return paramErr;
            }
            if (!reachRows(static_cast<std::int32_t>(top), static_cast<std::int32_t>(bottom))) {
                return kRowSinkErr;
            }
        }
    }

    if (!isEmpty(a.in)) {
        std::int32_t factor = 1;
        if (!sampleRate(r.inputRate, factor) || !planesValid(r.inLoPlane, r.inHiPlane) ||
            !inside(a.in, factor, m_image.width, m_image.height)) {
            return paramErr;
        }
        if (factor == 1 && r.inLoPlane == 0 && r.inHiPlane == m_image.planes - 1 && m_row_padding == 0) {
            // The picture's own rows, which the module only reads: copying them
            // would be time every render thread spends waiting on the host.
            r.inData = pixelAt(a.in.left, a.in.top);
            r.inRowBytes = m_image.width * m_image.planes;
        } else {
            r.inRowBytes = gatherPlanes(a.in, factor, r.inLoPlane, r.inHiPlane, m_in_buffer);
            r.inData = m_in_buffer.data();
        }
    }

    if (!isEmpty(a.out)) {
        if (!planesValid(r.outLoPlane, r.outHiPlane) || !inside(a.out, 1, m_image.width, m_image.height)) {
            return paramErr;
        }
        // The destination starts as a copy of the source, as the module asks hosts to do.
        const std::int32_t rowBytes = gatherPlanes(a.out, 1, r.outLoPlane, r.outHiPlane, m_out_buffer);
        r.outData = m_out_buffer.data();
        r.outRowBytes = rowBytes;
        m_served_out = a.out;
        m_served_out_lo = r.outLoPlane;
        m_served_out_hi = r.outHiPlane;
        m_served_out_row_bytes = rowBytes;
    }

    if (!isEmpty(a.mask) && m_mask) {
        std::int32_t factor = 1;
        if (!sampleRate(r.maskRate, factor) || !inside(a.mask, factor, m_mask->width, m_mask->height)) {
            return paramErr;
        }
        const std::int32_t w = a.mask.right - a.mask.left;
        const std::int32_t h = a.mask.bottom - a.mask.top;
        const std::int32_t rowBytes = w + m_row_padding;
        m_mask_buffer.resize(static_cast<std::size_t>(rowBytes) * h);
        for (std::int32_t y = 0; y < h; ++y) {
            std::uint8_t* d = m_mask_buffer.data() + static_cast<std::size_t>(y) * rowBytes;
            for (std::int32_t x = 0; x < w; ++x) {
                d[x] = m_mask->at((a.mask.left + x) * factor, (a.mask.top + y) * factor);
            }
        }
        r.maskData = m_mask_buffer.data();
        r.maskRowBytes = rowBytes;
    }
    return noErr;
}

bool FilterHost::reachRows(std::int32_t top, std::int32_t bottom) {
    if (!releaseRowsBefore(top)) {
        return false;
    }
    holdRows(top, bottom);
    return true;
}

bool FilterHost::releaseRowsBefore(std::int32_t end) {
    // Rows below every request so far are made when they leave (a canvas's last rows).
    constexpr std::int32_t kFillRows = 64;
    while (m_taken < end) {
        if (banded() && m_taken >= m_band_top + m_band_rows) {
            holdRows(m_taken, std::min(end, m_taken + kFillRows));
        }
        if (m_stream.take && !m_stream.take(m_taken, pixelAt(0, m_taken))) {
            return false;
        }
        ++m_taken;
    }
    return true;
}

void FilterHost::holdRows(std::int32_t top, std::int32_t bottom) {
    if (!banded()) {
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(m_image.width) * m_image.planes;
    if (top > m_band_top) { // rows above top have left: the rest moves up
        const std::int32_t dropped = std::min(top - m_band_top, m_band_rows);
        std::copy(m_image.pixels.begin() + static_cast<std::ptrdiff_t>(dropped * rowBytes),
                  m_image.pixels.begin() + static_cast<std::ptrdiff_t>(m_band_rows * rowBytes), m_image.pixels.begin());
        m_band_rows -= dropped;
        m_band_top = top;
    }
    const std::int32_t held = m_band_top + m_band_rows;
    if (bottom > held) {
        m_band_rows = bottom - m_band_top;
        if (m_image.pixels.size() < m_band_rows * rowBytes) {
            m_image.pixels.resize(m_band_rows * rowBytes);
        }
        for (std::int32_t y = held; y < bottom; ++y) {
            m_stream.fill(y, pixelAt(0, y));
        }
    }
}

std::string describeFailure(int16 code, const std::string& message) {
    switch (code) {
    case errReportString: return message.empty() ? "the filter reported an error" : message;
    case userCanceledErr: return "the filter run was cancelled";
    case memFullErr: return "out of memory";
    case paramErr: return "the filter asked for something the host cannot serve";
    case kNarrowCoordinatesErr:
        return "the filter module reads 16-bit coordinates only, which reach " + std::to_string(kMaxNarrowSide) +
               " pixels a side: a larger picture needs a module that reads 32-bit ones";
    default: return "the filter failed with code " + std::to_string(code);
    }
}

} // namespace morvessan
