// The hostile host's record, callbacks and serving: every tile in buffers of
// their own, handles that count their locks, and the faults its quirks ask for.
#include "HostileHost.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(_WIN32)
#include "host/win32/VXPSModule.h"
#endif

namespace morvessan::test {

// A handle as hosts make them: the first word points at the data.
struct HostileHost::Block {
    char* data = nullptr;
    GuardedBuffer storage;
    int locks = 0;
    bool negativeSize = false;

    void resize(std::size_t size) {
        GuardedBuffer grown(size);
        if (storage.data()) {
            std::memcpy(grown.data(), storage.data(), std::min(size, storage.size()));
        }
        storage = std::move(grown);
        data = reinterpret_cast<char*>(storage.data());
    }
    Handle handle() { return &data; }
};

namespace {
HostileHost* g_host = nullptr;

bool isEmpty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }
bool isEmpty(const VRect& r) { return r.right <= r.left || r.bottom <= r.top; }

int16 clamped(std::int32_t v) { return static_cast<int16>(std::clamp<std::int32_t>(v, -32768, 32767)); }
} // namespace

struct HostileCallbacks {
    // A key reader that always has one more entry.
    static Boolean endlessKey(PIReadDescriptor, DescriptorKeyID* key, DescriptorTypeID* type, int32* flags) {
        *key = 0x6D765364; // 'mvSd'
        *type = typeInteger;
        *flags = 0;
        return true;
    }
    static Boolean abortProc() {
        HostileHost& host = *g_host;
        ++host.m_abort_calls;
        return host.m_quirks.abortFrom > 0 && host.m_abort_calls >= host.m_quirks.abortFrom;
    }
    static void progressProc(std::int32_t, std::int32_t) {}
    static OSErr advanceState() { return g_host->advance(); }
    static Handle newProc(std::int32_t size) { return size < 0 ? nullptr : g_host->newHandle(size); }
    static void disposeProc(Handle handle) {
        auto& blocks = g_host->m_blocks;
        blocks.erase(std::remove_if(blocks.begin(), blocks.end(), [&](auto& b) { return b->handle() == handle; }),
                     blocks.end());
        if (g_host->m_kept == handle) {
            g_host->m_kept = nullptr;
        }
        // Given back: a later handle at the same address is another one.
        std::erase(g_host->m_property_handles, handle);
    }
    static std::int32_t getSizeProc(Handle handle) {
        HostileHost::Block* block = g_host->find(handle);
        if (block && block->negativeSize) {
            return -24;
        }
        return block ? static_cast<std::int32_t>(block->storage.size()) : 0;
    }
    static OSErr getPropertyProc(OSType, OSType, int32, std::intptr_t*, Handle* complex) {
        HostileHost& host = *g_host;
        if (!complex || !host.m_quirks.propertyBytes) {
            return errPlugInPropertyUndefined;
        }
        const std::vector<std::uint8_t>& bytes = *host.m_quirks.propertyBytes;
        *complex = host.newHandle(static_cast<std::int32_t>(bytes.size()));
        std::copy(bytes.begin(), bytes.end(), host.find(*complex)->storage.data());
        host.find(*complex)->negativeSize = host.m_quirks.propertySizeNegative;
        host.m_property_handles.push_back(*complex);
        return noErr;
    }
    static OSErr setSizeProc(Handle handle, std::int32_t size) {
        HostileHost::Block* block = g_host->find(handle);
        if (!block || size < 0 || block->locks > 0) {
            return paramErr;
        }
        block->resize(static_cast<std::size_t>(size));
        return noErr;
    }
    static Ptr lockProc(Handle handle, Boolean) {
        HostileHost::Block* block = g_host->find(handle);
        if (!block || g_host->m_quirks.failLocks) {
            return nullptr;
        }
        ++block->locks;
        ++g_host->m_locks;
        return block->data;
    }
    static void unlockProc(Handle handle) {
        HostileHost::Block* block = g_host->find(handle);
        if (!block || block->locks == 0) {
            ++g_host->m_stray_unlocks;
            return;
        }
        --block->locks;
        ++g_host->m_unlocks;
    }
};

