#include "ui/MainWindow/MainWindow.h"

#include <commdlg.h>
#include <shellapi.h>

#include "app/Archive.h"
#include "app/Settings.h"
#include "engine/Analysis.h"
#include "engine/Merge.h"
#include "engine/RegFileWriter.h"
#include "engine/Reporting.h"
#include "platform/win32/Text.h"
#include "ui/AboutBox/AboutBox.h"
#include "ui/OptionsDialog/OptionsDialog.h"
#include "ui/RestorationViewer/RestorationViewer.h"
#include "ui/common/MessageLoop.h"

namespace claverix::ui {

using platform::win32::AnsiToWide;
using platform::win32::Utf8ToWide;
using platform::win32::WideToAnsiExact;
using platform::win32::WideToUtf8;

namespace {

constexpr wchar_t kRegistryMode[] = L"Fichiers &REG";
constexpr wchar_t kRestorationMode[] = L"Fichiers &Restauration";
constexpr wchar_t kNoComment[] = L"Pas de commentaire";

// Posted to itself for each further slice of a long content.
constexpr UINT kAppendContent = WM_APP + 1;
// Characters a slice holds, up to the end of a line. The first is small, so
// that the file shows at once; each further one doubles, up to a size that
// takes the box under a second to lay out where that is slow (Wine), since
// every slice also costs the box a pass over the text it holds.
constexpr std::size_t kFirstContentSlice = 64 * 1024;
constexpr std::size_t kLargestContentSlice = 1024 * 1024;

// The engine's text of a file (ANSI bytes, or UTF-8 for a UTF-16 file) as a box shows it.
std::wstring Shown(const std::string& text, engine::TextEncoding encoding) {
    return encoding == engine::TextEncoding::Utf16 ? Utf8ToWide(text) : AnsiToWide(text);
}

// A box's text in the file's encoding; nullopt when an ANSI file cannot hold it.
std::optional<std::string> Stored(const std::wstring& shown, engine::TextEncoding encoding) {
    if (encoding == engine::TextEncoding::Utf16) {
        return WideToUtf8(shown);
    }
    return WideToAnsiExact(shown);
}

// What the window shows of a file's text is written back unchanged: no NUL
// cuts it short, and every character goes back to the same bytes.
bool ShowsFaithfully(const std::string& text, const std::wstring& shown, engine::TextEncoding encoding) {
    return text.find('\0') == std::string::npos && Stored(shown, encoding) == text;
}

bool IsMenuAccessKey(WPARAM character) {
    switch (towlower(static_cast<wint_t>(character))) {
        case L'f':
        case L'e':
        case L'c':
        case L'?':
            return true;
    }
    return false;
}

// Whether a click can reach the box: its menu item acts only then.
bool IsClickable(const CheckBox& box) {
    return ::IsWindowEnabled(box.hwnd()) && box.IsVisible();
}

std::wstring WithoutTrailingLineEnds(std::wstring text) {
    while (text.ends_with(L"\r\n")) {
        text.resize(text.size() - 2);
    }
    return text;
}

}  // namespace

MainWindow::MainWindow(engine::Engine& engine, std::function<void()> onClosed)
    : engine_(engine), onClosed_(std::move(onClosed)) {}

MainWindow::~MainWindow() {
    Close();
}

bool MainWindow::Load() {
    WindowSetup setup;
    setup.caption = L"Claverix";
    setup.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    setup.exStyle = WS_EX_ACCEPTFILES;
    setup.menu = CreateMenuBar();
    setup.clientWidth = 9420;
    setup.clientHeight = 6255;
    if (!Create(setup)) {
        return false;
    }
    const ACCEL shortcuts[] = {{FCONTROL | FVIRTKEY, 'F', IDM_FIND}, {FVIRTKEY, VK_F3, IDM_FINDNEXT}};
    accelerators_.Reset(::CreateAcceleratorTableW(const_cast<ACCEL*>(shortcuts), 2));
    CreateControls();

    filList_.SetDirectory(engine::RegistryFilesDirectory(engine_.startup.ArchivePath));
    SelectFirstFile();
    WriteHandlerRegistrationFile();
    return true;
}

void MainWindow::Show() {
    ::ShowWindow(hwnd(), SW_SHOW);
    ApplyLayout();
    ::SetForegroundWindow(hwnd());
    filList_.Focus();
}

HMENU MainWindow::CreateMenuBar() const {
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, IDM_OPEN, L"&Fusionner");
    ::AppendMenuW(file, MF_STRING, IDM_IMPORT, L"&Importer");
    ::AppendMenuW(file, MF_STRING, IDM_UNDO, L"Fichier de resta&uration");
    ::AppendMenuW(file, MF_STRING, IDM_QUIT, L"&Quitter");
    HMENU edit = ::CreatePopupMenu();
    ::AppendMenuW(edit, MF_STRING, IDM_FIND, L"&Recherche\tCtrl+F");
    ::AppendMenuW(edit, MF_STRING, IDM_FINDNEXT, L"Recherche &suivant\tF3");
    HMENU commands = ::CreatePopupMenu();
    ::AppendMenuW(commands, MF_STRING, IDM_SIGN, L"&Signer");
    ::AppendMenuW(commands, MF_STRING, IDM_NOUNDO, L"&Pas de restauration");
    ::AppendMenuW(commands, MF_STRING, IDM_OPTIONS, L"&Options");
    HMENU help = ::CreatePopupMenu();
    ::AppendMenuW(help, MF_STRING, IDM_ABOUT, L"&A Propos");
    HMENU bar = ::CreateMenu();
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&Fichier");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Editer");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(commands), L"&Commandes");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&?");
    return bar;
}

