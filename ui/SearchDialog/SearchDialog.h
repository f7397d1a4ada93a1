#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "engine/Engine.h"
#include "ui/common/Controls.h"
#include "ui/common/Window.h"
#include "ui/MainWindow/FileList.h"

namespace claverix::ui {

// The search text box. OK and Annuler are IDOK and IDCANCEL: Enter and Esc press them.
inline constexpr int IDC_SEARCH_FIND = 501;

// What the searches share for the whole run.
struct SearchState {
    // The last search's text, UTF-8: Find empties it before the dialog asks
    // for one, Find next searches it again at once.
    std::string SearchText;
    // The list entry the last search chose: the file found, or the list's
    // selection when the search started (-1 for none).
    std::ptrdiff_t SearchIndex = 0;
};

// The search dialog: finds, below the list's selection, the next file whose
// text holds a string. A search ends with the dialog hidden, still loaded
// and keeping its text; Annuler unloads it.
class SearchDialog final : public Window {
public:
    SearchDialog(engine::Engine& engine, SearchState& state, const FileList& list);

    // Loads the dialog when it is not loaded. With a search text set it
    // searches at once without showing; otherwise it shows modal, `owner`
    // waiting, and waits for the user. True when it ended hidden after a
    // search: the caller then selects `state.SearchIndex`. False when
    // cancelled or closed, or when the dialog cannot be created.
    bool ShowModal(HWND owner);

private:
    bool Load(HWND owner);
    void Search();
    std::optional<std::size_t> FindBelow(std::ptrdiff_t selected, const std::wstring& text) const;

    int DefaultButtonId() const override { return IDOK; }
    void OnCommand(int id, int code, HWND control) override;

    engine::Engine& engine_;
    SearchState& state_;
    const FileList& list_;
    bool searched_ = false;

    Control OKButton_;
    Control CancelButton_;
    Control txtFind_;
    Control Label1_;
};

}  // namespace claverix::ui
