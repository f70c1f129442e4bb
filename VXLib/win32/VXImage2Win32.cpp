// The Windows side of VXImage2: DIB sections, memory device contexts, drawing and
// the clipboard's global memory block.
#include "VXLib/VXImage2.h"

#include <windows.h>

#include <cstring>
#include <limits>

namespace morvessan {

void VXImage2::releaseDeviceObjects() {
    if (m_memory_dc != nullptr) {
        if (m_old_object != nullptr)
            SelectObject(static_cast<HDC>(m_memory_dc), static_cast<HGDIOBJ>(m_old_object));
        DeleteDC(static_cast<HDC>(m_memory_dc));
    }
    if (m_section != nullptr)
        DeleteObject(static_cast<HGDIOBJ>(m_section));
    m_memory_dc = nullptr;
    m_old_object = nullptr;
    m_section = nullptr;
}

bool VXImage2::createDIBSection(int width, int height, int bitCount, const VXPalette* palette, bool makeDeviceContext) {
    reset();
    // Build the header block in a packed buffer of our own, then move the pixels into
    // the section: the header stays ours, the bits belong to the section.
    VXPalette fallback;
    if (bitCount == 8 && (palette == nullptr || palette->count() == 0)) {
        fallback = VXPalette::defaultPalette();
        palette = &fallback;
    }
    VXDIBBuffer layout;
    if (height == std::numeric_limits<int>::min() || !layout.create(width, -height, bitCount, palette))
        return false;
    const std::uint32_t headerBlock = layout.headerBlockSize();
    VXAutoArrayPtr<std::uint8_t> block(new std::uint8_t[headerBlock]);
    std::memcpy(block.get(), layout.header(), headerBlock);

    HDC screen = GetDC(nullptr);
    void* sectionBits = nullptr;
    HBITMAP section =
        CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(block.get()), DIB_RGB_COLORS, &sectionBits, nullptr, 0);
    HDC memory = nullptr;
    if (section != nullptr && makeDeviceContext)
        memory = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (section == nullptr || sectionBits == nullptr || (makeDeviceContext && memory == nullptr)) {
        if (memory != nullptr)
            DeleteDC(memory);
        if (section != nullptr)
            DeleteObject(section);
        return false;
    }
    adopt(std::move(block), headerBlock, false, static_cast<std::uint8_t*>(sectionBits));
    m_section = section;
    if (memory != nullptr) {
        m_memory_dc = memory;
        m_old_object = SelectObject(memory, section);
    }
    return true;
}

void VXImage2::draw(VXWinHandle dc, const VXRect& destination, const VXRect& source, std::int32_t transparentColour,
                    std::int32_t backgroundColour, int tolerance) {
    (void)transparentColour;
    (void)backgroundColour;
    (void)tolerance;
    if (isEmpty() || dc == nullptr)
        return;
    HDC target = static_cast<HDC>(dc);
    SetStretchBltMode(target, COLORONCOLOR);
    const int sourceHeight = source.bottom - source.top;
    const int sourceY = isTopDown() ? rows() - source.bottom : source.top;
    StretchDIBits(target, destination.left, destination.top, destination.right - destination.left,
                  destination.bottom - destination.top, source.left, sourceY, source.right - source.left, sourceHeight,
                  bits(), reinterpret_cast<const BITMAPINFO*>(header()), DIB_RGB_COLORS, SRCCOPY);
}

VXWinHandle VXImage2::toGlobalMemory(unsigned flags) const {
    const std::vector<std::uint8_t> packed = toPackedBottomUp();
    if (packed.empty())
        return nullptr;
    HGLOBAL memory = GlobalAlloc(flags | GMEM_MOVEABLE, packed.size());
    if (memory == nullptr)
        return nullptr;
    void* p = GlobalLock(memory);
    if (p == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(p, packed.data(), packed.size());
    GlobalUnlock(memory);
    return memory;
}

} // namespace morvessan
