// A texture field's editor range as the dialogs' sliders and number boxes walk it,
// taken from the field table so that a window never types a range of its own.
#pragma once

#include "dialog/VXValueField.h"
#include "texture/TextureFieldTable.h"

namespace morvessan {

// The field's range and step; one decimal where the step is finer than a whole.
constexpr VXValueRange fieldValueRange(TextureFieldId id) {
    const TextureField& field = textureField(id);
    const double step = field.step > 0 ? field.step : 1.0;
    return VXValueRange{field.low, field.high, step, step < 1.0 ? 1 : 0};
}

} // namespace morvessan
