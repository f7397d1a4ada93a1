#pragma once

namespace claverix::ui {

// Control ids of the one-line input dialog. OK and Annuler are IDOK and IDCANCEL.
inline constexpr int IDC_INPUT_PROMPT = 701;
inline constexpr int IDC_INPUT_ENTRY = 702;

}  // namespace claverix::ui
