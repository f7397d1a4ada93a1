#pragma once

namespace claverix::ui {

// The search text box. OK and Annuler are IDOK and IDCANCEL: Enter and Esc press them.
inline constexpr int IDC_SEARCH_TEXT = 501;

}  // namespace claverix::ui
