#pragma once

#include <windows.h>

#include "platform/win32/Handles.h"

namespace claverix::ui {

struct GdiObjectTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ object) { ::DeleteObject(object); }
};
using UniqueGdiObject = platform::win32::UniqueHandle<HGDIOBJ, GdiObjectTraits>;

struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON icon) { ::DestroyIcon(icon); }
};
using UniqueIcon = platform::win32::UniqueHandle<HICON, IconTraits>;

struct AcceleratorTableTraits {
    static HACCEL Invalid() { return nullptr; }
    static void Close(HACCEL table) { ::DestroyAcceleratorTable(table); }
};
using UniqueAcceleratorTable = platform::win32::UniqueHandle<HACCEL, AcceleratorTableTraits>;

struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU menu) { ::DestroyMenu(menu); }
};
using UniqueMenu = platform::win32::UniqueHandle<HMENU, MenuTraits>;

}  // namespace claverix::ui
