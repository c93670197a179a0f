// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>
#include <cstddef>
#include <optional>

#include "src/model/page_record.h"
#include "src/ui/curves_geometry.h"
#include "src/ui/curves_labels.h"

class QPainter;

namespace kestrova {

// Everything a picture of the curves shows.
struct CurvesScene {
    const PageRecord& page;
    std::size_t step;  // STEP, highlighted
    const CurveChoice& chosen;
    std::optional<CurvePoint> selected;
    const OptionalProfile& profile;
};

// Paints the scene over the whole of a `size` picture, the same on a widget, an image or an
// SVG file: the steps after Enable Step faded and a dashed red line after it, as the step table
// marks it; the STEP column highlighted; the chosen curves in their colours, points outside
// their motor's limits ringed in red; a lone motor's limits shaded.
void paintCurves(QPainter& painter, QSize size, const CurvesScene& scene);

}  // namespace kestrova
