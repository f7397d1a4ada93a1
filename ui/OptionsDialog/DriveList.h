#pragma once

#include <string>
#include <vector>

#include "ui/common/Controls.h"

namespace claverix::ui {

// The classic drive list: the machine's drives as "c: [label]", in a
// drop-down list; it starts on the current directory's drive.
class DriveList : public Control {
public:
    void Create(Window& parent, int id, const TwipsRect& placement);

    // The chosen drive's root, "C:\".
    std::wstring SelectedRoot() const;
    // Back to the drive that was chosen before the latest change.
    void RestorePrevious();
    // The user's choice is taken: the next RestorePrevious comes back to it.
    void AcceptSelection();

private:
    std::vector<std::wstring> roots_;
    int accepted_ = -1;
};

}  // namespace claverix::ui
