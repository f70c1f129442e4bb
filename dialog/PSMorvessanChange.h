// What a dialog model operation changed, as bits, so that a window's handler
// refreshes only those controls and renders the preview at most once.
#pragma once

namespace morvessan {

enum PSMorvessanChange : unsigned {
    kChangeNothing = 0,
    // The texture changed: call the main dialog model's refreshPreview() (which
    // renders the output proxy), repaint "Preview Image" and set the opacity slider.
    kChangePreview = 1u << 0,
    // Repaint "Original Image" (its proxy was rebuilt by the filter).
    kChangeSourcePreview = 1u << 1,
    // Enabled states of the zoom buttons, the locator, "Overwrite source" and
    // the page's own buttons, sliders and lists.
    kChangeEnabledStates = 1u << 2,
    // Repaint the zoom ratio text.
    kChangeRatio = 1u << 3,
    // Refill the page's preset file list, category list or preset list.
    kChangeFileList = 1u << 4,
    kChangeCategoryList = 1u << 5,
    kChangePresetList = 1u << 6,
    // Reload the controls of the customise page's three sub-pages.
    kChangeSubPages = 1u << 7,
    // Show or hide the Elements page's type-dependent fields.
    kChangeFieldVisibility = 1u << 8,
    // Repaint the turbulence spectrum.
    kChangeSpectrum = 1u << 9,
    // Repaint the gradient strip, the colour well and the stop opacity slider.
    kChangeStops = 1u << 10,
    // Reload the texture picker's items or selection.
    kChangeTextureList = 1u << 11,
    // Repaint "Preview Image" only: its proxy is already up to date.
    kChangeOutputPreview = 1u << 12,
    // Which page is visible, and the switch button's caption.
    kChangePages = 1u << 13,
    // Reload the page's own boxes, sliders and check boxes from the model.
    kChangeFields = 1u << 14,
    // The colour picker: repaint the custom colour wells and which one is selected.
    kChangeCustomWells = 1u << 15,
    // The colour picker's panel: draw its picture of colours again (and its marker),
    // or only move its marker over the picture it has.
    kChangePanel = 1u << 16,
    kChangePanelMarker = 1u << 17,
    // The colour picker's slider, likewise.
    kChangeSlider = 1u << 18,
    kChangeSliderMarker = 1u << 19,
    // The colour picker's style list and which of its two options are offered.
    kChangePickerStyle = 1u << 20,
};

// Both previews and the ratio after the filter rebuilt every proxy (zoom, locator).
inline constexpr unsigned kChangeAllPreviews =
    kChangeSourcePreview | kChangeOutputPreview | kChangeRatio | kChangeEnabledStates;

// A new colour in the picker: its fields and well (kChangeFields), panel and slider.
inline constexpr unsigned kChangePickerColour = kChangeFields | kChangePanel | kChangeSlider;

} // namespace morvessan
