// SPDX-License-Identifier: MIT
// Template 142: one motor's panel, its label over its trackbar.
#include "resources/resource_ids.h"
#include "resources/templates.h"

namespace kestrova::res {

namespace {

constexpr ControlTemplate kControls[] = {
    {id::kPanelLabel, Kind::Label, "Motor", 0, 3, 32, 8, kCentred},
    {id::kPanelTrackbar, Kind::Trackbar, "", 3, 13, 29, 6, kNoTicks | kTabStop},
};

}  // namespace

extern const DialogTemplate motorPanelDialog = {id::kMotorPanelDialog, "", 35,       22,
                                                "@MS PGothic",         10, kControls};

}  // namespace kestrova::res
