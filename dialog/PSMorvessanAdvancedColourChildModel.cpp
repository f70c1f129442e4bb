// Gradient edits on the Colours page, each stored whole into the parameter block.
#include "dialog/PSMorvessanAdvancedColourChildModel.h"

#include "dialog/PSMorvessanBlockSession.h"
#include "dialog/PSMorvessanDialogServices.h"
#include "texture/FilterParameters.h"

#include <algorithm>

namespace morvessan {

namespace {

constexpr std::uint32_t kRgbMask = 0x00FFFFFFu;

} // namespace

PSMorvessanAdvancedColourChildModel::PSMorvessanAdvancedColourChildModel(PSMorvessanBlockSession& block,
                                                                         PSMorvessanDialogServices& services)
    : m_block(block), m_services(services) {
    refresh();
}

unsigned PSMorvessanAdvancedColourChildModel::refresh() {
    m_hover.reset();
    if (const FilterParameters* block = m_block.GetParameters()) {
        m_stops = GradientStops::fromFields(block->texture);
    }
    return kChangeStops | kChangeEnabledStates;
}

std::uint32_t PSMorvessanAdvancedColourChildModel::wellColour() const {
    return m_hover ? *m_hover : m_stops.colour(m_stops.selected()) & kRgbMask;
}

unsigned PSMorvessanAdvancedColourChildModel::store() {
    if (FilterParameters* block = m_block.GetParameters()) {
        m_stops.storeInFields(block->texture);
    }
    return kChangePreview | kChangeStops | kChangeEnabledStates;
}

unsigned PSMorvessanAdvancedColourChildModel::add() { return m_stops.addStop() ? store() : kChangeNothing; }

unsigned PSMorvessanAdvancedColourChildModel::remove() { return m_stops.removeStop() ? store() : kChangeNothing; }

unsigned PSMorvessanAdvancedColourChildModel::reverse() {
    m_stops.reverseGradient();
    return store();
}

unsigned PSMorvessanAdvancedColourChildModel::moveSelected(int position) {
    m_stops.moveStop(position);
    return store();
}

unsigned PSMorvessanAdvancedColourChildModel::setOpacity(int alpha) {
    const std::uint32_t a = static_cast<std::uint32_t>(std::clamp(alpha, 0, 255));
    m_stops.setSelectedColour((m_stops.colour(m_stops.selected()) & kRgbMask) | a << 24);
    return store();
}

unsigned PSMorvessanAdvancedColourChildModel::select(int index) {
    return m_stops.selectStop(index) ? kChangeStops : kChangeNothing;
}

unsigned PSMorvessanAdvancedColourChildModel::setSelectedColour(std::uint32_t colour) {
    m_hover.reset();
    const std::uint32_t alpha = m_stops.colour(m_stops.selected()) & ~kRgbMask;
    m_stops.setSelectedColour((colour & kRgbMask) | alpha);
    return store();
}

unsigned PSMorvessanAdvancedColourChildModel::edit() {
    std::uint32_t colour = m_stops.colour(m_stops.selected()) & kRgbMask;
    return m_services.ChooseColour(colour) ? setSelectedColour(colour) : kChangeNothing;
}

unsigned PSMorvessanAdvancedColourChildModel::dropperHover(std::uint32_t colour) {
    m_hover = colour & kRgbMask;
    return kChangeStops;
}

unsigned PSMorvessanAdvancedColourChildModel::dropperRelease(std::uint32_t colour) { return setSelectedColour(colour); }

unsigned PSMorvessanAdvancedColourChildModel::dropperCancel() {
    m_hover.reset();
    return kChangeStops;
}

} // namespace morvessan
