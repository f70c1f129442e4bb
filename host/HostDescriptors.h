// The host's descriptor suites: what a filter writes for a recorded action is
// kept as bytes of this host's own, and handed back through the read suite on replay.
#pragma once

#include "plugin/HostDescriptors.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace morvessan {

struct DescriptorEntry {
    DescriptorKeyID key = 0;
    DescriptorTypeID type = 0;
    std::vector<std::uint8_t> value; // integers and floats little-endian, booleans one byte, text as is

    bool operator==(const DescriptorEntry&) const = default;
};

// This host's bytes of a descriptor: "MvDs", the entry count, then each entry's
// key, type, value length and value (little-endian 32-bit numbers).
std::vector<std::uint8_t> encodeDescriptor(const std::vector<DescriptorEntry>& entries);
// The entries, or nothing for bytes that are not whole (a descriptor damaged on its way).
std::optional<std::vector<DescriptorEntry>> decodeDescriptor(std::span<const std::uint8_t> bytes);

// Values as the entries hold them.
DescriptorEntry integerEntry(DescriptorKeyID key, std::int32_t value);
DescriptorEntry floatEntry(DescriptorKeyID key, double value);
DescriptorEntry booleanEntry(DescriptorKeyID key, bool value);
DescriptorEntry textEntry(DescriptorKeyID key, std::string_view text);

class HostDescriptorSuites {
public:
    // How the suites reach the host's handles.
    struct Handles {
        std::function<Handle(std::int32_t size)> make;
        std::function<std::span<std::uint8_t>(Handle)> bytes; // empty for a handle not the host's
    };
    explicit HostDescriptorSuites(Handles handles);
    ~HostDescriptorSuites();
    HostDescriptorSuites(const HostDescriptorSuites&) = delete;
    HostDescriptorSuites& operator=(const HostDescriptorSuites&) = delete;

    WriteDescriptorProcs* writeProcs() { return &m_write; }
    ReadDescriptorProcs* readProcs() { return &m_read; }

    // The suites the callbacks of this thread reach (one run at a time on a thread).
    class Current {
    public:
        explicit Current(HostDescriptorSuites* suites);
        ~Current();
        Current(const Current&) = delete;
        Current& operator=(const Current&) = delete;

    private:
        HostDescriptorSuites* m_previous;
    };

private:
    friend struct HostDescriptorCallbacks;
    struct Writer;
    struct Reader;

    Handles m_handles;
    WriteDescriptorProcs m_write{};
    ReadDescriptorProcs m_read{};
    std::vector<std::unique_ptr<Writer>> m_writers;
    std::vector<std::unique_ptr<Reader>> m_readers;
};

} // namespace morvessan
