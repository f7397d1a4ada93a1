#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "app/Search.h"
#include "platform/Platform.h"
#include "ui/SearchDialog/SearchDialogIds.h"
#include "ui/common/Controls.h"
#include "ui/common/Window.h"

namespace claverix::ui {

// The search dialog: finds, below the list's selection and then, if the user
// agrees, from the top, the next file whose text holds a string. A search
// ends with the dialog hidden, still loaded and keeping its text; Annuler
// unloads it.
class SearchDialog final : public Dialog {
public:
    explicit SearchDialog(platform::Platform& platform);

    // With a search text set in `state` it searches `files` at once without
    // showing; otherwise it shows modal, `owner` waiting, and waits for the
    // user. True when it ended hidden after a search: the caller then selects
    // `state.SearchIndex`. False when cancelled or closed, or when the dialog
    // cannot be created.
    bool Run(HWND owner, app::SearchState& state, const app::ListedFiles& files);

private:
    // Run is the one way to show it.
    using Dialog::ShowModal;

    bool Load(HWND owner) override;
    void Search();
    std::optional<std::size_t> Find(const std::wstring& text) const;

    int DefaultButtonId() const override { return IDOK; }
    void OnCommand(int id, int code) override;

    platform::Platform& platform_;
    // What the search in progress works on, for the length of Run.
    app::SearchState* state_ = nullptr;
    const app::ListedFiles* files_ = nullptr;
    bool searched_ = false;

    Control okButton_;
    Control cancelButton_;
    Control findBox_;      // txtFind
    Control promptLabel_;  // Label1
};

}  // namespace claverix::ui