void MainWindow::CreateControls() {
    constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    constexpr DWORD kTextBox = WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE |
                               ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN;
    // Tab order is creation order.
    filList_.Create(*this, IDC_MAIN_FILES, layout_.filList);
    txtContent_.Create(*this, {WC_EDITW, L"Contenu du fichier REG\r\n", kTextBox, WS_EX_CLIENTEDGE,
                               IDC_MAIN_CONTENT, layout_.txtContent});
    txtComment_.Create(*this, {WC_EDITW, L"Zone de commentaire", kTextBox, WS_EX_CLIENTEDGE, IDC_MAIN_COMMENT,
                               layout_.txtComment});
    // A file of any size shows whole, and is written back whole.
    txtContent_.Send(EM_SETLIMITTEXT, 0);
    txtComment_.Send(EM_SETLIMITTEXT, 0);
    chkNoUndo_.Create(
        *this, {WC_BUTTONW, L"Pas de restauration", WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_AUTOCHECKBOX,
                0, IDC_MAIN_NOUNDO, layout_.chkNoUndo});
    chkSigne_.Create(*this, {WC_BUTTONW, L"Signé", WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_AUTOCHECKBOX, 0,
                             IDC_MAIN_SIGNE, layout_.chkSigne});
    cmdListe_.Create(*this, {WC_BUTTONW, kRegistryMode, kButton, 0, IDC_MAIN_LISTE, layout_.cmdListe});
    cmdApply_.Create(*this, {WC_BUTTONW, L"&Fusionner", kButton, 0, IDC_MAIN_APPLY, layout_.cmdApply});
    cmdShowUndo_.Create(*this,
                        {WC_BUTTONW, L"&Voir restaur.", kButton, 0, IDC_MAIN_SHOWUNDO, layout_.cmdShowUndo});

    tooltips_.Create(hwnd());
    tooltips_.Add(cmdListe_.hwnd(), L"Bascule mode REG / Restauration");
    tooltips_.Add(filList_.hwnd(), L"Double clic pour lancer la fusion");
    tooltips_.Add(chkSigne_.hwnd(), L"Cocher pour signer le fichier REG");
    tooltips_.Add(chkNoUndo_.hwnd(), L"Cocher pour ne pas générer de sauvegarde");
    tooltips_.Add(txtContent_.hwnd(), L"Double clic pour afficher le fichier de restauration");

    Subclass(txtComment_.hwnd(),
             [this](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
                 switch (message) {
                     case WM_KILLFOCUS:
                         // Only a move to another control of this window validates: a message
                         // box or another program taking the focus must not rewrite the file.
                         if (::IsChild(hwnd(), reinterpret_cast<HWND>(wParam))) {
                             ValidateComment();
                         }
                         break;
                     case WM_LBUTTONDBLCLK: {
                         LRESULT result = ::DefSubclassProc(txtComment_.hwnd(), message, wParam, lParam);
                         txtComment_.Send(EM_SETSEL, 0, -1);
                         return result;
                     }
                 }
                 return std::nullopt;
             });
    Subclass(txtContent_.hwnd(),
             [this](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
                 if (message != WM_LBUTTONDBLCLK) {
                     return std::nullopt;
                 }
                 LRESULT result = ::DefSubclassProc(txtContent_.hwnd(), message, wParam, lParam);
                 ShowRestoration();
                 return result;
             });
    PlaceControls();
}

