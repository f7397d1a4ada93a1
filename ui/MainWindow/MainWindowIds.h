#pragma once

namespace claverix::ui {

// Control ids of the main window.
inline constexpr int IDC_MAIN_LIST_MODE = 201;  // the button that switches lists
inline constexpr int IDC_MAIN_FILE_LIST = 202;
inline constexpr int IDC_MAIN_MERGE = 203;
inline constexpr int IDC_MAIN_VIEW_RESTORATION = 204;
inline constexpr int IDC_MAIN_SIGNED = 205;
inline constexpr int IDC_MAIN_NO_RESTORATION = 206;
inline constexpr int IDC_MAIN_COMMENT = 207;
inline constexpr int IDC_MAIN_CONTENT = 208;
inline constexpr int IDC_MAIN_PREVIEW = 209;

// Its menu commands.
inline constexpr int IDM_MERGE = 301;
inline constexpr int IDM_ADD_FILES = 302;
inline constexpr int IDM_VIEW_RESTORATION = 303;
inline constexpr int IDM_QUIT = 304;
inline constexpr int IDM_FIND = 305;
inline constexpr int IDM_FIND_NEXT = 306;
inline constexpr int IDM_SIGN = 307;
inline constexpr int IDM_NO_RESTORATION = 308;
inline constexpr int IDM_OPTIONS = 309;
inline constexpr int IDM_ABOUT = 310;
inline constexpr int IDM_REFRESH = 311;
inline constexpr int IDM_REGISTER_OPENER = 312;
inline constexpr int IDM_PREVIEW = 313;
// The file list's shortcut menu, beside IDM_MERGE, IDM_PREVIEW and IDM_VIEW_RESTORATION.
inline constexpr int IDM_DELETE = 320;
inline constexpr int IDM_SHOW_IN_FOLDER = 321;

}  // namespace claverix::ui
