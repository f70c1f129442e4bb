// Our declarations of the host's filter plug-in interface: the record the host
// hands to every call, its callback tables, selectors and result codes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace morvessan {

using int16 = std::int16_t;
using uint16 = std::uint16_t;
using int32 = std::int32_t;
using uint32 = std::uint32_t;
using int64 = std::int64_t;
using Boolean = unsigned char;
using OSErr = int16;
using OSType = uint32;
using ResType = uint32;
using Fixed = int32;
using Ptr = char*;
using Handle = char**;

inline constexpr Fixed kFixedOne = 0x00010000;

struct Point {
    int16 v;
    int16 h;
};

struct Rect {
    int16 top;
    int16 left;
    int16 bottom;
    int16 right;
};

struct VPoint {
    int32 v;
    int32 h;
};

struct VRect {
    int32 top;
    int32 left;
    int32 bottom;
    int32 right;
};

struct PSRGBColor {
    uint16 red;
    uint16 green;
    uint16 blue;
};

using FilterColor = unsigned char[4];
using Str255 = unsigned char[256];

struct PlugInMonitor {
    Fixed gamma;
    Fixed redX, redY;
    Fixed greenX, greenY;
    Fixed blueX, blueY;
    Fixed whiteX, whiteY;
    Fixed ambient;
};

struct PlatformData {
    std::intptr_t hwnd;
};

// Selectors of PluginMain.
enum : int16 {
    filterSelectorAbout = 0,
    filterSelectorParameters = 1,
    filterSelectorPrepare = 2,
    filterSelectorStart = 3,
    filterSelectorContinue = 4,
    filterSelectorFinish = 5,
};

// Result codes.
enum : int16 {
    noErr = 0,
    userCanceledErr = -128,
    memFullErr = -108,
    paramErr = -50,
    filterBadParameters = -30100,
    filterBadMode = -30101,
    errReportString = -30904,
    errPlugInPropertyUndefined = -30901, // the host has no such property
};

// imageMode values: the only mode this driver renders is RGB (8 bits a channel
// when depth says so, or when an older host leaves depth at zero).
enum : int16 {
    plugInModeRGBColor = 3,
};

// playInfo values of the descriptor parameters.
enum : int16 {
    plugInDialogDontDisplay = 0,
    plugInDialogDisplay = 1,
    plugInDialogSilent = 2,
};

// Colour services: selector 0 chooses a colour; space 0 is RGB.
enum : int16 {
    plugIncolorServicesChooseColor = 0,
    plugIncolorServicesRGBSpace = 0,
};

// Opaque structures we only pass around.
struct ImageServicesProcs;
struct ChannelPortProcs;
struct ReadImageDocumentDesc;
struct SPBasicSuite;
struct ReadDescriptorProcs;
struct WriteDescriptorProcs;

extern "C" {
using TestAbortProc = Boolean (*)();
using ProgressProc = void (*)(int32 done, int32 total);
using HostProc = void (*)(int16 selector, std::intptr_t* data);
using ProcessEventProc = void (*)(void* event);
using DisplayPixelsProc = OSErr (*)(const void* source, const VRect* srcRect, int32 dstRow, int32 dstCol,
                                    void* platformContext);
using AdvanceStateProc = OSErr (*)();
using GetPropertyProc = OSErr (*)(OSType signature, OSType key, int32 index, std::intptr_t* simpleProperty,
                                  Handle* complexProperty);
using SetPropertyProc = OSErr (*)(OSType signature, OSType key, int32 index, std::intptr_t simpleProperty,
                                  Handle complexProperty);

using NewPIHandleProc = Handle (*)(int32 size);
using DisposePIHandleProc = void (*)(Handle handle);
using GetPIHandleSizeProc = int32 (*)(Handle handle);
using SetPIHandleSizeProc = OSErr (*)(Handle handle, int32 size);
using LockPIHandleProc = Ptr (*)(Handle handle, Boolean moveHigh);
using UnlockPIHandleProc = void (*)(Handle handle);
using RecoverSpaceProc = void (*)(int32 size);
using DisposeRegularHandleProc = void (*)(Handle handle);

using AllocateBufferProc = OSErr (*)(int32 size, void** bufferID);
using LockBufferProc = Ptr (*)(void* bufferID, Boolean moveHigh);
using UnlockBufferProc = void (*)(void* bufferID);
using FreeBufferProc = void (*)(void* bufferID);
using BufferSpaceProc = int32 (*)();
using ReserveBufferSpaceProc = void (*)(int32 size);
using AllocateBufferProc64 = OSErr (*)(int64 size, void** bufferID);
using BufferSpaceProc64 = int64 (*)();

using CountPIResourcesProc = int16 (*)(ResType type);
using GetPIResourceProc = Handle (*)(ResType type, int16 index);
using DeletePIResourceProc = void (*)(ResType type, int16 index);
using AddPIResourceProc = OSErr (*)(ResType type, Handle data);
}

