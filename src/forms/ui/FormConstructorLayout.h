#pragma once

// What the form constructor page's files share: where its controls stand at
// the smallest size, the preview's font and the slot of a form.

#include <QFont>

#include "config/DeviceConfiguration.h"
#include "forms/FormPreview.h"

namespace FormConstructorLayout {

constexpr int PageWidth = 728;
constexpr int PageHeight = 436;
constexpr int PreviewLeft = 456;
constexpr int PreviewWidth = PreviewLeastWidth;
constexpr int RequisiteGridWidth = 439;

// The preview's fixed-pitch font at `pixels` high.
QFont FixedPitchFont(int pixels = PreviewLeastFontPixels);

// The slot of form `form` (1-based) in the program's configuration.
inline FormSlot& Slot(int form) {
    return CurrentConfiguration().forms[form - 1];
}

}  // namespace FormConstructorLayout
