// SPDX-License-Identifier: MIT
// Template 140: the Setup dialog.
#include "resources/resource_ids.h"
#include "resources/templates.h"
#include "src/serial/port_devices.h"

namespace kestrova::res {

namespace {

constexpr std::string_view kBauds[] = {"1200", "2400", "4800", "9600", "14400", "19200"};

constexpr ControlTemplate kControls[] = {
    {id::kOk, Kind::DefPushButton, "OK", 9, 57, 50, 14, kTabStop},
    {id::kCancel, Kind::PushButton, "Cancel", 64, 57, 50, 14, kTabStop},
    {kNoId, Kind::Label, "PORT", 32, 14, 20, 8},
    {kNoId, Kind::Label, "BAUD", 32, 34, 19, 8},
    {id::kPortCombo, Kind::DropList, "", 58, 11, 33, 69, kVScroll | kTabStop, kPortChoiceNames},
    {id::kBaudCombo, Kind::DropList, "", 58, 32, 33, 69, kVScroll | kTabStop, kBauds},
};

}  // namespace

extern const DialogTemplate setupDialog = {id::kSetupDialog, "Setup", 123,      81,
                                           "@MS PGothic",    10,      kControls};

}  // namespace kestrova::res
