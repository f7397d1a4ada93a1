#pragma once

#include <windows.h>

namespace claverix::ui {

// The main window's menu bar, built from one table of menus and items.
HMENU CreateMainMenuBar();

// Whether Alt and `character` open one of the menu bar's menus: its access
// key, the letter after the "&" of a menu's caption, in either case.
bool IsMainMenuAccessKey(wchar_t character);

}  // namespace claverix::ui
