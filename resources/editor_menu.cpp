// SPDX-License-Identifier: MIT
// Menu 139: the main window's menu bar.
#include "resources/resource_ids.h"
#include "resources/templates.h"

namespace kestrova::res {

namespace {

constexpr MenuItemTemplate kFile[] = {
    {"&Open Page File...", id::kFileOpenPage, "Ctrl+O"},
    {"&Save Page File...", id::kFileSavePage, "Ctrl+S"},
    {"", 0},
    {"&Exit", id::kFileExit},
};
constexpr MenuItemTemplate kEdit[] = {
    {"&Undo", id::kEditUndo, "Ctrl+Z"},
    {"&Redo", id::kEditRedo, "Ctrl+Y; Ctrl+Shift+Z"},
    {"", 0},
    {"&Copy Step", id::kEditCopyStep, "Ctrl+C"},
    {"&Paste Step", id::kEditPasteStep, "Ctrl+V"},
    {"&Insert Step", id::kEditInsertStep, "Ctrl+Shift+I"},
    {"&Delete Step", id::kEditDeleteStep, "Ctrl+Shift+D"},
    {"", 0},
    {"&Mirror Step", id::kEditMirrorStep},
    {"Copy &Left to Right", id::kEditCopyLeftToRight},
    {"Copy &Right to Left", id::kEditCopyRightToLeft},
};
constexpr MenuItemTemplate kView[] = {{"&Curves", id::kViewCurves, "Ctrl+Shift+G"}};
constexpr MenuItemTemplate kCommunity[] = {
    {"&Connect", id::kConnect},
    {"&Disconnect", id::kDisconnect},
    {"&Setup", id::kSetup},
};
constexpr MenuItemTemplate kRobot[] = {
    {"&Open Profile...", id::kOpenProfile},
    {"&Edit Profile...", id::kEditProfile},
    {"&Close Profile", id::kCloseProfile},
};
constexpr PopupTemplate kPopups[] = {
    {"&File", kFile},          {"&Edit", kEdit},   {"&View", kView},
    {"&Community", kCommunity}, {"&Robot", kRobot}};

}  // namespace

extern const MenuTemplate editorMenu = {id::kEditorMenu, kPopups};

}  // namespace kestrova::res
