#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/common/Controls.h"
#include "ui/common/GuiHandles.h"

namespace claverix::ui {

// The classic directory list: the opened directory's ancestors from its
// drive's root down, the directory itself, then its sub-directories. A
// double click or Enter on an entry opens it. A list box whose entries are
// the directories' names, so that screen readers read them.
class DirectoryList : public Control {
public:
    void Create(Window& parent, int id, const TwipsRect& placement);

    // The opened directory, a drive's root with its backslash.
    const std::wstring& Path() const { return path_; }

    // Opens `path`. False when it is not a directory: the list stays as it was.
    bool SetPath(const std::wstring& path);

    // The parent window hands these messages on.
    void OnDoubleClick();
    void Draw(const DRAWITEMSTRUCT& item) const;
    void OnDpiChanged(UINT dpi);

    static int ItemHeight(UINT dpi);

private:
    struct Entry {
        std::wstring path;
        std::wstring name;
        int level = 0;
        bool opened = false;  // an ancestor or the opened directory itself
    };

    void Fill();

    std::wstring path_;
    std::vector<Entry> entries_;
    UniqueIcon openedIcon_;
    UniqueIcon closedIcon_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
};

}  // namespace claverix::ui
