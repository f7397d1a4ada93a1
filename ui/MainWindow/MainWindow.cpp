#include "ui/MainWindow/MainWindow.h"

#include "app/HandlerRegistration.h"
#include "engine/ArchivePaths.h"
#include "engine/Reporting.h"
#include "platform/win32/Text.h"
#include "ui/MainWindow/MainMenu.h"
#include "ui/common/FileTextBoxes.h"

namespace claverix::ui {

namespace {

// The list mode button's caption names the list shown.
const wchar_t* CaptionOf(ListMode mode) {
    return mode == ListMode::RegistryFiles ? L"Fichiers &REG" : L"Fichiers &Restauration";
}

// Whether a click can reach the box: its menu item acts only then.
bool IsClickable(const CheckBox& box) {
    return ::IsWindowEnabled(box.hwnd()) && box.IsVisible();
}

}  // namespace

MainWindow::MainWindow(engine::Engine& engine, MainWindowDialogs& dialogs, std::function<void()> onClosed)
    : engine_(engine), dialogs_(dialogs), onClosed_(std::move(onClosed)), fileList_(engine.platform) {}

bool MainWindow::Load() {
    WindowSetup setup;
    setup.caption = platform::win32::Utf8ToWide(engine::kAppTitle);
    setup.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    setup.exStyle = WS_EX_ACCEPTFILES;
    setup.menu = CreateMainMenuBar();
    setup.clientWidth = 9420;
    setup.clientHeight = 6255;
    if (!Create(setup)) {
        return false;
    }
    ApplyStoredPlacement();
    const ACCEL shortcuts[] = {{FCONTROL | FVIRTKEY, 'F', IDM_FIND},
                               {FVIRTKEY, VK_F3, IDM_FIND_NEXT},
                               {FCONTROL | FVIRTKEY, 'P', IDM_PREVIEW},
                               {FVIRTKEY, VK_F5, IDM_REFRESH}};
    SetAccelerators(shortcuts);
    CreateControls();
    // Written before the list is read: when the archive is the program's own
    // directory, the list shows it from the first start.
    app::WriteHandlerRegistrationFile(engine_.platform, engine_.startup.Signature);
    fileList_.SetDirectory(engine::RegistryFilesDirectory(engine_.startup.ArchivePath));
    SelectAndLoadFirstFile();
    // Not needed to show the window: they follow once it answers.
    PostCall([this] { CreateTooltips(); });
    return true;
}

void MainWindow::Show() {
    ::ShowWindow(hwnd(), showsMaximised_ ? SW_SHOWMAXIMIZED : SW_SHOW);
    ApplyLayout();
    ::SetForegroundWindow(hwnd());
    fileList_.Focus();
}

void MainWindow::CreateControls() {
    constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    constexpr DWORD kTextBox = WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE |
                               ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN;
    // What a search selects in the content shows while the list keeps the focus.
    constexpr DWORD kContentBox = kTextBox | ES_NOHIDESEL;
    constexpr DWORD kCheckBox = WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_AUTOCHECKBOX;
    fileList_.Create(*this, IDC_MAIN_FILE_LIST, layout_.fileList);
    contentBox_.Create(*this,
                       {WC_EDITW, L"Contenu du fichier REG\r\n", kContentBox, WS_EX_CLIENTEDGE,
                        IDC_MAIN_CONTENT, layout_.contentBox},
                       [this] { ShowRestoration(); });
    commentBox_.Create(
        *this,
        {WC_EDITW, L"Zone de commentaire", kTextBox, WS_EX_CLIENTEDGE, IDC_MAIN_COMMENT, layout_.commentBox},
        [this] { ValidateComment(); });
    noRestorationBox_.Create(*this, {WC_BUTTONW, L"Pas de restauration", kCheckBox, 0,
                                     IDC_MAIN_NO_RESTORATION, layout_.noRestorationBox});
    signedBox_.Create(*this, {WC_BUTTONW, L"Signé", kCheckBox, 0, IDC_MAIN_SIGNED, layout_.signedBox});
    listModeButton_.Create(
        *this, {WC_BUTTONW, CaptionOf(listMode_), kButton, 0, IDC_MAIN_LIST_MODE, layout_.listModeButton});
    mergeButton_.Create(*this, {WC_BUTTONW, L"&Fusionner", kButton, 0, IDC_MAIN_MERGE, layout_.mergeButton});
    previewButton_.Create(*this,
                          {WC_BUTTONW, L"A&perçu", kButton, 0, IDC_MAIN_PREVIEW, layout_.previewButton});
    viewRestorationButton_.Create(*this, {WC_BUTTONW, L"&Voir restaur.", kButton, 0,
                                          IDC_MAIN_VIEW_RESTORATION, layout_.viewRestorationButton});

    contentBox_.OnComplete([this] {
        if (const LoadedFile* file = CurrentFile()) {
            SetEditable(file->rewritable);
        }
    });
    PlaceControls();
}

void MainWindow::CreateTooltips() {
    tooltips_.Create(hwnd());
    tooltips_.Add(listModeButton_.hwnd(), L"Bascule mode REG / Restauration");
    tooltips_.Add(fileList_.hwnd(), L"Double clic pour lancer la fusion");
    tooltips_.Add(previewButton_.hwnd(), L"Ce que la fusion changerait dans le registre");
    tooltips_.Add(signedBox_.hwnd(), L"Cocher pour signer le fichier REG");
    tooltips_.Add(noRestorationBox_.hwnd(), L"Cocher pour ne pas générer de sauvegarde");
    tooltips_.Add(contentBox_.hwnd(), L"Double clic pour afficher le fichier de restauration");
}

void MainWindow::ApplyLayout() {
    if (::IsIconic(hwnd())) {
        return;  // a minimised window keeps its controls where they were
    }
    TwipsRect client = ClientRect();
    layout_ = LayOut(client.width, client.height);
    fileList_.rect = layout_.fileList;
    contentBox_.rect = layout_.contentBox;
    commentBox_.rect = layout_.commentBox;
    noRestorationBox_.rect = layout_.noRestorationBox;
    signedBox_.rect = layout_.signedBox;
    listModeButton_.rect = layout_.listModeButton;
    mergeButton_.rect = layout_.mergeButton;
    previewButton_.rect = layout_.previewButton;
    previewButton_.Show(layout_.previewButtonFits);
    viewRestorationButton_.rect = layout_.viewRestorationButton;
    PlaceControls();
}

// --- Commands ---

void MainWindow::SwitchListMode() {
    if (!MayLeaveShownFile()) {
        return;
    }
    bool toRegistryFiles = listMode_ == ListMode::RestorationFiles;
    listMode_ = toRegistryFiles ? ListMode::RegistryFiles : ListMode::RestorationFiles;
    listModeButton_.SetText(CaptionOf(listMode_));
    signedBox_.Show(toRegistryFiles);
    noRestorationBox_.Show(toRegistryFiles);
    const std::string& archive = engine_.startup.ArchivePath;
    if (toRegistryFiles) {
        fileList_.SetDirectory(engine::RegistryFilesDirectory(archive));
        SelectAndLoadFirstFile();
    } else {
        fileList_.SetDirectory(engine::RestorationFilesDirectory(archive));
        // The previous file stays in view until a restoration file is chosen.
        LetGoOfUnselectedFile();
    }
}

void MainWindow::Toggle(CheckBox& box, bool fromMenu) {
    if (fromMenu) {
        // The menu item does what a click on the box does.
        if (!IsClickable(box)) {
            return;
        }
        box.SetChecked(!box.IsChecked());
    }
    if (!loadingFile_) {
        RewriteFile();
    }
}

void MainWindow::ShowOptions() {
    if (!MayLeaveShownFile()) {
        return;
    }
    dialogs_.ShowOptions(hwnd(), [this](const std::string& directory) { ShowFilesOf(directory); });
}

void MainWindow::ShowRestoration() {
    if (!loaded_) {
        // The view was cleared: the latest analysis belongs to no file shown.
        engine::ShowMessage(engine_.platform, kNoFileSelected);
        return;
    }
    // What a merge would save now, read from the registry for the bytes shown.
    engine::RestorationText restoration = engine::CurrentRestoration(engine_, loaded_->analysis);
    dialogs_.ShowRestoration(hwnd(), ShownText(restoration.text, restoration.encoding));
}

// Find asks for a string; Find next searches the last one again at once.
void MainWindow::Find(bool again) {
    if (!again) {
        search_.SearchText.clear();
    }
    app::ListedFiles files{fileList_.Directory(), fileList_.Names(), fileList_.SelectedIndex()};
    if (dialogs_.Search(hwnd(), search_, files)) {
        SelectAndLoad(static_cast<int>(search_.SearchIndex));
        SelectSoughtText();
    }
}

// --- Messages ---

void MainWindow::OnCommand(int id, int code) {
    switch (id) {
        case IDC_MAIN_FILE_LIST:
            if (code == LBN_SELCHANGE) {
                OnSelectionChanged();
            } else if (code == LBN_DBLCLK && fileList_.DoubleClickedAnEntry()) {
                Merge();
            }
            break;
        case IDC_MAIN_LIST_MODE:
            SwitchListMode();
            break;
        case IDC_MAIN_MERGE:
        case IDM_MERGE:
            Merge();
            break;
        case IDC_MAIN_PREVIEW:
        case IDM_PREVIEW:
            Preview();
            break;
        case IDC_MAIN_SIGNED:
        case IDC_MAIN_NO_RESTORATION:
            if (code == BN_CLICKED) {
                Toggle(id == IDC_MAIN_SIGNED ? signedBox_ : noRestorationBox_, false);
            }
            break;
        case IDM_SIGN:
            Toggle(signedBox_, true);
            break;
        case IDM_NO_RESTORATION:
            Toggle(noRestorationBox_, true);
            break;
        case IDM_ADD_FILES:
            ChooseFilesToAdd();
            break;
        case IDC_MAIN_VIEW_RESTORATION:
        case IDM_VIEW_RESTORATION:
            ShowRestoration();
            break;
        case IDM_DELETE:
            DeleteShownFile();
            break;
        case IDM_SHOW_IN_FOLDER:
            ShowShownFileInFolder();
            break;
        case IDM_FIND:
        case IDM_FIND_NEXT:
            Find(id == IDM_FIND_NEXT);
            break;
        case IDM_ABOUT:
            dialogs_.ShowAbout(hwnd());
            break;
        case IDM_OPTIONS:
            ShowOptions();
            break;
        case IDM_QUIT:
            OnClose();
            break;
        case IDM_REFRESH:
            if (MayLeaveShownFile()) {
                RereadListAndFile();
            }
            break;
        case IDM_REGISTER_OPENER:
            RegisterAsOpener();
            break;
    }
}

KeyHandling MainWindow::OnControlKey(KeyEvent event, WPARAM key) {
    if (event != KeyEvent::MenuCharacter && key == VK_ESCAPE) {
        return KeyHandling::Handled;  // a multi-line box would take it for a close of the whole window
    }
    if (event == KeyEvent::MenuCharacter && IsMainMenuAccessKey(static_cast<wchar_t>(key))) {
        return KeyHandling::ToControl;  // Alt+F opens "Fichier"; the dialog manager would merge
    }
    if (event == KeyEvent::Down && key == VK_DELETE && ::GetFocus() == fileList_.hwnd()) {
        DeleteShownFile();
        return KeyHandling::Handled;
    }
    return KeyHandling::AsInADialog;
}

void MainWindow::OnSize(UINT) {
    ApplyLayout();
}

void MainWindow::OnClose() {
    if (MayLeaveShownFile()) {
        StorePlacement();
        Close();
    }
}

// Log-off closes no window: what closing would save is saved now.
bool MainWindow::OnQueryEndSession() {
    return MayLeaveShownFile();
}

void MainWindow::OnDestroy() {
    if (onClosed_) {
        onClosed_();
    }
}

void MainWindow::OnInitMenuPopup(HMENU menu) {
    auto state = [](const CheckBox& box) { return IsClickable(box) ? MF_ENABLED : MF_GRAYED; };
    ::EnableMenuItem(menu, IDM_SIGN, MF_BYCOMMAND | state(signedBox_));
    ::EnableMenuItem(menu, IDM_NO_RESTORATION, MF_BYCOMMAND | state(noRestorationBox_));
}

}  // namespace claverix::ui
