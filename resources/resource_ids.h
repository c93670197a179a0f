// SPDX-License-Identifier: MIT
#pragma once

// Numbers of the resources, controls and commands that code refers to.
namespace kestrova::res::id {

inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

inline constexpr int kAboutBox = 16;  // system command of the About item
inline constexpr int kAboutDialog = 100;
inline constexpr int kAboutText = 101;  // string: the About item's text
inline constexpr int kEditorDialog = 102;
inline constexpr int kMotorLabel0 = 102;  // strings 102..123: motor labels
inline constexpr int kAppIcon = 128;
inline constexpr int kRobotBitmap = 133;
inline constexpr int kEditorMenu = 139;
inline constexpr int kSetupDialog = 140;
inline constexpr int kMotorPanelDialog = 142;

inline constexpr int kMotorEdit0 = 1000;  // 1000..1021: M1..M22
inline constexpr int kAccEdit = 1022;
inline constexpr int kRateEdit = 1023;
inline constexpr int kStepCombo = 1025;
inline constexpr int kGetStep = 1027;
inline constexpr int kSetStep = 1028;
inline constexpr int kResetStep = 1029;
inline constexpr int kPageNumCombo = 1030;
inline constexpr int kEnableStepCombo = 1031;
inline constexpr int kNextPageCombo = 1032;
inline constexpr int kPageNameEdit = 1033;
inline constexpr int kResetPage = 1034;
inline constexpr int kPlay = 1035;
inline constexpr int kTargetSave = 1036;
inline constexpr int kTargetLoad = 1037;
inline constexpr int kPcSave = 1038;
inline constexpr int kPcLoad = 1039;
inline constexpr int kPositionLock = 1040;
inline constexpr int kLinkToTarget = 1041;
inline constexpr int kStepTable = 1043;
inline constexpr int kRepeatCombo = 1046;
inline constexpr int kPictureFrame = 1053;
inline constexpr int kRobotPicture = 1055;
inline constexpr int kPortCombo = 1057;
inline constexpr int kBaudCombo = 1058;
inline constexpr int kUpDown0 = 1062;  // 1062..1083: up-downs of 1000..1021
inline constexpr int kAccUpDown = 1084;
inline constexpr int kRateUpDown = 1085;

// Controls of a motor panel (template 142).
inline constexpr int kPanelTrackbar = 1058;
inline constexpr int kPanelLabel = 1059;

inline constexpr int kFileExit = 32771;
inline constexpr int kConnect = 32775;
inline constexpr int kDisconnect = 32776;
inline constexpr int kSetup = 32777;
inline constexpr int kEditUndo = 32778;
inline constexpr int kEditRedo = 32779;
inline constexpr int kEditCopyStep = 32780;
inline constexpr int kEditPasteStep = 32781;
inline constexpr int kEditInsertStep = 32782;
inline constexpr int kEditDeleteStep = 32783;
inline constexpr int kFileOpenPage = 32784;
inline constexpr int kFileSavePage = 32785;
inline constexpr int kEditMirrorStep = 32786;
inline constexpr int kEditCopyLeftToRight = 32787;
inline constexpr int kEditCopyRightToLeft = 32788;
inline constexpr int kOpenProfile = 32789;
inline constexpr int kEditProfile = 32790;
inline constexpr int kCloseProfile = 32791;
inline constexpr int kViewCurves = 32800;

}  // namespace kestrova::res::id
