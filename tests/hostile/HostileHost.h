// A host that breaks the rules other hosts break: odd modes, short handles and
// rows, clipped tiles, missing suites, counted locks; every buffer it hands out ends exactly.
#pragma once

#include "GuardedBuffer.h"
#include "host/HostDescriptors.h"
#include "plugin/HostInterface.h"
#include "plugin/PluginMain.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace morvessan::test {

struct Quirks {
    int16 imageMode = plugInModeRGBColor;
    int32 depth = 8;
    int16 planes = 4;
    bool mask = false;
    std::int32_t rowsShortBy = 0; // rows this many bytes shorter than the tile's
    bool clipTiles = false;       // serves every rectangle one pixel narrower than asked
    int failAdvanceAt = 0;        // advanceState call (from 1) that fails with failCode
    OSErr failCode = -5555;
    int abortFrom = 0; // the abort test answers true from this call on
    bool handleSuite = true;
    int16 numHandleProcs = 8;
    bool setSizeProc = true;
    bool failLocks = false;
    bool advanceState = true;
    bool errorString = true;
    std::optional<int16> playInfo = plugInDialogSilent;
    // Offers 32-bit coordinates (the 16-bit ones clamped) and serves from them once
    // the plug-in says it reads them.
    bool bigDocument = false;
    // Answers every complex-property query with a new handle of these bytes, as
    // hosts that answer everything with a default do; with propertySizeNegative
    // the handle's size reads as negative.
    std::optional<std::vector<std::uint8_t>> propertyBytes;
    bool propertySizeNegative = false;
    // Pixels this many bytes further apart than their planes (padded columns),
    // said in the column-step fields; planeStep is said in the plane-step fields.
    std::int32_t columnPadding = 0;
    std::int32_t planeStep = 0;
    bool sayColumnStep = false;
    // A record of an older interface generation: only this many bytes, ending where
    // its buffer ends (0: the whole record).
    std::size_t recordBytes = 0;
    // A buffer suite counting this many routines, none of them given (0: no suite).
    int16 numBufferProcs = 0;
    // Recorded actions (with playInfo): a descriptor handle holding these bytes, read
    // and write suites counting this many routines (those past the count null), a key
    // reader that never runs out, and descriptor parameters without any suites.
    std::optional<std::vector<std::uint8_t>> descriptorBytes;
    int16 numReadDescriptorProcs = kReadDescriptorProcsCount;
    int16 numWriteDescriptorProcs = kWriteDescriptorProcsCount;
    bool endlessKeys = false;
    bool descriptorSuites = true;
};

class HostileHost {
public:
    HostileHost(PluginEntry entry, std::int32_t width, std::int32_t height, Quirks quirks = {});
    ~HostileHost();
    HostileHost(const HostileHost&) = delete;
    HostileHost& operator=(const HostileHost&) = delete;

    // The next call finds a kept parameter handle holding `bytes`.
    void keepParameters(const std::vector<std::uint8_t>& bytes);
    // A new document of this size; the kept handle stays.
    void resize(std::int32_t width, std::int32_t height);

    int16 call(int16 selector);
    // Prepare (unless skipped), Start, Continue while a rectangle is set, Finish.
    int16 run(bool prepare = true);

    FilterRecord& record() { return *reinterpret_cast<FilterRecord*>(m_record.data()); }
    const FilterRecord& record() const { return *reinterpret_cast<const FilterRecord*>(m_record.data()); }
    // The 32-bit coordinates offered with Quirks::bigDocument, for a test to spoil.
    BigDocumentStruct& bigDocument() { return m_big; }
    // Whether the last rectangles served were read from the 32-bit fields.
    bool servedWide() const { return m_served_wide; }
    // What the plug-in left in the error string.
    std::string errorString() const { return std::string(reinterpret_cast<const char*>(m_error + 1), m_error[0]); }
    // The kept handle's size and bytes (nothing when there is none).
    std::optional<std::vector<std::uint8_t>> parameters() const;

    int locks() const { return m_locks; }
    // Handles the host made for property answers and the plug-in has not given back.
    int propertyHandlesLeft() const;
    int unlocks() const { return m_unlocks; }
    int strayUnlocks() const { return m_stray_unlocks; } // of handles not locked, or not ours
    int advanceCalls() const { return m_advance_calls; }
    bool askedOutsideImage() const { return m_outside; }
    // What the plug-in left in the descriptor (nothing when it left none).
    std::optional<std::vector<std::uint8_t>> descriptor() const;
    // Whether the plug-in wrote into the output buffer it was last given.
    bool outputWritten() const;

private:
    struct Block;
    friend struct HostileCallbacks;

    void fillRecord();
    OSErr advance();
    bool wide() const { return m_quirks.bigDocument && m_big.PluginUsing32BitCoordinates != 0; }
    bool pending() const;
    Block* find(Handle handle) const;
    Handle newHandle(std::int32_t size);

    PluginEntry m_entry;
    std::int32_t m_width;
    std::int32_t m_height;
    Quirks m_quirks;
    GuardedBuffer m_record; // the record, as long as the quirks say
    BufferProcs m_buffer_procs{};
    BigDocumentStruct m_big{};
    bool m_served_wide = false;
    HandleProcs m_procs{};
    PropertyProcs m_property_procs{};
    std::vector<Handle> m_property_handles;
    PIDescriptorParameters m_descriptor{};
    std::unique_ptr<HostDescriptorSuites> m_suites;
    ReadDescriptorProcs m_read_procs{};
    WriteDescriptorProcs m_write_procs{};
    Str255 m_error{};
    std::intptr_t m_data = 0;
    std::vector<std::unique_ptr<Block>> m_blocks;
    Handle m_kept = nullptr;
    GuardedBuffer m_in, m_out, m_mask;
    std::vector<std::uint8_t> m_out_served;
    int m_locks = 0;
    int m_unlocks = 0;
    int m_stray_unlocks = 0;
    int m_advance_calls = 0;
    int m_abort_calls = 0;
    bool m_outside = false;
};

// The entry under test: the module named by MORVESSAN_MODULE on Windows, else
// the plug-in linked into this program.
PluginEntry testedEntry();

} // namespace morvessan::test
