// The host's descriptor suites, written from the published interface: how a
// filter writes its settings for a recorded action and reads them back on replay.
#pragma once

#include "plugin/HostInterface.h"

#include <cstddef>

namespace morvessan {

using DescriptorKeyID = std::uint32_t;
using DescriptorTypeID = std::uint32_t;
using DescriptorUnitID = std::uint32_t;
using DescriptorEnumID = std::uint32_t;
using DescriptorClassID = std::uint32_t;
using PIWriteDescriptor = void*;
using PIReadDescriptor = void*;
using PIDescriptorHandle = Handle;

// Value types a descriptor entry carries.
inline constexpr DescriptorTypeID typeInteger = 0x6C6F6E67; // 'long'
inline constexpr DescriptorTypeID typeFloat = 0x646F7562;   // 'doub'
inline constexpr DescriptorTypeID typeBoolean = 0x626F6F6C; // 'bool'
inline constexpr DescriptorTypeID typeChar = 0x54455854;    // 'TEXT'
inline constexpr DescriptorTypeID typeNull = 0x6E756C6C;    // 'null'

// recordInfo: what the host is told about the dialog when it replays.
enum : int16 {
    plugInDialogOptional = 0,
    plugInDialogRequired = 1,
    plugInDialogNone = 2,
};

// Read errors a host may report for one entry: the plug-in goes on with the next.
inline constexpr OSErr errMissingParameter = -1715;
inline constexpr OSErr errWrongType = -1703; // the entry is of another type
inline constexpr OSErr coercedParamErr = 2;  // the value was changed to fit

struct PIDescriptorSimpleReference;

extern "C" {
using OpenWriteDescriptorProc = PIWriteDescriptor (*)();
using CloseWriteDescriptorProc = OSErr (*)(PIWriteDescriptor, PIDescriptorHandle*);
using PutIntegerProc = OSErr (*)(PIWriteDescriptor, DescriptorKeyID, int32);
using PutFloatProc = OSErr (*)(PIWriteDescriptor, DescriptorKeyID, const double*);
using PutUnitFloatProc = OSErr (*)(PIWriteDescriptor, DescriptorKeyID, DescriptorUnitID, const double*);
using PutBooleanProc = OSErr (*)(PIWriteDescriptor, DescriptorKeyID, Boolean);
using PutTextProc = OSErr (*)(PIWriteDescriptor, DescriptorKeyID, Handle);
using PutAliasProc = OSErr (*)(PIWriteDescriptor, DescriptorKeyID, Handle);
using PutEnumeratedProc = OSErr (*)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID, DescriptorEnumID);
using PutClassProc = OSErr (*)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID);
using PutSimpleReferenceProc = OSErr (*)(PIWriteDescriptor, DescriptorKeyID, const PIDescriptorSimpleReference*);
using PutObjectProc = OSErr (*)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID, PIDescriptorHandle);
using PutCountProc = OSErr (*)(PIWriteDescriptor, DescriptorKeyID, uint32);
using PutStringProc = OSErr (*)(PIWriteDescriptor, DescriptorKeyID, const unsigned char*);
using PutScopedClassProc = OSErr (*)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID);
using PutScopedObjectProc = OSErr (*)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID, PIDescriptorHandle);

