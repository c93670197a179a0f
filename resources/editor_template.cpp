// SPDX-License-Identifier: MIT
// Template 102: the main window.
#include <array>
#include <cstddef>

#include "resources/templates.h"

namespace kestrova::res {

namespace {

constexpr std::size_t kMotors = 22;
constexpr std::uint32_t kNumberEdit = kBorder | kCentred | kDigitsOnly | kReadOnly | kTabStop;

constexpr std::array<std::string_view, kMotors> kMotorNumbers{
    "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11",
    "12", "13", "14", "15", "16", "17", "18", "19", "20", "21", "22"};

constexpr std::string_view kStepItems[] = {"0", "1", "2", "3", "4", "5", "6", "7"};
constexpr std::string_view kPageNumItems[] = {"0",  "1",  "2",  "3",  "4",  "5",  "6",
                                              "7",  "8",  "9",  "10", "11", "12", "13",
                                              "14", "15", "16", "17", "18", "19"};
constexpr std::string_view kNextPageItems[] = {"None", "1",  "2",  "3",  "4",  "5",  "6",
                                               "7",    "8",  "9",  "10", "11", "12", "13",
                                               "14",   "15", "16", "17", "18", "19"};

struct SpinPlace {
    int x, y;
};
constexpr std::array<SpinPlace, kMotors> kSpinPlaces{{
    {198, 42},  {197, 53},  {198, 63},  {197, 75},  {197, 88},  {196, 100}, {197, 109}, {196, 122},
    {196, 134}, {195, 146}, {196, 155}, {195, 168}, {195, 181}, {194, 193}, {195, 202}, {194, 214},
    {197, 226}, {196, 237}, {197, 247}, {196, 260}, {196, 273}, {195, 285},
}};

// The fixed controls between the motor labels and the up-downs.
constexpr std::array kMiddle{
    ControlTemplate{kNoId, Kind::GroupBox, "Step edit", 207, 5, 53, 418},
    ControlTemplate{1025, Kind::DropList, "", 235, 17, 21, 52, kTabStop, kStepItems},
    ControlTemplate{kNoId, Kind::Label, "STEP", 214, 21, 19, 8},
    ControlTemplate{1027, Kind::PushButton, "Get Step", 216, 386, 37, 14, kTabStop},
    ControlTemplate{1028, Kind::PushButton, "Set Step", 216, 368, 37, 13, kTabStop},
    ControlTemplate{kNoId, Kind::GroupBox, "Page Information", 263, 5, 225, 438},
    ControlTemplate{kNoId, Kind::Label, "Page Num", 268, 375, 35, 8},
    ControlTemplate{kNoId, Kind::Label, "Page Name", 343, 375, 39, 8},
    ControlTemplate{kNoId, Kind::Label, "Enable Step", 268, 392, 40, 8},
    ControlTemplate{kNoId, Kind::Label, "Next Page", 343, 393, 35, 8},
    ControlTemplate{kNoId, Kind::Label, "Repeat", 419, 393, 23, 8},
    ControlTemplate{1030, Kind::DropList, "", 309, 372, 25, 71, kTabStop, kPageNumItems},
    ControlTemplate{1031, Kind::DropList, "", 309, 390, 25, 65, kTabStop, kStepItems},
    ControlTemplate{1032, Kind::DropList, "", 384, 390, 29, 74, kTabStop, kNextPageItems},
    ControlTemplate{1033, Kind::Edit, "", 384, 373, 48, 12, kBorder | kCentred | kTabStop},
    ControlTemplate{1035, Kind::PushButton, "PLAY", 448, 419, 35, 16, kTabStop},
    ControlTemplate{1043, Kind::WhiteRect, "", 269, 13, 219, 346},
    ControlTemplate{kNoId, Kind::GroupBox, "To Target", 267, 408, 78, 31},
    ControlTemplate{1036, Kind::PushButton, "Save", 272, 419, 33, 15, kTabStop},
    ControlTemplate{1037, Kind::PushButton, "Load", 307, 419, 33, 15, kTabStop},
    ControlTemplate{kNoId, Kind::GroupBox, "To PC", 352, 408, 78, 31},
    ControlTemplate{1038, Kind::PushButton, "Save", 357, 419, 33, 15, kTabStop},
    ControlTemplate{1039, Kind::PushButton, "Load", 392, 419, 33, 15, kTabStop},
    ControlTemplate{kNoId, Kind::GroupBox, "Motor Position", 7, 5, 197, 402},
    ControlTemplate{1040, Kind::CheckBox, "Position Lock", 80, 394, 59, 10, kTabStop},
    ControlTemplate{1041, Kind::CheckBox, "Link to Target", 140, 394, 60, 10, kTabStop},
    ControlTemplate{1046, Kind::DropList, "", 448, 391, 29, 54, kTabStop},
    ControlTemplate{1, Kind::PushButton, "Button1", 57, 420, 50, 15, kHidden | kTabStop},
    ControlTemplate{2, Kind::PushButton, "Button2", 133, 416, 43, 21, kHidden | kTabStop},
    ControlTemplate{1053, Kind::WhiteRect, "", 11, 14, 187, 376},
    ControlTemplate{1055, Kind::Bitmap, "133", 0, 0, 189, 336, kHidden},
};

constexpr std::array kTail{
    ControlTemplate{1084, Kind::UpDown, "", 196, 293, 7, 12, kHidden},
    ControlTemplate{1085, Kind::UpDown, "", 195, 306, 6, 12, kHidden},
    ControlTemplate{1029, Kind::PushButton, "Reset", 216, 404, 37, 14, kTabStop},
    ControlTemplate{1034, Kind::PushButton, "Reset", 442, 367, 37, 14, kTabStop},
};

constexpr std::size_t kControlCount =
    kMotors + 2 + kMotors + 2 + kMiddle.size() + kMotors + kTail.size();

constexpr std::array<ControlTemplate, kControlCount> makeControls() {
    std::array<ControlTemplate, kControlCount> controls{};
    std::size_t n = 0;
    for (int k = 0; k < static_cast<int>(kMotors); ++k) {
        controls[n++] = {1000 + k, Kind::Edit, "", 235, 31 + 14 * k, 21, 12, kNumberEdit};
    }
    controls[n++] = {1022, Kind::Edit, "", 235, 339, 21, 12, kNumberEdit};
    controls[n++] = {1023, Kind::Edit, "", 235, 353, 21, 12, kNumberEdit};
    for (int k = 0; k < static_cast<int>(kMotors); ++k) {
        controls[n++] = {kNoId, Kind::Label, kMotorNumbers[k], 210, 34 + 14 * k, 24, 8, kCentred};
    }
    controls[n++] = {kNoId, Kind::Label, "ACC", 210, 342, 24, 8, kCentred};
    controls[n++] = {kNoId, Kind::Label, "Rate", 210, 356, 24, 8, kCentred};
    for (const ControlTemplate& control : kMiddle) {
        controls[n++] = control;
    }
    for (int k = 0; k < static_cast<int>(kMotors); ++k) {
        const int width = k % 2 == 0 ? 7 : 6;
        controls[n++] = {1062 + k,         Kind::UpDown, "", kSpinPlaces[k].x,
                         kSpinPlaces[k].y, width,        12, kHidden};
    }
    for (const ControlTemplate& control : kTail) {
        controls[n++] = control;
    }
    return controls;
}

constexpr std::array<ControlTemplate, kControlCount> kControls = makeControls();

}  // namespace

extern const DialogTemplate editorDialog = {102,           "Kestrova", 491,      452,
                                            "@MS PGothic", 10,         kControls};

}  // namespace kestrova::res