void MainWindow::WriteHandlerRegistrationFile() {
    platform::Platform& platform = engine_.platform;
    std::string programDirectory = app::ExecutableDirectory(platform.environment.ExecutablePath());
    std::string text =
        engine::HandlerRegistrationText(platform.codec, programDirectory, engine_.startup.Signature);
    const std::string_view pieces[] = {text};
    if (platform.files.Replace(engine::HandlerRegistrationPath(programDirectory), pieces)) {
        engine::ShowMessage(platform, "Impossible de créer \"Enregistre CLAVERIX.reg\"");
    }
}

void MainWindow::ApplyLayout() {
    if (::IsIconic(hwnd())) {
        return;  // a minimised window keeps its controls where they were
    }
    TwipsRect outer = OuterRect();
    LayOut(layout_, outer.width, outer.height);
    filList_.rect = layout_.filList;
    txtContent_.rect = layout_.txtContent;
    txtComment_.rect = layout_.txtComment;
    chkNoUndo_.rect = layout_.chkNoUndo;
    chkSigne_.rect = layout_.chkSigne;
    cmdListe_.rect = layout_.cmdListe;
    cmdApply_.rect = layout_.cmdApply;
    cmdShowUndo_.rect = layout_.cmdShowUndo;
    PlaceControls();
}

void MainWindow::OnSize(UINT) {
    ApplyLayout();
}

// --- The file the window shows ---

void MainWindow::SelectionLoad(int index) {
    LoadingFile = true;
    chkSigne_.SetChecked(false);
    chkNoUndo_.SetChecked(false);
    std::string directory = filList_.Directory();
    const std::string name = filList_.NameAt(index);
    engine::AnalyseRegFile(engine_, directory, name);
    if (engine_.state.FileName != name) {
        // Renamed back to its recorded name: the list is read again and its
        // entry at the same place loaded, which is the file under its new
        // name unless that name sorts elsewhere.
        filList_.SetDirectory(directory);
        if (index < filList_.Count()) {
            filList_.Select(index);
            SelectionLoad(index);
        } else {
            ClearView();
        }
        return;
    }
    ShowAnalysis(directory, index);
    LoadingFile = false;
}

void MainWindow::ShowAnalysis(const std::string& directory, int index) {
    const engine::EngineState& state = engine_.state;
    std::wstring comment = Shown(state.CommentText, state.Encoding);
    std::wstring content = Shown(state.ContentText, state.Encoding);
    txtComment_.SetText(comment.empty() ? kNoComment : comment);
    chkSigne_.SetChecked(state.IsSigned);
    chkNoUndo_.SetChecked(state.NoUndo);
    // A file the analysis could not read shows nothing of itself, and what
    // would not come back byte for byte from the boxes must never be written.
    bool rewritable = !state.ImportBlocked && ShowsFaithfully(state.CommentText, comment, state.Encoding) &&
                      ShowsFaithfully(state.ContentText, content, state.Encoding);
    loaded_ = LoadedFile{directory, filList_.NameAt(index), rewritable};
    ShowContent(std::move(content));
    SetEditable(rewritable && ContentComplete());
}

void MainWindow::ShowContent(std::wstring content) {
    pendingContent_ = std::move(content);
    pendingOffset_ = 0;
    contentSlice_ = kFirstContentSlice;
    txtContent_.SetText(NextContentSlice());
    if (!ContentComplete()) {
        ::PostMessageW(hwnd(), kAppendContent, 0, 0);
    }
}

