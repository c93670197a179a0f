// SPDX-License-Identifier: MIT
// Template 100: the About box.
#include "resources/resource_ids.h"
#include "resources/templates.h"

namespace kestrova::res {

namespace {

constexpr ControlTemplate kControls[] = {
    {kNoId, Kind::Icon, "128", 11, 17, 20, 20},
    {kNoId, Kind::Label, "Tandrel 정보 1.0", 40, 10, 119, 8, kNoPrefix},
    {id::kOk, Kind::DefPushButton, "OK", 178, 7, 50, 14, kTabStop},
};

}  // namespace

extern const DialogTemplate aboutDialog = {id::kAboutDialog, "Tandrel 정보", 235, 55, "??", 9,
                                           kControls};

}  // namespace kestrova::res
