// SPDX-License-Identifier: MIT
// Menu 139: the main window's menu bar.
#include "resources/resource_ids.h"
#include "resources/templates.h"

namespace kestrova::res {

namespace {

constexpr MenuItemTemplate kFile[] = {{"&Exit", id::kFileExit}};
constexpr MenuItemTemplate kCommunity[] = {
    {"&Connect", id::kConnect},
    {"&Disconnect", id::kDisconnect},
    {"&Setup", id::kSetup},
};
constexpr PopupTemplate kPopups[] = {{"&File", kFile}, {"&Community", kCommunity}};

}  // namespace

extern const MenuTemplate editorMenu = {id::kEditorMenu, kPopups};

}  // namespace kestrova::res
