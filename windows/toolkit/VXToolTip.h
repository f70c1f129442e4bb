// VXToolTip: one tooltip window per dialog, with a text per control or per
// rectangle of a control (the captions of a grid that are cut short).
#pragma once

#include <windows.h>

#include <string>

namespace morvessan {

class VXToolTip {
public:
    VXToolTip() = default;
    ~VXToolTip();
    VXToolTip(const VXToolTip&) = delete;
    VXToolTip& operator=(const VXToolTip&) = delete;

    bool create(HWND owner);
    // A tip over the whole of `control`.
    void add(HWND control, const std::string& text);
    // A tip over `rect` (client coordinates of `window`), told apart by `toolId`.
    void addRect(HWND window, UINT_PTR toolId, const RECT& rect, const std::string& text);
    void removeRect(HWND window, UINT_PTR toolId);
    // A tip for every child of `dialog` whose id names a string resource: the text
    // after the string's first line break (controls that have one set already keep it).
    void addFromStrings(HWND dialog);
    // The text of the tip over `control`, empty when there is none.
    std::string text(HWND control) const;
    HWND hwnd() const { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
    HWND m_owner = nullptr;
};

} // namespace morvessan