// The next slice of the content on its way, up to a line's end; the last one
// empties what is on its way.
std::wstring MainWindow::NextContentSlice() {
    std::size_t end =
        pendingContent_.find(L"\r\n", std::min(pendingOffset_ + contentSlice_, pendingContent_.size()));
    contentSlice_ = std::min(contentSlice_ * 2, kLargestContentSlice);
    end = end == std::wstring::npos ? pendingContent_.size() : end + 2;
    std::wstring slice = pendingContent_.substr(pendingOffset_, end - pendingOffset_);
    pendingOffset_ = end;
    if (pendingOffset_ == pendingContent_.size()) {
        pendingContent_.clear();
        pendingOffset_ = 0;
    }
    return slice;
}

void MainWindow::AppendContent() {
    if (ContentComplete()) {
        return;  // another file has come into view since
    }
    // Appended at the end, where the box moves its caret: the user's place is kept.
    DWORD start = 0;
    DWORD end = 0;
    txtContent_.Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    LRESULT firstLine = txtContent_.Send(EM_GETFIRSTVISIBLELINE);
    txtContent_.Send(WM_SETREDRAW, FALSE);
    // Asking the box for its length would cost another pass over its text.
    auto length = static_cast<LPARAM>(pendingOffset_);
    txtContent_.Send(EM_SETSEL, static_cast<WPARAM>(length), length);
    std::wstring slice = NextContentSlice();
    txtContent_.Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(slice.c_str()));
    txtContent_.Send(EM_SETSEL, start, static_cast<LPARAM>(end));
    txtContent_.Send(EM_LINESCROLL, 0, firstLine - txtContent_.Send(EM_GETFIRSTVISIBLELINE));
    txtContent_.Send(WM_SETREDRAW, TRUE);
    ::InvalidateRect(txtContent_.hwnd(), nullptr, TRUE);
    if (!ContentComplete()) {
        ::PostMessageW(hwnd(), kAppendContent, 0, 0);
    } else if (std::optional<LoadedFile> file = CurrentFile()) {
        SetEditable(file->rewritable);
    }
}

void MainWindow::ClearView() {
    LoadingFile = true;
    loaded_.reset();
    txtComment_.SetText(L"");
    ShowContent(L"");
    chkSigne_.SetChecked(false);
    chkNoUndo_.SetChecked(false);
    SetEditable(false);
    LoadingFile = false;
}

void MainWindow::SetEditable(bool editable) {
    chkSigne_.Enable(editable);
    chkNoUndo_.Enable(editable);
    txtComment_.Send(EM_SETREADONLY, !editable);
    txtContent_.Send(EM_SETREADONLY, !editable);
}

void MainWindow::SelectFirstFile() {
    if (filList_.Count() == 0) {
        ClearView();
        return;
    }
    filList_.Select(0);
    SelectionLoad(0);
}

void MainWindow::SelectByCode(int index) {
    CommitPendingComment();
    if (index < 0 || index >= filList_.Count() || (index == filList_.SelectedIndex() && CurrentFile())) {
        return;
    }
    filList_.Select(index);
    SelectionLoad(index);
}

std::optional<MainWindow::LoadedFile> MainWindow::CurrentFile() const {
    int index = filList_.SelectedIndex();
    if (!loaded_ || index < 0 || filList_.Directory() != loaded_->directory ||
        filList_.NameAt(index) != loaded_->name) {
        return std::nullopt;
    }
    return loaded_;
}

void MainWindow::PointListAt(const std::string& directory) {
    CommitPendingComment();
    filList_.SetDirectory(directory);
    AfterListRefresh();
}

// Reads the list's directory again, after a command has added or removed files there.
void MainWindow::RefreshList() {
    filList_.Refresh();
    AfterListRefresh();
}

// After the list was read again: what it no longer shows is no longer edited.
void MainWindow::AfterListRefresh() {
    if (filList_.Count() == 0) {
        ClearView();
    } else if (!CurrentFile()) {
        SetEditable(false);
    }
}

// --- Commands ---

void MainWindow::SwitchMode() {
    CommitPendingComment();
    const std::string& archive = engine_.startup.ArchivePath;
    if (cmdListe_.Text() == kRegistryMode) {
        cmdListe_.SetText(kRestorationMode);
        chkSigne_.Show(false);
        chkNoUndo_.Show(false);
        filList_.SetDirectory(engine::RestorationFilesDirectory(archive));
        // The previous file stays in view until a restoration file is chosen.
        AfterListRefresh();
    } else {
        cmdListe_.SetText(kRegistryMode);
        chkSigne_.Show(true);
        chkNoUndo_.Show(true);
        filList_.SetDirectory(engine::RegistryFilesDirectory(archive));
        SelectFirstFile();
    }
}