using OpenReadDescriptorProc = PIReadDescriptor (*)(PIDescriptorHandle, DescriptorKeyID*);
using CloseReadDescriptorProc = OSErr (*)(PIReadDescriptor);
using GetKeyProc = Boolean (*)(PIReadDescriptor, DescriptorKeyID*, DescriptorTypeID*, int32*);
using GetIntegerProc = OSErr (*)(PIReadDescriptor, int32*);
using GetFloatProc = OSErr (*)(PIReadDescriptor, double*);
using GetUnitFloatProc = OSErr (*)(PIReadDescriptor, DescriptorUnitID*, double*);
using GetBooleanProc = OSErr (*)(PIReadDescriptor, Boolean*);
using GetTextProc = OSErr (*)(PIReadDescriptor, Handle*);
using GetAliasProc = OSErr (*)(PIReadDescriptor, Handle*);
using GetEnumeratedProc = OSErr (*)(PIReadDescriptor, DescriptorEnumID*);
using GetClassProc = OSErr (*)(PIReadDescriptor, DescriptorTypeID*);
using GetSimpleReferenceProc = OSErr (*)(PIReadDescriptor, PIDescriptorSimpleReference*);
using GetObjectProc = OSErr (*)(PIReadDescriptor, DescriptorTypeID*, PIDescriptorHandle*);
using GetCountProc = OSErr (*)(PIReadDescriptor, uint32*);
using GetStringProc = OSErr (*)(PIReadDescriptor, unsigned char (*)[256]);
using GetPinnedIntegerProc = OSErr (*)(PIReadDescriptor, int32, int32, int32*);
using GetPinnedFloatProc = OSErr (*)(PIReadDescriptor, const double*, const double*, double*);
using GetPinnedUnitFloatProc = OSErr (*)(PIReadDescriptor, const double*, const double*, DescriptorUnitID*, double*);
}

struct WriteDescriptorProcs {
    int16 writeDescriptorProcsVersion;
    int16 numWriteDescriptorProcs;
    OpenWriteDescriptorProc openWriteDescriptorProc;
    CloseWriteDescriptorProc closeWriteDescriptorProc;
    PutIntegerProc putIntegerProc;
    PutFloatProc putFloatProc;
    PutUnitFloatProc putUnitFloatProc;
    PutBooleanProc putBooleanProc;
    PutTextProc putTextProc;
    PutAliasProc putAliasProc;
    PutEnumeratedProc putEnumeratedProc;
    PutClassProc putClassProc;
    PutSimpleReferenceProc putSimpleReferenceProc;
    PutObjectProc putObjectProc;
    PutCountProc putCountProc;
    PutStringProc putStringProc;
    PutScopedClassProc putScopedClassProc;
    PutScopedObjectProc putScopedObjectProc;
};

struct ReadDescriptorProcs {
    int16 readDescriptorProcsVersion;
    int16 numReadDescriptorProcs;
    OpenReadDescriptorProc openReadDescriptorProc;
    CloseReadDescriptorProc closeReadDescriptorProc;
    GetKeyProc getKeyProc;
    GetIntegerProc getIntegerProc;
    GetFloatProc getFloatProc;
    GetUnitFloatProc getUnitFloatProc;
    GetBooleanProc getBooleanProc;
    GetTextProc getTextProc;
    GetAliasProc getAliasProc;
    GetEnumeratedProc getEnumeratedProc;
    GetClassProc getClassProc;
    GetSimpleReferenceProc getSimpleReferenceProc;
    GetObjectProc getObjectProc;
    GetCountProc getCountProc;
    GetStringProc getStringProc;
    GetPinnedIntegerProc getPinnedIntegerProc;
    GetPinnedFloatProc getPinnedFloatProc;
    GetPinnedUnitFloatProc getPinnedUnitFloatProc;
};

inline constexpr int16 kWriteDescriptorProcsCount = 16;
inline constexpr int16 kReadDescriptorProcsCount = 18;

static_assert(sizeof(WriteDescriptorProcs) == 4 + (sizeof(void*) == 8 ? 4 : 0) + 16 * sizeof(void*));
static_assert(offsetof(WriteDescriptorProcs, openWriteDescriptorProc) == sizeof(void*));
static_assert(offsetof(WriteDescriptorProcs, putTextProc) == 7 * sizeof(void*));
static_assert(sizeof(ReadDescriptorProcs) == 4 + (sizeof(void*) == 8 ? 4 : 0) + 18 * sizeof(void*));
static_assert(offsetof(ReadDescriptorProcs, getKeyProc) == 3 * sizeof(void*));
static_assert(offsetof(ReadDescriptorProcs, getTextProc) == 8 * sizeof(void*));

} // namespace morvessan
