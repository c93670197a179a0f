// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// Dialog templates, menus and strings as plain constant data; src/ui builds Qt widgets from
// them. To add a dialog template: define it in `resources/<name>_template.cpp` as
//     extern const DialogTemplate <name>Dialog = {id, caption, cx, cy, face, points, controls};
// with its controls in a static `constexpr ControlTemplate[]` in that file (template order),
// and declare it in `resources/templates.h` (template 142, `motorPanelDialog`, is declared
// there already).
namespace kestrova::res {

// The kinds of control a dialog template holds.
enum class Kind {
    PushButton,
    DefPushButton,
    CheckBox,  // two-state, toggles itself
    GroupBox,
    Label,      // static text
    WhiteRect,  // static white rectangle with sunken edges
    Bitmap,     // static bitmap; `text` holds the bitmap's resource number
    Edit,
    DropList,  // drop-down list, unsorted; `cy` is the height of the opened list
    UpDown,
    Trackbar,
    Icon,  // static icon; `text` holds the icon's resource number
};

// Style bits beyond the kind.
enum Style : std::uint32_t {
    kHidden = 1u << 0,
    kTabStop = 1u << 1,
    kReadOnly = 1u << 2,
    kDigitsOnly = 1u << 3,
    kCentred = 1u << 4,
    kBorder = 1u << 5,
    kVScroll = 1u << 6,
    kNoPrefix = 1u << 7,  // '&' shown as it is
    kNoTicks = 1u << 8,
};

inline constexpr int kNoId = -1;

// One control, positions and sizes in dialog units. `items` holds a list's initial entries.
struct ControlTemplate {
    int id;
    Kind kind;
    std::string_view text;
    int x, y, cx, cy;
    std::uint32_t style = 0;
    std::span<const std::string_view> items = {};
};

struct DialogTemplate {
    int id;
    std::string_view caption;  // empty for child dialogs without caption
    int cx, cy;                // dialog units
    std::string_view fontFace;
    int pointSize;
    std::span<const ControlTemplate> controls;  // template order = tab order = stacking order
};

// A menu item; command 0 marks a separator. `keys` holds its shortcuts in Qt's portable
// text, separated by "; " ("Ctrl+Y; Ctrl+Shift+Z").
struct MenuItemTemplate {
    std::string_view text;
    int command;
    std::string_view keys = {};
};

struct PopupTemplate {
    std::string_view text;
    std::span<const MenuItemTemplate> items;
};

struct MenuTemplate {
    int id;
    std::span<const PopupTemplate> popups;
};

}  // namespace kestrova::res
