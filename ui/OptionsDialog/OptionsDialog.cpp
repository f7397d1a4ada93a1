#include "ui/OptionsDialog/OptionsDialog.h"

#include <lmcons.h>

#include "app/Archive.h"
#include "app/Settings.h"
#include "engine/ArchivePaths.h"
#include "engine/Reporting.h"
#include "platform/win32/Text.h"

namespace claverix::ui {

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

OptionsDialog::OptionsDialog(platform::Platform& platform, std::string iniFile, OnApplied onApplied)
    : platform_(platform), iniFile_(std::move(iniFile)), onApplied_(std::move(onApplied)) {}

bool OptionsDialog::Load(HWND owner) {
    if (!Create(DialogSetup(L"Options", owner, 5760, 4260))) {
        return false;
    }
    CreateControls();
    CentreOnScreen();

    std::string programDirectory = app::ExecutableDirectory(platform_.environment.ExecutablePath());
    std::string stored = app::ReadArchivePath(platform_.profile, iniFile_, programDirectory).directory;
    directoryList_.SetPath(
        Utf8ToWide(app::ArchiveDirectoryToShow(platform_.files, stored, programDirectory)));
    FillSignature();
    okButton_.Focus();
    return true;
}

void OptionsDialog::CreateControls() {
    constexpr DWORD kLabel = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    configurationFrame_.Create(
        *this,
        {WC_BUTTONW, L"Configuration", WS_VISIBLE | BS_GROUPBOX, 0, 0, {kFrameLeft, kFrameTop, 5175, 3225}});
    archiveLabel_.Create(*this,
                         {WC_STATICW, L"Répertoire d'archivage", kLabel, 0, 0, InFrame(240, 240, 2895, 255)});
    signatureHint_.Create(
        *this, {WC_STATICW, L"Choisissez un identifiant personnel qui valide les fichiers .REG", kLabel, 0, 0,
                InFrame(360, 2520, 4575, 255)});
    // SS_NOTIFY: the label takes the mouse, so that its tip shows.
    signatureLabel_.Create(*this, {WC_STATICW, L"Signature :", kLabel | SS_NOTIFY, 0,
                                   IDC_OPTIONS_SIGNATURE_LABEL, InFrame(360, 2880, 975, 255)});
    // In Tab order: OK, Annuler, Appliquer, the directories, the signature, the drives.
    okButton_.Create(*this, {WC_BUTTONW, L"OK", kButton, 0, IDC_OPTIONS_OK, {2040, 3720, 1095, 375}});
    cancelButton_.Create(*this, {WC_BUTTONW, L"Annuler", kButton, 0, IDCANCEL, {3240, 3720, 1095, 375}});
    applyButton_.Create(*this,
                        {WC_BUTTONW, L"Appliquer", kButton, 0, IDC_OPTIONS_APPLY, {4440, 3720, 1095, 375}});
    directoryList_.Create(*this, IDC_OPTIONS_DIRECTORY_LIST, InFrame(240, 960, 2055, 1440));
    signatureBox_.Create(*this, {WC_EDITW, L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                                 IDC_OPTIONS_SIGNATURE, InFrame(1200, 2880, 2415, 285)});
    signatureBox_.Send(EM_SETLIMITTEXT, 0);  // no limit of its own
    driveList_.Create(*this, IDC_OPTIONS_DRIVE_LIST, InFrame(240, 480, 2055, kDriveListOpenHeight));
    PlaceControls();

    tooltips_.Create(hwnd());
    tooltips_.Add(signatureLabel_.hwnd(), L"Permet d'identifier vos fichiers .reg");
}

void OptionsDialog::FillSignature() {
    std::string signature = app::ReadSignature(platform_.profile, iniFile_);
    if (signature != app::kNoSignature) {
        signatureBox_.SetText(Utf8ToWide(signature));
        return;
    }
    // No signature stored yet: the login name is proposed, before the dialog shows.
    std::optional<std::string> answer = platform_.prompt.AskText(
        "Choisissez un identifiant personnel, qui validera les\r\nfichier .REG qui seront autorisés",
        "Initialisation", WideToUtf8(LoginName()));
    signatureBox_.SetText(Utf8ToWide(answer.value_or("")));
}

bool OptionsDialog::Apply() {
    app::ArchiveOptions options{app::NormaliseArchiveDirectory(WideToUtf8(directoryList_.Path())),
                                WideToUtf8(signatureBox_.Text())};
    directoryList_.SetPath(Utf8ToWide(options.directory));
    if (!app::ApplyArchiveOptions(platform_, iniFile_, options)) {
        return false;
    }
    onApplied_(options);
    return true;
}

void OptionsDialog::OnDriveChanged() {
    std::wstring root = driveList_.SelectedRoot();
    // The drive's own current directory, as the system keeps one for each
    // drive, or its root when that directory is gone.
    wchar_t current[MAX_PATH] = {};
    DWORD length = ::GetFullPathNameW(root.substr(0, 2).c_str(), MAX_PATH, current, nullptr);
    bool opened = length != 0 && length < MAX_PATH && directoryList_.SetPath(current);
    if (!opened && !directoryList_.SetPath(root)) {
        engine::ShowMessage(platform_, "Le lecteur " + WideToUtf8(root.substr(0, 2)) + " n'est pas prêt.");
        driveList_.RestorePrevious();
        return;
    }
    driveList_.AcceptSelection();
}

void OptionsDialog::OnCommand(int id, int code) {
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
        case IDC_OPTIONS_DIRECTORY_LIST:
            if (code == LBN_DBLCLK) {
                directoryList_.OnDoubleClick();
            }
            break;
        case IDC_OPTIONS_DRIVE_LIST:
            if (code == CBN_SELCHANGE) {
                OnDriveChanged();
            }
            break;
    }
}

bool OptionsDialog::OnMeasureItem(int, MEASUREITEMSTRUCT& item) {
    item.itemHeight = static_cast<UINT>(DirectoryList::ItemHeight(Dpi()));
    return true;
}

bool OptionsDialog::OnDrawItem(int id, const DRAWITEMSTRUCT& item) {
    if (id != IDC_OPTIONS_DIRECTORY_LIST) {
        return false;
    }
    directoryList_.Draw(item);
    return true;
}

void OptionsDialog::OnDpiChanged() {
    directoryList_.OnDpiChanged(Dpi());
}

}  // namespace claverix::ui
