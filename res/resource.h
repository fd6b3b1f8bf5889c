// Resource identifiers: dialog templates, controls, strings, icons and menu commands.
#ifndef ARBOLIX_RES_RESOURCE_H
#define ARBOLIX_RES_RESOURCE_H

#include "toolkit/dialogtemplate.h"

namespace res {

// Dialog templates.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_ARBOLIX_DIALOG = 102;
inline constexpr int IDD_FIND = 130;
inline constexpr int IDD_INIT = 136;

// Strings.
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDS_SEARCHNOTFOUND = 102;
inline constexpr int IDS_COPYNAME = 103;
inline constexpr int IDS_OPENDISPLAY = 104;
// What a screen reader says: the tree's name, where a row stands, a field's limit.
inline constexpr int IDS_TREENAME = 105;
inline constexpr int IDS_STATIONITEM = 106;
inline constexpr int IDS_COMPOUNDITEM = 107;
inline constexpr int IDS_BLOCKITEM = 108;
inline constexpr int IDS_BLOCKNAME = 109;
inline constexpr int IDS_MAXCHARS = 110;
inline constexpr int IDS_CONTEXTMENU = 111;
inline constexpr int IDS_FOUNDITEM = 112;

// Icons.
inline constexpr int IDR_MAINFRAME = 128;

// System menu commands.
inline constexpr int IDM_ABOUTBOX = 0x0010;

// Controls. 1004 is the Find... button in the main window and the compound field in the Find
// window.
inline constexpr int IDC_STATIC = -1;
inline constexpr int IDOK = tk::kIdOk;
inline constexpr int IDC_TREE = 1000;
inline constexpr int IDC_STATION = 1003;
inline constexpr int IDC_FIND = 1004;
inline constexpr int IDC_COMPOUND = 1004;
inline constexpr int IDC_BLOCK = 1005;
inline constexpr int IDC_CLOSE = 1006;
inline constexpr int IDC_PROGRESS = 1010;
// The About box's lines that show a version.
inline constexpr int IDC_VERSION = 1011;
inline constexpr int IDC_QTVERSION = 1012;

} // namespace res

#endif
