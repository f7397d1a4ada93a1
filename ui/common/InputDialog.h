#pragma once

#include <optional>
#include <string>

#include "ui/common/Controls.h"
#include "ui/common/InputDialogIds.h"
#include "ui/common/Window.h"

namespace claverix::ui {

// A question answered in one line of text: the prompt, an entry holding a
// proposed answer, OK and Annuler. Centred on the screen.
class InputDialog final : public Dialog {
public:
    InputDialog(std::wstring prompt, std::wstring title, std::wstring initialValue);

    // Shows the dialog modal while `owner` (or nothing) waits. The entry's
    // text on OK; nullopt on Annuler, Esc or the close box, or when the
    // dialog cannot be created.
    std::optional<std::wstring> Ask(HWND owner);

private:
    bool Load(HWND owner) override;
    int DefaultButtonId() const override { return IDOK; }
    void OnCommand(int id, int code) override;

    std::wstring prompt_;
    std::wstring title_;
    std::wstring initialValue_;
    std::optional<std::wstring> answer_;

    Control promptLabel_;
    Control entry_;
    Control okButton_;
    Control cancelButton_;
};

}  // namespace claverix::ui
