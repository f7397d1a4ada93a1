#include "ui/common/InputDialog.h"

namespace claverix::ui {

InputDialog::InputDialog(std::wstring prompt, std::wstring title, std::wstring initialValue)
    : prompt_(std::move(prompt)), title_(std::move(title)), initialValue_(std::move(initialValue)) {}

std::optional<std::wstring> InputDialog::Ask(HWND owner) {
    answer_.reset();
    // A dialog that cannot be created has no answer.
    static_cast<void>(ShowModal(owner));
    return answer_;
}

bool InputDialog::Load(HWND owner) {
    if (!Create(DialogSetup(title_, owner, 5850, 2190))) {
        return false;
    }
    constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP;
    // The entry first, where the focus starts.
    promptLabel_.Create(*this, {WC_STATICW,
                                prompt_,
                                WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                0,
                                IDC_INPUT_PROMPT,
                                {165, 165, 4275, 1170}});
    entry_.Create(*this, {WC_EDITW,
                          initialValue_,
                          WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                          WS_EX_CLIENTEDGE,
                          IDC_INPUT_ENTRY,
                          {165, 1560, 5520, 345}});
    okButton_.Create(*this, {WC_BUTTONW, L"OK", kButton | BS_DEFPUSHBUTTON, 0, IDOK, {4560, 165, 1125, 345}});
    cancelButton_.Create(
        *this, {WC_BUTTONW, L"Annuler", kButton | BS_PUSHBUTTON, 0, IDCANCEL, {4560, 600, 1125, 345}});
    PlaceControls();
    CentreOnScreen();
    entry_.Send(EM_SETSEL, 0, -1);
    entry_.Focus();
    return true;
}

void InputDialog::OnCommand(int id, int) {
    switch (id) {
        case IDOK:
            answer_ = entry_.Text();
            Close();
            break;
        case IDCANCEL:
            Close();
            break;
    }
}

}  // namespace claverix::ui
