// The host's write and read descriptor suites over its own bytes, which a plug-in
// never sees: it reaches a descriptor only through these calls, and a damaged one
// reads as no entries.
#include "host/HostDescriptors.h"

#include <algorithm>
#include <cstring>

namespace morvessan {

namespace {

constexpr std::uint32_t kMagic = 0x7344764D; // "MvDs" read as little-endian bytes
// Past this, a count or length is damage: no filter's settings come near it.
constexpr std::uint32_t kMaxEntries = 4096;
constexpr std::uint32_t kMaxValue = 1u << 20;

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

std::uint32_t getU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

std::vector<std::uint8_t> littleEndian(std::uint64_t value, int bytes) {
    std::vector<std::uint8_t> out;
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    return out;
}

thread_local HostDescriptorSuites* t_suites = nullptr;

} // namespace

struct HostDescriptorSuites::Writer {
    std::vector<DescriptorEntry> entries;
};

struct HostDescriptorSuites::Reader {
    std::vector<DescriptorEntry> entries;
    std::size_t next = 0;
    const DescriptorEntry* current = nullptr;
};

std::vector<std::uint8_t> encodeDescriptor(const std::vector<DescriptorEntry>& entries) {
    std::vector<std::uint8_t> out;
    putU32(out, kMagic);
    putU32(out, static_cast<std::uint32_t>(entries.size()));
    for (const DescriptorEntry& entry : entries) {
        putU32(out, entry.key);
        putU32(out, entry.type);
        putU32(out, static_cast<std::uint32_t>(entry.value.size()));
        out.insert(out.end(), entry.value.begin(), entry.value.end());
    }
    return out;
}

std::optional<std::vector<DescriptorEntry>> decodeDescriptor(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 8 || getU32(bytes.data()) != kMagic) {
        return std::nullopt;
    }
    const std::uint32_t count = getU32(bytes.data() + 4);
    if (count > kMaxEntries) {
        return std::nullopt;
    }
    std::vector<DescriptorEntry> entries;
    std::size_t at = 8;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (bytes.size() - at < 12) {
            return std::nullopt;
        }
        DescriptorEntry entry;
        entry.key = getU32(bytes.data() + at);
        entry.type = getU32(bytes.data() + at + 4);
        const std::uint32_t length = getU32(bytes.data() + at + 8);
        at += 12;
        if (length > kMaxValue || bytes.size() - at < length) {
            return std::nullopt;
        }
        entry.value.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                           bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        entries.push_back(std::move(entry));
    }
    if (at != bytes.size()) {
        return std::nullopt;
    }
    return entries;
}

DescriptorEntry integerEntry(DescriptorKeyID key, std::int32_t value) {
    return {key, typeInteger, littleEndian(static_cast<std::uint32_t>(value), 4)};
}

DescriptorEntry floatEntry(DescriptorKeyID key, double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return {key, typeFloat, littleEndian(bits, 8)};
}

DescriptorEntry booleanEntry(DescriptorKeyID key, bool value) {
    return {key, typeBoolean, {static_cast<std::uint8_t>(value ? 1 : 0)}};
}

DescriptorEntry textEntry(DescriptorKeyID key, std::string_view text) {
    return {key, typeChar, std::vector<std::uint8_t>(text.begin(), text.end())};
}

struct HostDescriptorCallbacks {
    using Writer = HostDescriptorSuites::Writer;
    using Reader = HostDescriptorSuites::Reader;

    static Writer* writer(PIWriteDescriptor token) {
        if (!t_suites) {
            return nullptr;
        }
        for (const auto& w : t_suites->m_writers) {
            if (w.get() == token) {
                return w.get();
            }
        }
        return nullptr;
    }
    static Reader* reader(PIReadDescriptor token) {
        if (!t_suites) {
            return nullptr;
        }
        for (const auto& r : t_suites->m_readers) {
            if (r.get() == token) {
                return r.get();
            }
        }
        return nullptr;
    }
    static OSErr put(PIWriteDescriptor token, DescriptorEntry entry) {
        Writer* w = writer(token);
        if (!w) {
            return paramErr;
        }
        std::erase_if(w->entries, [&](const DescriptorEntry& e) { return e.key == entry.key; });
        w->entries.push_back(std::move(entry));
        return noErr;
    }

