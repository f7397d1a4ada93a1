#pragma once

namespace claverix::ui {

// The restoration viewer's one control: the box holding the restoration text.
inline constexpr int IDC_VIEWER_TEXT = 401;

}  // namespace claverix::ui
