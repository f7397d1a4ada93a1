#include "ui/OptionsDialog/OptionsDialog.h"

#include <lmcons.h>

#include "app/Archive.h"
#include "app/Settings.h"
#include "engine/Reporting.h"
#include "platform/win32/Text.h"
#include "ui/common/MessageLoop.h"

namespace claverix::ui {

using platform::win32::AnsiToWide;
using platform::win32::Utf8ToWide;
using platform::win32::WideToUtf8;

namespace {

// Where the frame's controls start: the panel at (120, 120), the frame
// at (240, 120) inside it.
constexpr double kFrameLeft = 120 + 240;
constexpr double kFrameTop = 120 + 120;

TwipsRect InFrame(double left, double top, double width, double height) {
    return {kFrameLeft + left, kFrameTop + top, width, height};
}

// A drop-down list's height includes its open list; the closed field's
// height follows the font.
constexpr double kDriveListOpenHeight = 315 * 8;

std::wstring LoginName() {
    wchar_t name[UNLEN + 1] = {};
    DWORD size = UNLEN + 1;
    return ::GetUserNameW(name, &size) ? std::wstring(name) : std::wstring{};
}

}  // namespace

OptionsDialog::OptionsDialog(engine::Engine& engine, PointFileList pointFileList)
    : engine_(engine), pointFileList_(std::move(pointFileList)) {}

bool OptionsDialog::ShowModal(HWND owner) {
    if (!Load(owner)) {
        return false;
    }
    RunModal(*this, owner);
    return true;
}

bool OptionsDialog::Load(HWND owner) {
    if (!Create(DialogSetup(L"Options", owner, 5760, 4260))) {
        return false;
    }
    CreateControls();
    CentreOnScreen();

    platform::Platform& platform = engine_.platform;
    const std::string& iniFile = engine_.startup.IniFile;
    std::string programDirectory = app::ExecutableDirectory(platform.environment.ExecutablePath());
    std::string archive = app::ReadArchivePath(platform.profile, iniFile, programDirectory);
    // A stored directory that is gone, or empty, opens the nearest one that is there.
    if (archive.empty() || !Dir1_.SetPath(AnsiToWide(archive))) {
        Dir1_.SetPath(AnsiToWide(programDirectory));
    }
    FillSignature();
    cmdOK_.Focus();
    return true;
}

void OptionsDialog::CreateControls() {
    constexpr DWORD kLabel = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    fraSample1_.Create(
        *this,
        {WC_BUTTONW, L"Configuration", WS_VISIBLE | BS_GROUPBOX, 0, 0, {kFrameLeft, kFrameTop, 5175, 3225}});
    Label1_.Create(*this,
                   {WC_STATICW, L"Répertoire d'archivage", kLabel, 0, 0, InFrame(240, 240, 2895, 255)});
    Label2_.Create(*this, {WC_STATICW, L"Choisissez un identifiant personnel qui valide les fichiers .REG",
                           kLabel, 0, 0, InFrame(360, 2520, 4575, 255)});
    // SS_NOTIFY: the label takes the mouse, so that its tip shows.
    lblSignature_.Create(*this, {WC_STATICW, L"Signature :", kLabel | SS_NOTIFY, 0,
                                 IDC_OPTIONS_SIGNATURE_LABEL, InFrame(360, 2880, 975, 255)});
    // Tab order is creation order: OK, Annuler, Appliquer, the directories, the signature, the drives.
    cmdOK_.Create(*this, {WC_BUTTONW, L"OK", kButton, 0, IDC_OPTIONS_OK, {2040, 3720, 1095, 375}});
    cmdCancel_.Create(*this, {WC_BUTTONW, L"Annuler", kButton, 0, IDCANCEL, {3240, 3720, 1095, 375}});
    cmdApply_.Create(*this,
                     {WC_BUTTONW, L"Appliquer", kButton, 0, IDC_OPTIONS_APPLY, {4440, 3720, 1095, 375}});
    Dir1_.Create(*this, IDC_OPTIONS_DIRECTORY, InFrame(240, 960, 2055, 1440));
    txtSignature_.Create(*this, {WC_EDITW, L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                                 IDC_OPTIONS_SIGNATURE, InFrame(1200, 2880, 2415, 285)});
    txtSignature_.Send(EM_SETLIMITTEXT, 0);  // no limit of its own
    Drive1_.Create(*this, IDC_OPTIONS_DRIVE, InFrame(240, 480, 2055, kDriveListOpenHeight));
    PlaceControls();

    tooltips_.Create(hwnd());
    tooltips_.Add(lblSignature_.hwnd(), L"Permet d'identifier vos fichiers .reg");
}

void OptionsDialog::FillSignature() {
    platform::Platform& platform = engine_.platform;
    std::string signature = app::ReadSignature(platform.profile, engine_.startup.IniFile);
    if (signature != app::kNoSignature) {
        txtSignature_.SetText(AnsiToWide(signature));
        return;
    }
    // No signature stored yet: the login name is proposed, before the dialog shows.
    std::optional<std::string> answer = platform.prompt.AskText(
        "Choisissez un identifiant personnel, qui validera les\r\nfichier .REG qui seront autorisés",
        "Initialisation", WideToUtf8(LoginName()));
    txtSignature_.SetText(Utf8ToWide(answer.value_or("")));
}

bool OptionsDialog::Apply() {
    std::optional<std::string> directory = platform::win32::WideToAnsiExact(Dir1_.Path());
    std::optional<std::string> signature = platform::win32::WideToAnsiExact(txtSignature_.Text());
    if (!directory || !signature) {
        // The settings file holds ANSI text only: such a character would be lost.
        engine::ShowMessage(engine_.platform,
                            std::string(directory ? "La signature" : "Le répertoire") +
                                " contient des caractères que la page de code du système ne "
                                "peut pas représenter.");
        return false;
    }
    app::ArchiveOptions options{app::NormaliseArchiveDirectory(*directory), *signature};
    Dir1_.SetPath(AnsiToWide(options.directory));
    if (!app::ApplyArchiveOptions(engine_.platform, engine_.startup.IniFile, options)) {
        return false;
    }
    pointFileList_(engine::RegistryFilesDirectory(options.directory));
    return true;
}

void OptionsDialog::OnDriveChanged() {
    std::wstring root = Drive1_.SelectedRoot();
    // The drive's own current directory, as the system keeps one for each drive.
    wchar_t current[MAX_PATH] = {};
    DWORD length = ::GetFullPathNameW(root.substr(0, 2).c_str(), MAX_PATH, current, nullptr);
    if (length == 0 || length >= MAX_PATH || !Dir1_.SetPath(current)) {
        engine::ShowMessage(engine_.platform,
                            "Le lecteur " + WideToUtf8(root.substr(0, 2)) + " n'est pas prêt.");
        Drive1_.RestorePrevious();
        return;
    }
    Drive1_.AcceptSelection();
}

void OptionsDialog::OnCommand(int id, int code, HWND) {
    switch (id) {
        case IDC_OPTIONS_APPLY:
            Apply();
            break;
        case IDC_OPTIONS_OK:
            if (Apply()) {
                Close();
            }
            break;
        case IDCANCEL:
            Close();
            break;
        case IDC_OPTIONS_DIRECTORY:
            if (code == LBN_DBLCLK) {
                Dir1_.OnDoubleClick();
            }
            break;
        case IDC_OPTIONS_DRIVE:
            if (code == CBN_SELCHANGE) {
                OnDriveChanged();
            }
            break;
    }
}

LRESULT OptionsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight =
                static_cast<UINT>(DirectoryList::ItemHeight(Dpi()));
            return TRUE;
        case WM_DRAWITEM:
            if (wParam == IDC_OPTIONS_DIRECTORY) {
                Dir1_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            break;
    }
    return Window::OnMessage(message, wParam, lParam);
}

void OptionsDialog::OnDpiChanged() {
    Dir1_.OnDpiChanged(Dpi());
}

}  // namespace claverix::ui
