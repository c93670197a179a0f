// SPDX-License-Identifier: MIT
// Menu 139: the main window's menu bar.
#include "resources/templates.h"

namespace kestrova::res {

namespace {

constexpr MenuItemTemplate kFile[] = {{"&Exit", 32771}};
constexpr MenuItemTemplate kCommunity[] = {
    {"&Connect", 32775},
    {"&Disconnect", 32776},
    {"&Setup", 32777},
};
constexpr PopupTemplate kPopups[] = {{"&File", kFile}, {"&Community", kCommunity}};

}  // namespace

extern const MenuTemplate editorMenu = {139, kPopups};

}  // namespace kestrova::res
