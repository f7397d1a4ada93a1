#include "platform/win32/Win32Prompt.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "platform/win32/InputDialog.h"

namespace claverix::platform::win32 {
namespace {

// Plays the user: waits for the dialog titled `title` to be shown (after its
// initialisation), lets `act` work on it, and gives up after a few seconds.
class DialogDriver {
public:
    DialogDriver(std::wstring title, std::function<void(HWND)> act)
        : thread_([title = std::move(title), act = std::move(act), this] {
              for (int attempt = 0; attempt < 500; ++attempt) {
                  HWND dialog = ::FindWindowW(L"#32770", title.c_str());
                  if (dialog != nullptr && ::IsWindowVisible(dialog)) {
                      found_ = true;
                      act(dialog);
                      return;
                  }
                  ::Sleep(10);
              }
          }) {}
    ~DialogDriver() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    bool Found() {
        thread_.join();
        return found_;
    }

private:
    bool found_ = false;
    std::thread thread_;
};

void Press(HWND dialog, int button) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

std::wstring TextOf(HWND dialog, int control) {
    wchar_t text[256] = {};
    ::GetDlgItemTextW(dialog, control, text, 256);
    return text;
}

TEST(Win32PromptTest, TextEntryReturnsWhatTheUserTyped) {
    Win32Prompt prompt;
    std::wstring initialSeen;
    DialogDriver driver(L"Initialisation é", [&](HWND dialog) {
        initialSeen = TextOf(dialog, kInputDialogEntryId);
        ::SendMessageW(::GetDlgItem(dialog, kInputDialogEntryId), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(L"Jean Dupont"));
        Press(dialog, IDOK);
    });
    std::optional<std::string> answer =
        prompt.AskText("Choisissez un identifiant", "Initialisation é", "jdupont");
    ASSERT_TRUE(driver.Found());
    EXPECT_EQ(initialSeen, L"jdupont");
    EXPECT_EQ(answer, "Jean Dupont");
}

TEST(Win32PromptTest, CancelledEntryAnswersNothing) {
    Win32Prompt prompt;
    DialogDriver driver(L"Annulé", [](HWND dialog) { Press(dialog, IDCANCEL); });
    EXPECT_EQ(prompt.AskText("texte", "Annulé", "valeur"), std::nullopt);
    EXPECT_TRUE(driver.Found());
}

TEST(Win32PromptTest, QuestionsAnswerYesOrNo) {
    Win32Prompt prompt;
    {
        DialogDriver driver(L"AVERTISSEMENT", [](HWND dialog) { Press(dialog, IDYES); });
        EXPECT_TRUE(prompt.AskYesNo("Voulez-vous poursuivre ?", "AVERTISSEMENT", PromptIcon::Exclamation));
        EXPECT_TRUE(driver.Found());
    }
    {
        DialogDriver driver(L"AVERTISSEMENT", [](HWND dialog) { Press(dialog, IDNO); });
        EXPECT_FALSE(prompt.AskYesNo("Voulez-vous poursuivre ?", "AVERTISSEMENT", PromptIcon::None));
        EXPECT_TRUE(driver.Found());
    }
}

}  // namespace
}  // namespace claverix::platform::win32
