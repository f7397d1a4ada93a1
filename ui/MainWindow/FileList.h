#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "ui/common/Controls.h"

namespace claverix::ui {

// The main window's file list: a list box showing the registry files of one
// directory, in the order the system's file views list them. Names are
// UTF-8, as the engine takes them.
class FileList : public Control {
public:
    explicit FileList(platform::Platform& platform) : platform_(platform) {}

    void Create(Window& parent, int id, const TwipsRect& placement);

    const std::string& Directory() const { return directory_; }
    // Shows the files of `directory` (without trailing backslash); nothing selected.
    void SetDirectory(std::string directory);
    // Reads the directory again; the selected file stays selected while it is there.
    void Refresh();

    const std::vector<std::string>& Names() const { return names_; }
    int Count() const { return static_cast<int>(names_.size()); }
    const std::string& NameAt(int index) const { return names_[static_cast<std::size_t>(index)]; }
    int SelectedIndex() const;
    // Selects as code does: no notification reaches the window. -1 selects nothing.
    void Select(int index);
    int IndexOf(const std::string& name) const;
    // Whether the double click being handled landed on an entry, not on the list's empty part.
    bool DoubleClickedAnEntry() const;
    // The entry at a point of the screen, or -1 where there is none.
    int IndexAt(POINT screen) const;
    // Selects as a click does: the list takes the focus, its selection
    // changes and it tells its window.
    void Click(int index);
    // The screen point at the bottom-left corner of the entry, within the
    // list's visible part.
    POINT BelowEntry(int index) const;

private:
    platform::Platform& platform_;
    std::string directory_;
    std::vector<std::string> names_;
};

}  // namespace claverix::ui
