// The Colours page (gradient) without its window: the stops, the selected stop's
// colour well and opacity, the buttons' enabled states, the colour dialog and the dropper.
#pragma once

#include "dialog/PSMorvessanChange.h"
#include "texture/GradientStops.h"

#include <cstdint>
#include <optional>

namespace morvessan {

class PSMorvessanBlockSession;
class PSMorvessanDialogServices;

class PSMorvessanAdvancedColourChildModel {
public:
    static constexpr const char* kAddTip = "Add New Colour";
    static constexpr const char* kRemoveTip = "Remove Selected Colour";
    static constexpr const char* kReverseTip = "Reverse Gradient";
    static constexpr const char* kEditTip = "Edit Selected Colour";

    PSMorvessanAdvancedColourChildModel(PSMorvessanBlockSession& block, PSMorvessanDialogServices& services);

    // Takes the stops from the block again (stop 0 selected).
    unsigned refresh();

    const GradientStops& stops() const { return m_stops; }
    int selectedStop() const { return m_stops.selected(); }
    // What the well shows (0x00BBGGRR): the selected stop's colour, or the
    // colour under the dropper while it hovers over a preview.
    std::uint32_t wellColour() const;
    // The "Opacity" slider: the selected stop's alpha, 0..255.
    int opacity() const { return static_cast<int>(m_stops.colour(m_stops.selected()) >> 24); }
    bool canAdd() const { return m_stops.count() < kMaxColourStops; }
    bool canRemove() const { return m_stops.count() > 1; }

    // Each edit writes every stop back into the block.
    unsigned add();
    unsigned remove();
    unsigned reverse();
    unsigned moveSelected(int position);
    unsigned setOpacity(int alpha);
    // Selecting moves the slider and the well; the block is not touched.
    unsigned select(int index);
    // A new colour (0x00BBGGRR) for the selected stop; its opacity stays.
    unsigned setSelectedColour(std::uint32_t colour);
    // "&Edit": the plug-in's colour dialog on the selected stop's colour.
    unsigned edit();

    // The dropper over a preview shows the colour under it in the well; the
    // release takes it, a cancel brings the well back.
    unsigned dropperHover(std::uint32_t colour);
    unsigned dropperRelease(std::uint32_t colour);
    unsigned dropperCancel();

private:
    unsigned store();

    PSMorvessanBlockSession& m_block;
    PSMorvessanDialogServices& m_services;
    GradientStops m_stops;
    std::optional<std::uint32_t> m_hover;
};

} // namespace morvessan
