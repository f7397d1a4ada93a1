#pragma once

namespace claverix::ui {

// Control ids of the About box. "OK" is IDOK: Enter and Esc both close the box.
inline constexpr int IDC_ABOUT_SYSINFO = 601;
inline constexpr int IDC_ABOUT_ICON = 602;
inline constexpr int IDC_ABOUT_TITLE = 603;
inline constexpr int IDC_ABOUT_VERSION = 604;
inline constexpr int IDC_ABOUT_DESCRIPTION = 605;

}  // namespace claverix::ui
