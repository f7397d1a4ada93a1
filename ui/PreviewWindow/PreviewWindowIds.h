#pragma once

namespace claverix::ui {

// Control ids of the preview window. "Fermer" is IDCANCEL: Esc closes the window.
inline constexpr int IDC_PREVIEW_SUMMARY = 801;
inline constexpr int IDC_PREVIEW_LIST = 802;
inline constexpr int IDM_PREVIEW_COPY = 803;

}  // namespace claverix::ui
