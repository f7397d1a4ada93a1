#include "ui/common/WindowPrompt.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

#include "tests/ui/support/UserActions.h"
#include "ui/common/InputDialogIds.h"
#include "ui/common/Window.h"

namespace claverix::ui {
namespace {

using platform::PromptIcon;
using tests::PostClick;
using tests::UserThread;

std::wstring TextOf(HWND dialog, int control) {
    return tests::TextOf(::GetDlgItem(dialog, control));
}

TEST(WindowPromptTest, TextEntryReturnsWhatTheUserTyped) {
    WindowPrompt prompt;
    std::wstring initialSeen;
    UserThread user(
        L"Initialisation é",
        [&](HWND dialog) {
            initialSeen = TextOf(dialog, IDC_INPUT_ENTRY);
            ::SendMessageW(::GetDlgItem(dialog, IDC_INPUT_ENTRY), WM_SETTEXT, 0,
                           reinterpret_cast<LPARAM>(L"Jean Dupont"));
            PostClick(dialog, IDOK);
        },
        kWindowClassName);
    std::optional<std::string> answer =
        prompt.AskText("Choisissez un identifiant", "Initialisation é", "jdupont");
    ASSERT_TRUE(user.Found());
    EXPECT_EQ(initialSeen, L"jdupont");
    EXPECT_EQ(answer, "Jean Dupont");
}

TEST(WindowPromptTest, CancelledEntryAnswersNothing) {
    WindowPrompt prompt;
    UserThread user(
        L"Annulé", [](HWND dialog) { PostClick(dialog, IDCANCEL); }, kWindowClassName);
    EXPECT_EQ(prompt.AskText("texte", "Annulé", "valeur"), std::nullopt);
    EXPECT_TRUE(user.Found());
}

TEST(WindowPromptTest, QuestionsAnswerYesOrNo) {
    WindowPrompt prompt;
    {
        UserThread user(L"AVERTISSEMENT", [](HWND box) { PostClick(box, IDYES); });
        EXPECT_TRUE(prompt.AskYesNo("Voulez-vous poursuivre ?", "AVERTISSEMENT", PromptIcon::Exclamation));
        EXPECT_TRUE(user.Found());
    }
    {
        UserThread user(L"AVERTISSEMENT", [](HWND box) { PostClick(box, IDNO); });
        EXPECT_FALSE(prompt.AskYesNo("Voulez-vous poursuivre ?", "AVERTISSEMENT", PromptIcon::None));
        EXPECT_TRUE(user.Found());
    }
}

// Enter presses the focused button: No.
TEST(WindowPromptTest, ARiskyQuestionHasTheFocusOnNo) {
    WindowPrompt prompt;
    std::atomic<HWND> focused{nullptr};
    std::atomic<HWND> no{nullptr};
    UserThread user(L"AVERTISSEMENT", [&](HWND box) {
        GUITHREADINFO thread{sizeof thread};
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(box, nullptr), &thread);
        focused = thread.hwndFocus;
        no = ::GetDlgItem(box, IDNO);
        PostClick(box, IDYES);
    });
    EXPECT_TRUE(prompt.AskYesNoDefaultNo("Fusionner quand même ?", "AVERTISSEMENT", PromptIcon::Exclamation));
    EXPECT_TRUE(user.Found());
    EXPECT_NE(no.load(), nullptr);
    EXPECT_EQ(focused.load(), no.load());
}

TEST(WindowPromptTest, TheThirdButtonShowsMoreAndTheQuestionStays) {
    WindowPrompt prompt;
    std::atomic<int> shown{0};
    UserThread user(L"AVERTISSEMENT", [&](HWND box) {
        PostClick(box, 100);
        for (int wait = 0; wait < 500 && shown == 0; ++wait) {
            ::Sleep(10);
        }
        PostClick(box, IDYES);
    });
    EXPECT_TRUE(prompt.AskYesNo("Voulez-vous poursuivre ?", "AVERTISSEMENT", PromptIcon::None,
                                {"A&perçu...", [&] { ++shown; }}));
    EXPECT_TRUE(user.Found());
    EXPECT_EQ(shown, 1);
}

}  // namespace
}  // namespace claverix::ui