struct HandleProcs {
    int16 handleProcsVersion;
    int16 numHandleProcs;
    NewPIHandleProc newProc;
    DisposePIHandleProc disposeProc;
    GetPIHandleSizeProc getSizeProc;
    SetPIHandleSizeProc setSizeProc;
    LockPIHandleProc lockProc;
    UnlockPIHandleProc unlockProc;
    RecoverSpaceProc recoverSpaceProc;
    DisposeRegularHandleProc disposeRegularHandleProc;
};

struct BufferProcs {
    int16 bufferProcsVersion;
    int16 numBufferProcs;
    AllocateBufferProc allocateProc;
    LockBufferProc lockProc;
    UnlockBufferProc unlockProc;
    FreeBufferProc freeProc;
    BufferSpaceProc spaceProc;
    ReserveBufferSpaceProc reserveProc;
    AllocateBufferProc64 allocateProc64;
    BufferSpaceProc64 spaceProc64;
};

struct ResourceProcs {
    int16 resourceProcsVersion;
    int16 numResourceProcs;
    CountPIResourcesProc countProc;
    GetPIResourceProc getProc;
    DeletePIResourceProc deleteProc;
    AddPIResourceProc addProc;
};

struct PropertyProcs {
    int16 propertyProcsVersion;
    int16 numPropertyProcs;
    GetPropertyProc getPropertyProc;
    SetPropertyProc setPropertyProc;
};

struct PIDescriptorParameters {
    int16 descriptorParametersVersion;
    int16 playInfo;
    int16 recordInfo;
    Handle descriptor;
    WriteDescriptorProcs* writeDescriptorProcs;
    ReadDescriptorProcs* readDescriptorProcs;
};

struct ColorServicesInfo {
    int32 infoSize;
    int16 selector;
    int16 sourceSpace;
    int16 resultSpace;
    Boolean resultGamutInfoValid;
    Boolean resultInGamut;
    void* reservedSourceSpaceInfo;
    void* reservedResultSpaceInfo;
    int16 colorComponents[4];
    void* reserved;
    union {
        Str255* pickerPrompt;
        Point* globalSamplePoint;
        int32 specialColorID;
    } selectorParameter;
};

extern "C" {
using ColorServicesProc = OSErr (*)(ColorServicesInfo* info);
}

struct AboutRecord {
    void* platformData;
    SPBasicSuite* sSPBasic;
    void* plugInRef;
    char reserved[244];
};

#pragma pack(push, 4)

// The 32-bit coordinates a host offers beside the record's 16-bit ones. A plug-in
// that reads them sets PluginUsing32BitCoordinates to 1 in every selector that
// touches rectangles; the host then serves the in, out and mask rectangles it
// finds here, and the 16-bit ones only hold them clamped.
struct BigDocumentStruct {
    int32 PluginUsing32BitCoordinates;
    VPoint imageSize32;
    VRect filterRect32;
    VRect inRect32;
    VRect outRect32;
    VRect maskRect32;
    VPoint floatCoord32;
    VPoint wholeSize32;
};