HostileHost::HostileHost(PluginEntry entry, std::int32_t width, std::int32_t height, Quirks quirks)
    : m_entry(entry), m_width(width), m_height(height), m_quirks(quirks),
      m_record(quirks.recordBytes != 0 ? quirks.recordBytes : sizeof(FilterRecord)) {
    g_host = this;
    m_procs.handleProcsVersion = 1;
    m_procs.numHandleProcs = quirks.numHandleProcs;
    m_procs.newProc = &HostileCallbacks::newProc;
    m_procs.disposeProc = &HostileCallbacks::disposeProc;
    m_procs.getSizeProc = &HostileCallbacks::getSizeProc;
    m_procs.setSizeProc = quirks.setSizeProc ? &HostileCallbacks::setSizeProc : nullptr;
    m_procs.lockProc = &HostileCallbacks::lockProc;
    m_procs.unlockProc = &HostileCallbacks::unlockProc;
    m_suites = std::make_unique<HostDescriptorSuites>(HostDescriptorSuites::Handles{
        [this](std::int32_t size) { return size < 0 ? nullptr : newHandle(size); },
        [this](Handle handle) {
            Block* block = find(handle);
            return block ? std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(block->data), block->storage.size())
                         : std::span<std::uint8_t>();
        }});
    // The suites as far as their counts go: the routines past them are not there.
    m_read_procs = *m_suites->readProcs();
    m_read_procs.numReadDescriptorProcs = quirks.numReadDescriptorProcs;
    void** read = reinterpret_cast<void**>(&m_read_procs.openReadDescriptorProc);
    for (int i = std::max<int>(quirks.numReadDescriptorProcs, 0); i < kReadDescriptorProcsCount; ++i) {
        read[i] = nullptr;
    }
    if (quirks.endlessKeys) {
        m_read_procs.getKeyProc = &HostileCallbacks::endlessKey;
    }
    m_write_procs = *m_suites->writeProcs();
    m_write_procs.numWriteDescriptorProcs = quirks.numWriteDescriptorProcs;
    void** write = reinterpret_cast<void**>(&m_write_procs.openWriteDescriptorProc);
    for (int i = std::max<int>(quirks.numWriteDescriptorProcs, 0); i < kWriteDescriptorProcsCount; ++i) {
        write[i] = nullptr;
    }
    fillRecord();
}

HostileHost::~HostileHost() { g_host = nullptr; }

void HostileHost::fillRecord() {
    // Filled whole, then as much of it handed over as the record's generation has.
    FilterRecord r{};
    std::memset(&r, 0, sizeof r);
    r.abortProc = &HostileCallbacks::abortProc;
    r.progressProc = &HostileCallbacks::progressProc;
    r.parameters = m_kept;
    r.imageSize = Point{clamped(m_height), clamped(m_width)};
    r.wholeSize = r.imageSize;
    r.planes = m_quirks.planes;
    r.filterRect = Rect{0, 0, clamped(m_height), clamped(m_width)};
    m_big = BigDocumentStruct{};
    if (m_quirks.bigDocument) {
        m_big.imageSize32 = VPoint{m_height, m_width};
        m_big.wholeSize32 = m_big.imageSize32;
        m_big.filterRect32 = VRect{0, 0, m_height, m_width};
        r.bigDocumentData = &m_big;
    }
    r.haveMask = m_quirks.mask;
    r.autoMask = true;
    r.imageMode = m_quirks.imageMode;
    r.handleProcs = m_quirks.handleSuite ? &m_procs : nullptr;
    r.advanceState = m_quirks.advanceState ? &HostileCallbacks::advanceState : nullptr;
    r.samplingSupport = 1;
    r.inputRate = kFixedOne;
    r.maskRate = kFixedOne;
    if (m_quirks.playInfo) {
        m_descriptor.playInfo = *m_quirks.playInfo;
        if (m_quirks.descriptorSuites) {
            m_descriptor.readDescriptorProcs = &m_read_procs;
            m_descriptor.writeDescriptorProcs = &m_write_procs;
        }
        if (m_quirks.descriptorBytes && !m_descriptor.descriptor) {
            m_descriptor.descriptor = newHandle(static_cast<std::int32_t>(m_quirks.descriptorBytes->size()));
            std::copy(m_quirks.descriptorBytes->begin(), m_quirks.descriptorBytes->end(),
                      find(m_descriptor.descriptor)->data);
        }
        r.descriptorParameters = &m_descriptor;
    }
    r.errorString = m_quirks.errorString ? &m_error : nullptr;
    r.depth = m_quirks.depth;
    if (m_quirks.propertyBytes) {
        m_property_procs = PropertyProcs{1, 1, &HostileCallbacks::getPropertyProc, nullptr};
        r.propertyProcs = &m_property_procs;
    }
    if (m_quirks.numBufferProcs != 0) {
        m_buffer_procs = BufferProcs{};
        m_buffer_procs.bufferProcsVersion = 2;
        m_buffer_procs.numBufferProcs = m_quirks.numBufferProcs;
        r.bufferProcs = &m_buffer_procs;
    }
    std::memcpy(m_record.data(), &r, m_record.size());
}

