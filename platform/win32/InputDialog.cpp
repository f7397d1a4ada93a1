#include "platform/win32/InputDialog.h"

#include <vector>

namespace claverix::platform::win32 {

namespace {

// Builds an in-memory dialog template: the layout comes with the code, so
// the .exe needs no dialog resource. Units are dialog units.
class DialogTemplate {
public:
    DialogTemplate(const std::wstring& title, short width, short height, WORD itemCount) {
        Align();
        Add<DWORD>(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
        Add<DWORD>(0);  // extended style
        Add<WORD>(itemCount);
        Add<short>(0);
        Add<short>(0);
        Add<short>(width);
        Add<short>(height);
        Add<WORD>(0);  // no menu
        Add<WORD>(0);  // standard dialog class
        AddString(title);
        Add<WORD>(8);  // font size in points
        AddString(L"MS Shell Dlg");
    }

    // `classAtom`: 0x0080 button, 0x0081 edit, 0x0082 static.
    void AddItem(DWORD style, short x, short y, short width, short height, WORD id, WORD classAtom,
                 const std::wstring& text) {
        Align();
        Add<DWORD>(style | WS_CHILD | WS_VISIBLE);
        Add<DWORD>(0);
        Add<short>(x);
        Add<short>(y);
        Add<short>(width);
        Add<short>(height);
        Add<WORD>(id);
        Add<WORD>(0xFFFF);
        Add<WORD>(classAtom);
        AddString(text);
        Add<WORD>(0);  // no creation data
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    template <typename T>
    void Add(T value) {
        static_assert(sizeof(T) % sizeof(WORD) == 0);
        const auto* words = reinterpret_cast<const WORD*>(&value);
        words_.insert(words_.end(), words, words + sizeof(T) / sizeof(WORD));
    }

    void AddString(const std::wstring& text) {
        for (wchar_t c : text) {
            words_.push_back(static_cast<WORD>(c));
        }
        words_.push_back(0);
    }

    // Templates and each item start on a DWORD boundary.
    void Align() {
        if (words_.size() % 2 != 0) {
            words_.push_back(0);
        }
    }

    std::vector<WORD> words_;
};

struct DialogData {
    const std::wstring& initialValue;
    std::wstring answer;
};

INT_PTR CALLBACK InputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            const auto* data = reinterpret_cast<DialogData*>(lParam);
            HWND entry = ::GetDlgItem(dialog, kInputDialogEntryId);
            ::SetWindowTextW(entry, data->initialValue.c_str());
            ::SendMessageW(entry, EM_SETSEL, 0, -1);
            ::SetFocus(entry);
            return FALSE;  // the focus is set already
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                auto* data = reinterpret_cast<DialogData*>(::GetWindowLongPtrW(dialog, DWLP_USER));
                HWND entry = ::GetDlgItem(dialog, kInputDialogEntryId);
                data->answer.resize(static_cast<std::size_t>(::GetWindowTextLengthW(entry)) + 1);
                int length =
                    ::GetWindowTextW(entry, data->answer.data(), static_cast<int>(data->answer.size()));
                data->answer.resize(static_cast<std::size_t>(length));
                ::EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

std::optional<std::wstring> RunInputDialog(HWND owner, const std::wstring& prompt, const std::wstring& title,
                                           const std::wstring& initialValue) {
    DialogTemplate layout(title, 260, 90, 4);
    layout.AddItem(SS_LEFT, 7, 7, 190, 48, kInputDialogPromptId, 0x0082, prompt);
    layout.AddItem(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 64, 246, 14, kInputDialogEntryId, 0x0081, L"");
    layout.AddItem(BS_DEFPUSHBUTTON | WS_TABSTOP, 203, 7, 50, 14, IDOK, 0x0080, L"OK");
    layout.AddItem(BS_PUSHBUTTON | WS_TABSTOP, 203, 25, 50, 14, IDCANCEL, 0x0080, L"Annuler");

    DialogData data{initialValue, {}};
    INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), layout.Get(), owner,
                                               InputDialogProc, reinterpret_cast<LPARAM>(&data));
    if (result != IDOK) {
        return std::nullopt;
    }
    return data.answer;
}

}  // namespace claverix::platform::win32