struct FilterRecord {
    int32 serialNumber;
    TestAbortProc abortProc;
    ProgressProc progressProc;
    Handle parameters;
    Point imageSize;
    int16 planes;
    Rect filterRect;
    PSRGBColor background;
    PSRGBColor foreground;
    int32 maxSpace;
    int32 bufferSpace;
    Rect inRect;
    int16 inLoPlane;
    int16 inHiPlane;
    Rect outRect;
    int16 outLoPlane;
    int16 outHiPlane;
    void* inData;
    int32 inRowBytes;
    void* outData;
    int32 outRowBytes;
    Boolean isFloating;
    Boolean haveMask;
    Boolean autoMask;
    Rect maskRect;
    void* maskData;
    int32 maskRowBytes;
    FilterColor backColor;
    FilterColor foreColor;
    OSType hostSig;
    HostProc hostProc;
    int16 imageMode;
    Fixed imageHRes;
    Fixed imageVRes;
    Point floatCoord;
    Point wholeSize;
    PlugInMonitor monitor;
    void* platformData;
    BufferProcs* bufferProcs;
    ResourceProcs* resourceProcs;
    ProcessEventProc processEvent;
    DisplayPixelsProc displayPixels;
    HandleProcs* handleProcs;
    Boolean supportsDummyChannels;
    Boolean supportsAlternateLayouts;
    int16 wantLayout;
    int16 filterCase;
    int16 dummyPlaneValue;
    void* premiereHook;
    AdvanceStateProc advanceState;
    Boolean supportsAbsolute;
    Boolean wantsAbsolute;
    GetPropertyProc getPropertyObsolete;
    Boolean cannotUndo;
    Boolean supportsPadding;
    int16 inputPadding;
    int16 outputPadding;
    int16 maskPadding;
    char samplingSupport;
    char reservedByte;
    Fixed inputRate;
    Fixed maskRate;
    ColorServicesProc colorServices;
    int16 inLayerPlanes;
    int16 inTransparencyMask;
    int16 inLayerMasks;
    int16 inInvertedLayerMasks;
    int16 inNonLayerPlanes;
    int16 outLayerPlanes;
    int16 outTransparencyMask;
    int16 outLayerMasks;
    int16 outInvertedLayerMasks;
    int16 outNonLayerPlanes;
    int16 absLayerPlanes;
    int16 absTransparencyMask;
    int16 absLayerMasks;
    int16 absInvertedLayerMasks;
    int16 absNonLayerPlanes;
    int16 inPreDummyPlanes;
    int16 inPostDummyPlanes;
    int16 outPreDummyPlanes;
    int16 outPostDummyPlanes;
    int32 inColumnBytes;
    int32 inPlaneBytes;
    int32 outColumnBytes;
    int32 outPlaneBytes;
    ImageServicesProcs* imageServicesProcs;
    PropertyProcs* propertyProcs;
    int16 inTileHeight;
    int16 inTileWidth;
    Point inTileOrigin;
    int16 absTileHeight;
    int16 absTileWidth;
    Point absTileOrigin;
    int16 outTileHeight;
    int16 outTileWidth;
    Point outTileOrigin;
    int16 maskTileHeight;
    int16 maskTileWidth;
    Point maskTileOrigin;
    PIDescriptorParameters* descriptorParameters;
    Str255* errorString;
    ChannelPortProcs* channelPortProcs;
    ReadImageDocumentDesc* documentInfo;
    SPBasicSuite* sSPBasic;
    void* plugInRef;
    int32 depth;
    Handle iCCprofileData;
    int32 iCCprofileSize;
    int32 canUseICCProfiles;
    int32 hasImageScrap;
    BigDocumentStruct* bigDocumentData;
    PIDescriptorParameters* input3DScene;
    PIDescriptorParameters* output3DScene;
    Boolean createNewLayer;
    Handle iCCWorkingProfileData;
    int32 iCCWorkingProfileSize;
    int64 bufferSpace64;
    int64 maxSpace64;
    Boolean allowOverrangeColors;
    char reserved[45];
};

#pragma pack(pop)

// The layout real hosts use, checked for the pointer width being built.
#define MORVESSAN_CHECK_OFFSET(field, w32, w64) \
    static_assert(offsetof(FilterRecord, field) == (sizeof(void*) == 8 ? (w64) : (w32)))
