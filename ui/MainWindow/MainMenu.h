#pragma once

#include <windows.h>

namespace claverix::ui {

// The main window's menu bar, built from one table of menus and items.
HMENU CreateMainMenuBar();

// The file list's shortcut menu: merge, preview the merge, view the restoration, delete, and
// the file's folder in Explorer.
HMENU CreateFileShortcutMenu();

// Whether Alt and `character` open one of the menu bar's menus: its access
// key, the letter after the "&" of a menu's caption, in either case.
bool IsMainMenuAccessKey(wchar_t character);

}  // namespace claverix::ui
