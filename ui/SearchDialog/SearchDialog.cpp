#include "ui/SearchDialog/SearchDialog.h"

#include "app/Search.h"
#include "engine/Reporting.h"
#include "platform/win32/Text.h"

namespace claverix::ui {

using platform::win32::Utf8ToWide;
using platform::win32::WideToUtf8;

SearchDialog::SearchDialog(platform::Platform& platform) : platform_(platform) {}

bool SearchDialog::Run(HWND owner, app::SearchState& state, const app::ListedFiles& files) {
    if (!IsLoaded() && !Load(owner)) {
        return false;
    }
    state_ = &state;
    files_ = &files;
    searched_ = false;
    // Find next: the last text again, searched at once without asking.
    if (!state.SearchText.empty()) {
        findBox_.SetText(Utf8ToWide(state.SearchText));
        Search();
    } else {
        findBox_.SetText(L"");
        findBox_.Focus();
        // Loaded: it runs.
        static_cast<void>(ShowModal(owner));
    }
    state_ = nullptr;
    files_ = nullptr;
    return searched_;
}

bool SearchDialog::Load(HWND owner) {
    WindowSetup setup = DialogSetup(L"Recherche", owner, 6015, 1410);
    setup.showsIcon = false;
    if (!Create(setup)) {
        return false;
    }
    constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP;
    okButton_.Create(*this, {WC_BUTTONW, L"OK", kButton | BS_DEFPUSHBUTTON, 0, IDOK, {4680, 120, 1215, 375}});
    cancelButton_.Create(
        *this, {WC_BUTTONW, L"Annuler", kButton | BS_PUSHBUTTON, 0, IDCANCEL, {4680, 600, 1215, 375}});
    findBox_.Create(*this, {WC_EDITW,
                            L"",
                            WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                            WS_EX_CLIENTEDGE,
                            IDC_SEARCH_TEXT,
                            {240, 480, 4095, 285}});
    findBox_.Send(EM_SETLIMITTEXT, 0);
    promptLabel_.Create(*this, {WC_STATICW,
                                L"Rechercher une chaine de caractères dans la liste.",
                                WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                0,
                                0,
                                {240, 120, 3975, 255}});
    PlaceControls();
    PlaceClientAt({2760, 3750});
    return true;
}

void SearchDialog::Search() {
    std::wstring text = findBox_.Text();
    state_->SearchText = WideToUtf8(text);
    state_->SearchIndex = files_->selected;
    if (!text.empty()) {
        HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        std::optional<std::size_t> found = Find(text);
        ::SetCursor(previous);
        if (found) {
            state_->SearchIndex = static_cast<std::ptrdiff_t>(*found);
        }
    }
    searched_ = true;
    Hide();
}

std::optional<std::size_t> SearchDialog::Find(const std::wstring& text) const {
    return app::SearchListedFiles(platform_, *files_, WideToUtf8(text));
}

void SearchDialog::OnCommand(int id, int) {
    switch (id) {
        case IDOK:
            Search();
            break;
        case IDCANCEL:
            Close();
            break;
    }
}

}  // namespace claverix::ui