static_assert(sizeof(void*) == 8 || sizeof(void*) == 4);
static_assert(sizeof(FilterRecord) == (sizeof(void*) == 8 ? 608 : 488));
MORVESSAN_CHECK_OFFSET(abortProc, 4, 4);
MORVESSAN_CHECK_OFFSET(progressProc, 8, 12);
MORVESSAN_CHECK_OFFSET(parameters, 12, 20);
MORVESSAN_CHECK_OFFSET(filterRect, 22, 34);
MORVESSAN_CHECK_OFFSET(inRect, 52, 64);
MORVESSAN_CHECK_OFFSET(outRect, 64, 76);
MORVESSAN_CHECK_OFFSET(inData, 76, 88);
MORVESSAN_CHECK_OFFSET(inRowBytes, 80, 96);
MORVESSAN_CHECK_OFFSET(outData, 84, 100);
MORVESSAN_CHECK_OFFSET(outRowBytes, 88, 108);
MORVESSAN_CHECK_OFFSET(haveMask, 93, 113);
MORVESSAN_CHECK_OFFSET(autoMask, 94, 114);
MORVESSAN_CHECK_OFFSET(maskRect, 96, 116);
MORVESSAN_CHECK_OFFSET(maskData, 104, 124);
MORVESSAN_CHECK_OFFSET(maskRowBytes, 108, 132);
MORVESSAN_CHECK_OFFSET(hostProc, 124, 148);
MORVESSAN_CHECK_OFFSET(imageHRes, 132, 160);
MORVESSAN_CHECK_OFFSET(wholeSize, 144, 172);
MORVESSAN_CHECK_OFFSET(monitor, 148, 176);
MORVESSAN_CHECK_OFFSET(platformData, 188, 216);
MORVESSAN_CHECK_OFFSET(handleProcs, 208, 256);
MORVESSAN_CHECK_OFFSET(premiereHook, 220, 272);
MORVESSAN_CHECK_OFFSET(advanceState, 224, 280);
MORVESSAN_CHECK_OFFSET(getPropertyObsolete, 232, 292);
MORVESSAN_CHECK_OFFSET(inputRate, 248, 312);
MORVESSAN_CHECK_OFFSET(maskRate, 252, 316);
MORVESSAN_CHECK_OFFSET(colorServices, 256, 320);
MORVESSAN_CHECK_OFFSET(inColumnBytes, 300, 368);
MORVESSAN_CHECK_OFFSET(imageServicesProcs, 316, 384);
MORVESSAN_CHECK_OFFSET(inTileHeight, 324, 400);
MORVESSAN_CHECK_OFFSET(maskTileOrigin, 352, 428);
MORVESSAN_CHECK_OFFSET(descriptorParameters, 356, 432);
MORVESSAN_CHECK_OFFSET(errorString, 360, 440);
MORVESSAN_CHECK_OFFSET(depth, 380, 480);
MORVESSAN_CHECK_OFFSET(iCCprofileData, 384, 484);
MORVESSAN_CHECK_OFFSET(bigDocumentData, 400, 504);
MORVESSAN_CHECK_OFFSET(createNewLayer, 412, 528);
MORVESSAN_CHECK_OFFSET(iCCWorkingProfileData, 416, 532);
MORVESSAN_CHECK_OFFSET(bufferSpace64, 424, 544);
MORVESSAN_CHECK_OFFSET(allowOverrangeColors, 440, 560);
MORVESSAN_CHECK_OFFSET(reserved, 441, 561);
#undef MORVESSAN_CHECK_OFFSET

static_assert(sizeof(BigDocumentStruct) == 92);
static_assert(offsetof(BigDocumentStruct, imageSize32) == 4);
static_assert(offsetof(BigDocumentStruct, filterRect32) == 12);
static_assert(offsetof(BigDocumentStruct, inRect32) == 28);
static_assert(offsetof(BigDocumentStruct, outRect32) == 44);
static_assert(offsetof(BigDocumentStruct, maskRect32) == 60);
static_assert(offsetof(BigDocumentStruct, floatCoord32) == 76);
static_assert(offsetof(BigDocumentStruct, wholeSize32) == 84);

static_assert(sizeof(HandleProcs) == (sizeof(void*) == 8 ? 72 : 36));
static_assert(offsetof(HandleProcs, newProc) == sizeof(void*));
static_assert(offsetof(HandleProcs, unlockProc) == 6 * sizeof(void*));
static_assert(sizeof(BufferProcs) == (sizeof(void*) == 8 ? 72 : 36));
static_assert(sizeof(ResourceProcs) == (sizeof(void*) == 8 ? 40 : 20));
static_assert(sizeof(PropertyProcs) == (sizeof(void*) == 8 ? 24 : 12));
static_assert(sizeof(PIDescriptorParameters) == (sizeof(void*) == 8 ? 32 : 20));
static_assert(offsetof(PIDescriptorParameters, playInfo) == 2);
static_assert(offsetof(PIDescriptorParameters, descriptor) == (sizeof(void*) == 8 ? 8 : 8));
static_assert(offsetof(PIDescriptorParameters, readDescriptorProcs) == (sizeof(void*) == 8 ? 24 : 16));
static_assert(sizeof(ColorServicesInfo) == (sizeof(void*) == 8 ? 56 : 36));
static_assert(offsetof(ColorServicesInfo, colorComponents) == (sizeof(void*) == 8 ? 32 : 20));
static_assert(offsetof(ColorServicesInfo, selectorParameter) == (sizeof(void*) == 8 ? 48 : 32));
static_assert(sizeof(AboutRecord) == (sizeof(void*) == 8 ? 272 : 256));

} // namespace morvessan
