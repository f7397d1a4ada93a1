#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace claverix::tests {

// The labels, buttons, check boxes and frames of `window` whose text, in the
// control's own font, does not fit in the control: each as "text (needs N
// px, has M px)". Empty when everything shows whole.
std::vector<std::string> TextsCutShort(HWND window);

// A control's rectangle in pixels of its parent's client area.
RECT RectInParent(HWND control);

}  // namespace claverix::tests