    static PIWriteDescriptor openWrite() {
        if (!t_suites) {
            return nullptr;
        }
        t_suites->m_writers.push_back(std::make_unique<Writer>());
        return t_suites->m_writers.back().get();
    }
    static OSErr closeWrite(PIWriteDescriptor token, PIDescriptorHandle* result) {
        Writer* w = writer(token);
        if (!w) {
            return paramErr;
        }
        const std::vector<std::uint8_t> bytes = encodeDescriptor(w->entries);
        std::erase_if(t_suites->m_writers, [&](const auto& p) { return p.get() == w; });
        if (!result) {
            return paramErr;
        }
        *result = t_suites->m_handles.make(static_cast<std::int32_t>(bytes.size()));
        if (!*result) {
            return memFullErr;
        }
        const std::span<std::uint8_t> to = t_suites->m_handles.bytes(*result);
        std::copy_n(bytes.begin(), std::min(bytes.size(), to.size()), to.begin());
        return noErr;
    }
    static OSErr putInteger(PIWriteDescriptor token, DescriptorKeyID key, int32 value) {
        return put(token, integerEntry(key, value));
    }
    static OSErr putFloat(PIWriteDescriptor token, DescriptorKeyID key, const double* value) {
        return value ? put(token, floatEntry(key, *value)) : OSErr{paramErr};
    }
    static OSErr putUnitFloat(PIWriteDescriptor, DescriptorKeyID, DescriptorUnitID, const double*) { return paramErr; }
    static OSErr putBoolean(PIWriteDescriptor token, DescriptorKeyID key, Boolean value) {
        return put(token, booleanEntry(key, value != 0));
    }
    static OSErr putText(PIWriteDescriptor token, DescriptorKeyID key, Handle text) {
        if (!t_suites || !text) {
            return paramErr;
        }
        const std::span<std::uint8_t> bytes = t_suites->m_handles.bytes(text);
        return put(token, {key, typeChar, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
    }
    static OSErr putAlias(PIWriteDescriptor, DescriptorKeyID, Handle) { return paramErr; }
    static OSErr putEnumerated(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID, DescriptorEnumID) {
        return paramErr;
    }
    static OSErr putClass(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID) { return paramErr; }
    static OSErr putReference(PIWriteDescriptor, DescriptorKeyID, const PIDescriptorSimpleReference*) {
        return paramErr;
    }
    static OSErr putObject(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID, PIDescriptorHandle) {
        return paramErr;
    }
    static OSErr putCount(PIWriteDescriptor, DescriptorKeyID, uint32) { return paramErr; }
    static OSErr putString(PIWriteDescriptor token, DescriptorKeyID key, const unsigned char* text) {
        return text ? put(token, textEntry(key, std::string_view(reinterpret_cast<const char*>(text + 1), text[0])))
                    : OSErr{paramErr};
    }

    static PIReadDescriptor openRead(PIDescriptorHandle descriptor, DescriptorKeyID*) {
        if (!t_suites || !descriptor) {
            return nullptr;
        }
        const std::span<std::uint8_t> bytes = t_suites->m_handles.bytes(descriptor);
        std::optional<std::vector<DescriptorEntry>> entries = decodeDescriptor(bytes);
        if (!entries) {
            return nullptr;
        }
        auto r = std::make_unique<Reader>();
        r->entries = std::move(*entries);
        t_suites->m_readers.push_back(std::move(r));
        return t_suites->m_readers.back().get();
    }
    static OSErr closeRead(PIReadDescriptor token) {
        Reader* r = reader(token);
        if (!r) {
            return paramErr;
        }
        std::erase_if(t_suites->m_readers, [&](const auto& p) { return p.get() == r; });
        return noErr;
    }
    static Boolean getKey(PIReadDescriptor token, DescriptorKeyID* key, DescriptorTypeID* type, int32* flags) {
        Reader* r = reader(token);
        if (!r || r->next >= r->entries.size()) {
            return false;
        }
        r->current = &r->entries[r->next++];
        if (key) {
            *key = r->current->key;
        }
        if (type) {
            *type = r->current->type;
        }
        if (flags) {
            *flags = 0;
        }
        return true;
    }
    // The current entry when it has `type` and `size` bytes (0: any size).
    static const DescriptorEntry* value(PIReadDescriptor token, DescriptorTypeID type, std::size_t size) {
        Reader* r = reader(token);
        if (!r || !r->current || r->current->type != type || (size && r->current->value.size() != size)) {
            return nullptr;
        }
        return r->current;
    }
    static OSErr getInteger(PIReadDescriptor token, int32* out) {
        const DescriptorEntry* e = value(token, typeInteger, 4);
        if (!e || !out) {
            return errWrongType;
        }
        *out = static_cast<int32>(getU32(e->value.data()));
        return noErr;
    }
    static OSErr getFloat(PIReadDescriptor token, double* out) {
        const DescriptorEntry* e = value(token, typeFloat, 8);
        if (!e || !out) {
            return errWrongType;
        }
        const std::uint64_t bits =
            std::uint64_t(getU32(e->value.data())) | (std::uint64_t(getU32(e->value.data() + 4)) << 32);
        std::memcpy(out, &bits, sizeof bits);
        return noErr;
    }
    static OSErr getUnitFloat(PIReadDescriptor, DescriptorUnitID*, double*) { return errWrongType; }
    static OSErr getBoolean(PIReadDescriptor token, Boolean* out) {
        const DescriptorEntry* e = value(token, typeBoolean, 1);
        if (!e || !out) {
            return errWrongType;
        }
        *out = e->value[0] != 0;
        return noErr;
    }
    static OSErr getText(PIReadDescriptor token, Handle* out) {
        const DescriptorEntry* e = value(token, typeChar, 0);
        if (!e || !out) {
            return errWrongType;
        }
        *out = t_suites->m_handles.make(static_cast<std::int32_t>(e->value.size()));
        if (!*out) {
            return memFullErr;
        }
        const std::span<std::uint8_t> to = t_suites->m_handles.bytes(*out);
        std::copy_n(e->value.begin(), std::min(e->value.size(), to.size()), to.begin());
        return noErr;
    }
    static OSErr getAlias(PIReadDescriptor, Handle*) { return errWrongType; }
    static OSErr getEnumerated(PIReadDescriptor, DescriptorEnumID*) { return errWrongType; }
    static OSErr getClass(PIReadDescriptor, DescriptorTypeID*) { return errWrongType; }
    static OSErr getReference(PIReadDescriptor, PIDescriptorSimpleReference*) { return errWrongType; }
    static OSErr getObject(PIReadDescriptor, DescriptorTypeID*, PIDescriptorHandle*) { return errWrongType; }
    static OSErr getCount(PIReadDescriptor, uint32*) { return errWrongType; }
    static OSErr getString(PIReadDescriptor token, unsigned char (*out)[256]) {
        const DescriptorEntry* e = value(token, typeChar, 0);
        if (!e || !out) {
            return errWrongType;
        }
        const std::size_t length = std::min<std::size_t>(e->value.size(), 255);
        (*out)[0] = static_cast<unsigned char>(length);
        std::copy_n(e->value.begin(), length, *out + 1);
        return noErr;
    }
    static OSErr getPinnedInteger(PIReadDescriptor token, int32 low, int32 high, int32* out) {
        const OSErr err = getInteger(token, out);
        if (err != noErr || !out) {
            return err;
        }
        const int32 pinned = std::clamp(*out, low, high);
        const bool coerced = pinned != *out;
        *out = pinned;
        return coerced ? coercedParamErr : OSErr{noErr};
    }
    static OSErr getPinnedFloat(PIReadDescriptor token, const double* low, const double* high, double* out) {
        const OSErr err = getFloat(token, out);
        if (err != noErr || !out || !low || !high) {
            return err;
        }
        const double pinned = std::clamp(*out, *low, *high);
        const bool coerced = pinned != *out;
        *out = pinned;
        return coerced ? coercedParamErr : OSErr{noErr};
    }
    static OSErr getPinnedUnitFloat(PIReadDescriptor, const double*, const double*, DescriptorUnitID*, double*) {
        return errWrongType;
    }
};

HostDescriptorSuites::HostDescriptorSuites(Handles handles) : m_handles(std::move(handles)) {
    using C = HostDescriptorCallbacks;
    m_write = WriteDescriptorProcs{0,
                                   kWriteDescriptorProcsCount,
                                   &C::openWrite,
                                   &C::closeWrite,
                                   &C::putInteger,
                                   &C::putFloat,
                                   &C::putUnitFloat,
                                   &C::putBoolean,
                                   &C::putText,
                                   &C::putAlias,
                                   &C::putEnumerated,
                                   &C::putClass,
                                   &C::putReference,
                                   &C::putObject,
                                   &C::putCount,
                                   &C::putString,
                                   &C::putClass,
                                   &C::putObject};
    m_read = ReadDescriptorProcs{0,
                                 kReadDescriptorProcsCount,
                                 &C::openRead,
                                 &C::closeRead,
                                 &C::getKey,
                                 &C::getInteger,
                                 &C::getFloat,
                                 &C::getUnitFloat,
                                 &C::getBoolean,
                                 &C::getText,
                                 &C::getAlias,
                                 &C::getEnumerated,
                                 &C::getClass,
                                 &C::getReference,
                                 &C::getObject,
                                 &C::getCount,
                                 &C::getString,
                                 &C::getPinnedInteger,
                                 &C::getPinnedFloat,
                                 &C::getPinnedUnitFloat};
}

HostDescriptorSuites::~HostDescriptorSuites() = default;

HostDescriptorSuites::Current::Current(HostDescriptorSuites* suites) : m_previous(t_suites) { t_suites = suites; }

HostDescriptorSuites::Current::~Current() { t_suites = m_previous; }

} // namespace morvessan