void MainWindow::Merge() {
    std::optional<LoadedFile> file = CurrentFile();
    // The engine state is the shown file's analysis: only selecting a file analyses one.
    if (!file || engine_.state.ImportBlocked) {
        return;  // nothing selected, or a file the analysis has refused
    }
    CommitPendingComment();
    // The file may have been rewritten since its analysis: what is saved is
    // what the importer is about to read. The question follows the marks
    // the file had when it was selected.
    std::optional<engine::RestorationText> restoration =
        engine::CurrentRestorationText(engine_, file->directory, file->name);
    if (!restoration) {
        return;
    }
    engine::MergeRegFile(engine_, file->directory, file->name, *restoration);
    RefreshList();
}

void MainWindow::Import() {
    wchar_t path[32768] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd();
    dialog.lpstrFilter = L"Fichiers Reg\0*.reg\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = static_cast<DWORD>(std::size(path));
    dialog.lpstrTitle = L"Importation de fichiers Reg";
    dialog.lpstrDefExt = L"reg";
    dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_LONGNAMES;
    if (!::GetOpenFileNameW(&dialog)) {
        return;  // cancelled
    }
    std::optional<std::string> ansiPath = WideToAnsiExact(path);
    if (!ansiPath) {
        engine::ShowMessage(engine_.platform,
                            "Le chemin de ce fichier contient des caractères que la page de code "
                            "du système ne peut pas représenter.");
        return;
    }
    CommitPendingComment();
    if (app::ImportIntoArchive(engine_.platform, engine_.startup.ArchivePath, *ansiPath)) {
        RefreshList();
    }
}

void MainWindow::ImportDropped(HDROP drop) {
    CommitPendingComment();
    bool imported = false;
    UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        std::optional<std::string> ansiPath = WideToAnsiExact(path);
        if (ansiPath && app::IsRegFileName(*ansiPath)) {
            imported |= app::ImportIntoArchive(engine_.platform, engine_.startup.ArchivePath, *ansiPath);
        }
    }
    ::DragFinish(drop);
    if (imported) {
        RefreshList();
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
    if (!LoadingFile) {
        RewriteFile();
    }
}

void MainWindow::ValidateComment() {
    std::wstring comment = txtComment_.Text();
    std::wstring trimmed = WithoutTrailingLineEnds(comment);
    if (trimmed != comment) {
        txtComment_.SetText(trimmed);
    }
    txtComment_.Send(EM_SETMODIFY, FALSE);
    if (!LoadingFile) {
        RewriteFile();
    }
}

// A comment typed and not validated yet is saved before the window moves on.
void MainWindow::CommitPendingComment() {
    if (txtComment_.Send(EM_GETMODIFY) != 0) {
        ValidateComment();
    }
}

void MainWindow::RewriteFile() {
    std::optional<LoadedFile> file = CurrentFile();
    if (!file || !file->rewritable || !ContentComplete()) {
        return;
    }
    const engine::EngineState& state = engine_.state;
    std::optional<std::string> comment = Stored(txtComment_.Text(), state.Encoding);
    std::optional<std::string> content = Stored(txtContent_.Text(), state.Encoding);
    if (!comment || !content) {
        engine::ShowMessage(
            engine_.platform,
            "Le commentaire ou le contenu contient des caractères que la page de code du système ne "
            "peut pas représenter : le fichier n'est pas modifié.");
        return;
    }
    engine::RewriteRequest request;
    request.directory = file->directory;
    request.fileName = file->name;
    request.encoding = state.Encoding;
    request.headerLine = state.HeaderLine;
    request.headerEncoding = state.HeaderEncoding;
    request.signature = engine_.startup.Signature;
    request.isSigned = chkSigne_.IsChecked();
    request.noUndo = chkNoUndo_.IsChecked();
    request.isUndoFile = engine_.state.IsUndoFile;
    request.comment = *comment;
    request.content = *content;
    engine::RewriteRegFile(engine_.platform, request);
}

