// SPDX-License-Identifier: MIT
// Template 102: the main window.
#include <array>
#include <cstddef>

#include "resources/resource_ids.h"
#include "resources/templates.h"
#include "src/model/page_record.h"

namespace kestrova::res {

namespace {

constexpr std::uint32_t kNumberEdit = kBorder | kCentred | kDigitsOnly | kReadOnly | kTabStop;

constexpr std::string_view kMotorNumbers[] = {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",
                                              "9",  "10", "11", "12", "13", "14", "15", "16",
                                              "17", "18", "19", "20", "21", "22"};

constexpr std::string_view kStepItems[] = {"0", "1", "2", "3", "4", "5", "6", "7"};
constexpr std::string_view kPageNumItems[] = {"0",  "1",  "2",  "3",  "4",  "5",  "6",
                                              "7",  "8",  "9",  "10", "11", "12", "13",
                                              "14", "15", "16", "17", "18", "19"};
constexpr std::string_view kNextPageItems[] = {"None", "1",  "2",  "3",  "4",  "5",  "6",
                                               "7",    "8",  "9",  "10", "11", "12", "13",
                                               "14",   "15", "16", "17", "18", "19"};

// The lists and labels offer exactly the motors, steps and pages a page holds.
static_assert(std::size(kMotorNumbers) == kMotorCount && std::size(kStepItems) == kStepCount);
static_assert(std::size(kPageNumItems) == kPageCount && std::size(kNextPageItems) == kPageCount);

struct SpinPlace {
    int x, y;
};
constexpr std::array<SpinPlace, kMotorCount> kSpinPlaces{{
    {198, 42},  {197, 53},  {198, 63},  {197, 75},  {197, 88},  {196, 100}, {197, 109}, {196, 122},
    {196, 134}, {195, 146}, {196, 155}, {195, 168}, {195, 181}, {194, 193}, {195, 202}, {194, 214},
    {197, 226}, {196, 237}, {197, 247}, {196, 260}, {196, 273}, {195, 285},
}};

// The fixed controls between the motor labels and the up-downs.
constexpr std::array kMiddle{
    ControlTemplate{kNoId, Kind::GroupBox, "Step edit", 207, 5, 53, 418},
    ControlTemplate{id::kStepCombo, Kind::DropList, "", 235, 17, 21, 52, kTabStop, kStepItems},
    ControlTemplate{kNoId, Kind::Label, "STEP", 214, 21, 19, 8},
    ControlTemplate{id::kGetStep, Kind::PushButton, "Get Step", 216, 386, 37, 14, kTabStop},
    ControlTemplate{id::kSetStep, Kind::PushButton, "Set Step", 216, 368, 37, 13, kTabStop},
    ControlTemplate{kNoId, Kind::GroupBox, "Page Information", 263, 5, 225, 438},
    ControlTemplate{kNoId, Kind::Label, "Page Num", 268, 375, 35, 8},
    ControlTemplate{kNoId, Kind::Label, "Page Name", 343, 375, 39, 8},
    ControlTemplate{kNoId, Kind::Label, "Enable Step", 268, 392, 40, 8},
    ControlTemplate{kNoId, Kind::Label, "Next Page", 343, 393, 35, 8},
    ControlTemplate{kNoId, Kind::Label, "Repeat", 419, 393, 23, 8},
    ControlTemplate{id::kPageNumCombo, Kind::DropList, "", 309, 372, 25, 71, kTabStop,
                    kPageNumItems},
    ControlTemplate{id::kEnableStepCombo, Kind::DropList, "", 309, 390, 25, 65, kTabStop,
                    kStepItems},
    ControlTemplate{id::kNextPageCombo, Kind::DropList, "", 384, 390, 29, 74, kTabStop,
                    kNextPageItems},
    ControlTemplate{id::kPageNameEdit, Kind::Edit, "", 384, 373, 48, 12,
                    kBorder | kCentred | kTabStop},
    ControlTemplate{id::kPlay, Kind::PushButton, "PLAY", 448, 419, 35, 16, kTabStop},
    ControlTemplate{id::kStepTable, Kind::WhiteRect, "", 269, 13, 219, 346},
    ControlTemplate{kNoId, Kind::GroupBox, "To Target", 267, 408, 78, 31},
    ControlTemplate{id::kTargetSave, Kind::PushButton, "Save", 272, 419, 33, 15, kTabStop},
    ControlTemplate{id::kTargetLoad, Kind::PushButton, "Load", 307, 419, 33, 15, kTabStop},
    ControlTemplate{kNoId, Kind::GroupBox, "To PC", 352, 408, 78, 31},
    ControlTemplate{id::kPcSave, Kind::PushButton, "Save", 357, 419, 33, 15, kTabStop},
    ControlTemplate{id::kPcLoad, Kind::PushButton, "Load", 392, 419, 33, 15, kTabStop},
    ControlTemplate{kNoId, Kind::GroupBox, "Motor Position", 7, 5, 197, 402},
    ControlTemplate{id::kPositionLock, Kind::CheckBox, "Position Lock", 80, 394, 59, 10, kTabStop},
    ControlTemplate{id::kLinkToTarget, Kind::CheckBox, "Link to Target", 140, 394, 60, 10,
                    kTabStop},
    ControlTemplate{id::kRepeatCombo, Kind::DropList, "", 448, 391, 29, 54, kTabStop},
    ControlTemplate{id::kOk, Kind::PushButton, "Button1", 57, 420, 50, 15, kHidden | kTabStop},
    ControlTemplate{id::kCancel, Kind::PushButton, "Button2", 133, 416, 43, 21, kHidden | kTabStop},
    ControlTemplate{id::kPictureFrame, Kind::WhiteRect, "", 11, 14, 187, 376},
    ControlTemplate{id::kRobotPicture, Kind::Bitmap, "133", 0, 0, 189, 336, kHidden},
};

constexpr std::array kTail{
    ControlTemplate{id::kAccUpDown, Kind::UpDown, "", 196, 293, 7, 12, kHidden},
    ControlTemplate{id::kRateUpDown, Kind::UpDown, "", 195, 306, 6, 12, kHidden},
    ControlTemplate{id::kResetStep, Kind::PushButton, "Reset", 216, 404, 37, 14, kTabStop},
    ControlTemplate{id::kResetPage, Kind::PushButton, "Reset", 442, 367, 37, 14, kTabStop},
};

constexpr std::size_t kControlCount =
    kMotorCount + 2 + kMotorCount + 2 + kMiddle.size() + kMotorCount + kTail.size();

constexpr std::array<ControlTemplate, kControlCount> makeControls() {
    std::array<ControlTemplate, kControlCount> controls{};
    std::size_t n = 0;
    for (int k = 0; k < static_cast<int>(kMotorCount); ++k) {
        controls[n++] = {id::kMotorEdit0 + k, Kind::Edit, "", 235,
                         31 + 14 * k,         21,         12, kNumberEdit};
    }
    controls[n++] = {id::kAccEdit, Kind::Edit, "", 235, 339, 21, 12, kNumberEdit};
    controls[n++] = {id::kRateEdit, Kind::Edit, "", 235, 353, 21, 12, kNumberEdit};
    for (int k = 0; k < static_cast<int>(kMotorCount); ++k) {
        controls[n++] = {kNoId, Kind::Label, kMotorNumbers[k], 210, 34 + 14 * k, 24, 8, kCentred};
    }
    controls[n++] = {kNoId, Kind::Label, "ACC", 210, 342, 24, 8, kCentred};
    controls[n++] = {kNoId, Kind::Label, "Rate", 210, 356, 24, 8, kCentred};
    for (const ControlTemplate& control : kMiddle) {
        controls[n++] = control;
    }
    for (int k = 0; k < static_cast<int>(kMotorCount); ++k) {
        const int width = k % 2 == 0 ? 7 : 6;
        controls[n++] = {id::kUpDown0 + k, Kind::UpDown, "", kSpinPlaces[k].x,
                         kSpinPlaces[k].y, width,        12, kHidden};
    }
    for (const ControlTemplate& control : kTail) {
        controls[n++] = control;
    }
    return controls;
}

constexpr std::array<ControlTemplate, kControlCount> kControls = makeControls();

}  // namespace

extern const DialogTemplate editorDialog = {id::kEditorDialog, "Kestrova", 491,      452,
                                            "@MS PGothic",     10,         kControls};

}  // namespace kestrova::res
