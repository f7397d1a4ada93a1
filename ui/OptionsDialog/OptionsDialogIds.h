#pragma once

namespace claverix::ui {

// Control ids of the options dialog. "Annuler" is IDCANCEL: Esc presses it.
inline constexpr int IDC_OPTIONS_DRIVE_LIST = 101;
inline constexpr int IDC_OPTIONS_DIRECTORY_LIST = 102;
inline constexpr int IDC_OPTIONS_SIGNATURE = 103;
inline constexpr int IDC_OPTIONS_OK = 104;
inline constexpr int IDC_OPTIONS_APPLY = 105;
inline constexpr int IDC_OPTIONS_SIGNATURE_LABEL = 106;

}  // namespace claverix::ui