void MainWindow::ShowOptions() {
    CommitPendingComment();
    OptionsDialog options(engine_, [this](const std::string& directory) { PointListAt(directory); });
    options.ShowModal(hwnd());
}

void MainWindow::ShowRestoration() {
    RestorationViewer viewer(engine_);
    viewer.ShowModal(hwnd(), Shown(engine_.state.RestoreText, engine_.state.RestoreEncoding));
}

void MainWindow::ShowAbout() {
    AboutBox about(engine_.platform);
    about.ShowModal(hwnd());
}

// Find asks for a string; Find next searches the last one again at once.
void MainWindow::Find(bool again) {
    if (!again) {
        search_.SearchText.clear();
    }
    if (searchDialog_.ShowModal(hwnd())) {
        SelectByCode(static_cast<int>(search_.SearchIndex));
    }
}

// --- Messages ---

void MainWindow::OnCommand(int id, int code, HWND) {
    switch (id) {
        case IDC_MAIN_FILES:
            if (code == LBN_SELCHANGE) {
                // The list also says so when the click lands on the file already shown.
                if (int index = filList_.SelectedIndex(); index >= 0 && !CurrentFile()) {
                    SelectionLoad(index);
                }
            } else if (code == LBN_DBLCLK) {
                Merge();
            }
            break;
        case IDC_MAIN_LISTE:
            SwitchMode();
            break;
        case IDC_MAIN_APPLY:
        case IDM_OPEN:
            Merge();
            break;
        case IDC_MAIN_SIGNE:
        case IDC_MAIN_NOUNDO:
            if (code == BN_CLICKED) {
                Toggle(id == IDC_MAIN_SIGNE ? chkSigne_ : chkNoUndo_, false);
            }
            break;
        case IDM_SIGN:
            Toggle(chkSigne_, true);
            break;
        case IDM_NOUNDO:
            Toggle(chkNoUndo_, true);
            break;
        case IDM_IMPORT:
            Import();
            break;
        case IDC_MAIN_SHOWUNDO:
        case IDM_UNDO:
            ShowRestoration();
            break;
        case IDM_FIND:
        case IDM_FINDNEXT:
            Find(id == IDM_FINDNEXT);
            break;
        case IDM_ABOUT:
            ShowAbout();
            break;
        case IDM_OPTIONS:
            ShowOptions();
            break;
        case IDM_QUIT:
            OnClose();
            break;
    }
}

bool MainWindow::PreTranslateMessage(MSG& message) {
    if (accelerators_ && ::TranslateAcceleratorW(hwnd(), accelerators_.Get(), &message)) {
        return true;
    }
    bool isEscape =
        (message.message == WM_KEYDOWN || message.message == WM_CHAR) && message.wParam == VK_ESCAPE;
    if (isEscape) {
        return true;  // a multi-line box would take it for a close of the whole window
    }
    if (message.message == WM_SYSCHAR && IsMenuAccessKey(message.wParam)) {
        return false;  // Alt+F opens the "Fichier" menu, it does not merge
    }
    return Window::PreTranslateMessage(message);
}

void MainWindow::OnClose() {
    // The comment being typed is saved, as leaving its box would save it.
    if (::GetFocus() == txtComment_.hwnd() || txtComment_.Send(EM_GETMODIFY) != 0) {
        ValidateComment();
    }
    Close();
}

void MainWindow::OnDestroy() {
    if (onClosed_) {
        onClosed_();
    }
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DROPFILES:
            ImportDropped(reinterpret_cast<HDROP>(wParam));
            return 0;
        case kAppendContent:
            AppendContent();
            return 0;
        case WM_INITMENUPOPUP: {
            auto menu = reinterpret_cast<HMENU>(wParam);
            auto state = [](const CheckBox& box) { return IsClickable(box) ? MF_ENABLED : MF_GRAYED; };
            ::EnableMenuItem(menu, IDM_SIGN, MF_BYCOMMAND | state(chkSigne_));
            ::EnableMenuItem(menu, IDM_NOUNDO, MF_BYCOMMAND | state(chkNoUndo_));
            return 0;
        }
    }
    return Window::OnMessage(message, wParam, lParam);
}

}  // namespace claverix::ui