int HostileHost::propertyHandlesLeft() const {
    int left = 0;
    for (Handle handle : m_property_handles) {
        left += find(handle) != nullptr ? 1 : 0;
    }
    return left;
}

void HostileHost::keepParameters(const std::vector<std::uint8_t>& bytes) {
    g_host = this;
    m_kept = newHandle(static_cast<std::int32_t>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), find(m_kept)->storage.data());
    record().parameters = m_kept;
}

void HostileHost::resize(std::int32_t width, std::int32_t height) {
    m_width = width;
    m_height = height;
    fillRecord();
}

HostileHost::Block* HostileHost::find(Handle handle) const {
    for (const auto& block : m_blocks) {
        if (block->handle() == handle) {
            return block.get();
        }
    }
    return nullptr;
}

Handle HostileHost::newHandle(std::int32_t size) {
    m_blocks.push_back(std::make_unique<Block>());
    m_blocks.back()->resize(static_cast<std::size_t>(size));
    std::memset(m_blocks.back()->storage.data(), 0, static_cast<std::size_t>(size));
    return m_blocks.back()->handle();
}

std::optional<std::vector<std::uint8_t>> HostileHost::descriptor() const {
    const Block* block = find(m_descriptor.descriptor);
    if (!block) {
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(block->data, block->data + block->storage.size());
}

int16 HostileHost::call(int16 selector) {
    g_host = this;
    HostDescriptorSuites::Current suites(m_suites.get());
    int16 result = noErr;
    m_entry(selector, &record(), &m_data, &result);
    m_kept = record().parameters;
    return result;
}

int16 HostileHost::run(bool prepare) {
    int16 result = prepare ? call(filterSelectorPrepare) : int16{noErr};
    if (result == noErr) {
        result = call(filterSelectorStart);
    }
    for (int rounds = 0; result == noErr; ++rounds) {
        if (!pending()) {
            break;
        }
        if (rounds == 100000) {
            return paramErr;
        }
        result = advance();
        if (result == noErr) {
            result = call(filterSelectorContinue);
        }
    }
    if (result == noErr) {
        result = call(filterSelectorFinish);
    }
    return result;
}

bool HostileHost::pending() const {
    if (wide()) {
        return !isEmpty(m_big.inRect32) || !isEmpty(m_big.outRect32) || !isEmpty(m_big.maskRect32);
    }
    const FilterRecord& r = record();
    return !isEmpty(r.inRect) || !isEmpty(r.outRect) || !isEmpty(r.maskRect);
}

std::optional<std::vector<std::uint8_t>> HostileHost::parameters() const {
    const Block* block = find(m_kept);
    if (!block) {
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(block->storage.data(), block->storage.data() + block->storage.size());
}

bool HostileHost::outputWritten() const {
    return m_out.data() && !std::equal(m_out_served.begin(), m_out_served.end(), m_out.data());
}

// Serves the rectangles asked for in buffers of their own: each row exactly as
// long as the quirks say, nothing after the last.
OSErr HostileHost::advance() {
    ++m_advance_calls;
    FilterRecord& r = record();
    if (m_quirks.failAdvanceAt == m_advance_calls) {
        return m_quirks.failCode;
    }
    // The record is packed: its pointers are written as values, never bound to references.
    struct Served {
        void* data = nullptr;
        int32 rowBytes = 0;
        bool ok = true;
    };
    const auto serveWide = [&](VRect& rect, Fixed rate, std::int32_t planes, GuardedBuffer& buffer) {
        Served served;
        if (isEmpty(rect)) {
            return served;
        }
        const std::int64_t factor = std::max(rate / kFixedOne, 1);
        if (rect.left < 0 || rect.top < 0 || (rect.right - 1) * factor >= m_width ||
            (rect.bottom - 1) * factor >= m_height) {
            m_outside = true;
            served.ok = false;
            return served;
        }
        if (m_quirks.clipTiles) {
            --rect.right;
        }
        const std::int32_t width = std::max(rect.right - rect.left, 0);
        served.rowBytes = std::max(width * (planes + m_quirks.columnPadding) - m_quirks.rowsShortBy, 0);
        buffer = GuardedBuffer(static_cast<std::size_t>(served.rowBytes) * (rect.bottom - rect.top));
        for (std::size_t i = 0; i < buffer.size(); ++i) {
            buffer.data()[i] = static_cast<std::uint8_t>(i * 7 + 3);
        }
        served.data = buffer.data();
        return served;
    };
    // The 16-bit rectangles served as the 32-bit ones, with what the quirks did to them.
    m_served_wide = wide();
    const auto serve = [&](Rect& rect, Fixed rate, std::int32_t planes, GuardedBuffer& buffer) {
        VRect wideRect{rect.top, rect.left, rect.bottom, rect.right};
        const Served served = serveWide(wideRect, rate, planes, buffer);
        rect.right = clamped(wideRect.right);
        return served;
    };
    const auto serveEither = [&](Rect& rect, VRect& rect32, Fixed rate, std::int32_t planes, GuardedBuffer& buffer) {
        return m_served_wide ? serveWide(rect32, rate, planes, buffer) : serve(rect, rate, planes, buffer);
    };
    // Only the planes the image has are served, however many were asked for.
    const auto planes = [&](int16 lo, int16 hi) {
        return std::max(std::min<int>(hi, m_quirks.planes - 1) - lo + 1, 0);
    };
    const Served in = serveEither(r.inRect, m_big.inRect32, r.inputRate, planes(r.inLoPlane, r.inHiPlane), m_in);
    const Served out = serveEither(r.outRect, m_big.outRect32, kFixedOne, planes(r.outLoPlane, r.outHiPlane), m_out);
    const Served mask = m_quirks.mask ? serveEither(r.maskRect, m_big.maskRect32, r.maskRate, 1, m_mask) : Served{};
    r.inData = in.data;
    r.inRowBytes = in.rowBytes;
    r.outData = out.data;
    r.outRowBytes = out.rowBytes;
    r.maskData = mask.data;
    r.maskRowBytes = mask.rowBytes;
    if (m_quirks.sayColumnStep) {
        r.inColumnBytes = planes(r.inLoPlane, r.inHiPlane) + m_quirks.columnPadding;
        r.outColumnBytes = planes(r.outLoPlane, r.outHiPlane) + m_quirks.columnPadding;
        r.inPlaneBytes = m_quirks.planeStep;
        r.outPlaneBytes = m_quirks.planeStep;
    }
    if (!in.ok || !out.ok || !mask.ok) {
        return paramErr;
    }
    m_out_served.assign(m_out.data(), m_out.data() + m_out.size());
    return noErr;
}

PluginEntry testedEntry() {
#if defined(_WIN32)
    static std::unique_ptr<VXPSModule> module = [] {
        std::unique_ptr<VXPSModule> loaded;
        if (const char* path = std::getenv("MORVESSAN_MODULE")) {
            std::string error;
            loaded = VXPSModule::load(path, error);
        }
        return loaded;
    }();
    if (module) {
        return module->entry();
    }
#endif
    return &PluginMain;
}

} // namespace morvessan::test
