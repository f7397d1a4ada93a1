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
    : engine_(engine), dialogs_(dialogs), onClosed_(std::move(onClosed)), filList_(engine.platform) {}

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
    filList_.SetDirectory(engine::RegistryFilesDirectory(engine_.startup.ArchivePath));
    SelectAndLoadFirstFile();
    // Not needed to show the window: they follow once it answers.
    PostCall([this] { CreateTooltips(); });
    return true;
}

void MainWindow::Show() {
    ::ShowWindow(hwnd(), showsMaximised_ ? SW_SHOWMAXIMIZED : SW_SHOW);
    ApplyLayout();
    ::SetForegroundWindow(hwnd());
    filList_.Focus();
}

void MainWindow::CreateControls() {
    constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    constexpr DWORD kTextBox = WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE |
                               ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN;
    // What a search selects in the content shows while the list keeps the focus.
    constexpr DWORD kContentBox = kTextBox | ES_NOHIDESEL;
    constexpr DWORD kCheckBox = WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_AUTOCHECKBOX;
    // Tab order is creation order.
    filList_.Create(*this, IDC_MAIN_FILE_LIST, layout_.filList);
    txtContent_.Create(*this,
                       {WC_EDITW, L"Contenu du fichier REG\r\n", kContentBox, WS_EX_CLIENTEDGE,
                        IDC_MAIN_CONTENT, layout_.txtContent},
                       [this] { ShowRestoration(); });
    txtComment_.Create(
        *this,
        {WC_EDITW, L"Zone de commentaire", kTextBox, WS_EX_CLIENTEDGE, IDC_MAIN_COMMENT, layout_.txtComment},
        [this] { ValidateComment(); });
    chkNoUndo_.Create(*this, {WC_BUTTONW, L"Pas de restauration", kCheckBox, 0, IDC_MAIN_NO_RESTORATION,
                              layout_.chkNoUndo});
    chkSigne_.Create(*this, {WC_BUTTONW, L"Signé", kCheckBox, 0, IDC_MAIN_SIGNED, layout_.chkSigne});
    listModeButton_.Create(
        *this, {WC_BUTTONW, CaptionOf(listMode_), kButton, 0, IDC_MAIN_LIST_MODE, layout_.cmdListe});
    mergeButton_.Create(*this, {WC_BUTTONW, L"&Fusionner", kButton, 0, IDC_MAIN_MERGE, layout_.cmdApply});
    previewButton_.Create(*this, {WC_BUTTONW, L"A&perçu", kButton, 0, IDC_MAIN_PREVIEW, layout_.cmdPreview});
    viewRestorationButton_.Create(
        *this, {WC_BUTTONW, L"&Voir restaur.", kButton, 0, IDC_MAIN_VIEW_RESTORATION, layout_.cmdShowUndo});

    txtContent_.OnComplete([this] {
        if (const LoadedFile* file = CurrentFile()) {
            SetEditable(file->rewritable);
        }
    });
    PlaceControls();
}

void MainWindow::CreateTooltips() {
    tooltips_.Create(hwnd());
    tooltips_.Add(listModeButton_.hwnd(), L"Bascule mode REG / Restauration");
    tooltips_.Add(filList_.hwnd(), L"Double clic pour lancer la fusion");
    tooltips_.Add(previewButton_.hwnd(), L"Ce que la fusion changerait dans le registre");
    tooltips_.Add(chkSigne_.hwnd(), L"Cocher pour signer le fichier REG");
    tooltips_.Add(chkNoUndo_.hwnd(), L"Cocher pour ne pas générer de sauvegarde");
    tooltips_.Add(txtContent_.hwnd(), L"Double clic pour afficher le fichier de restauration");
}

void MainWindow::ApplyLayout() {
    if (::IsIconic(hwnd())) {
        return;  // a minimised window keeps its controls where they were
    }
    TwipsRect client = ClientRect();
    layout_ = LayOut(client.width, client.height);
    filList_.rect = layout_.filList;
    txtContent_.rect = layout_.txtContent;
    txtComment_.rect = layout_.txtComment;
    chkNoUndo_.rect = layout_.chkNoUndo;
    chkSigne_.rect = layout_.chkSigne;
    listModeButton_.rect = layout_.cmdListe;
    mergeButton_.rect = layout_.cmdApply;
    previewButton_.rect = layout_.cmdPreview;
    previewButton_.Show(layout_.previewButtonFits);
    viewRestorationButton_.rect = layout_.cmdShowUndo;
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
    chkSigne_.Show(toRegistryFiles);
    chkNoUndo_.Show(toRegistryFiles);
    const std::string& archive = engine_.startup.ArchivePath;
    if (toRegistryFiles) {
        filList_.SetDirectory(engine::RegistryFilesDirectory(archive));
        SelectAndLoadFirstFile();
    } else {
        filList_.SetDirectory(engine::RestorationFilesDirectory(archive));
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
    app::ListedFiles files{filList_.Directory(), filList_.Names(), filList_.SelectedIndex()};
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
            } else if (code == LBN_DBLCLK && filList_.DoubleClickedAnEntry()) {
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
                Toggle(id == IDC_MAIN_SIGNED ? chkSigne_ : chkNoUndo_, false);
            }
            break;
        case IDM_SIGN:
            Toggle(chkSigne_, true);
            break;
        case IDM_NO_RESTORATION:
            Toggle(chkNoUndo_, true);
            break;
        case IDM_IMPORT:
            Import();
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
    if (event == KeyEvent::Down && key == VK_DELETE && ::GetFocus() == filList_.hwnd()) {
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
    ::EnableMenuItem(menu, IDM_SIGN, MF_BYCOMMAND | state(chkSigne_));
    ::EnableMenuItem(menu, IDM_NO_RESTORATION, MF_BYCOMMAND | state(chkNoUndo_));
}

}  // namespace claverix::ui
