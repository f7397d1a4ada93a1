// The main window's file: selecting, analysing and showing it, and writing
// back what the user changes of it.
#include "app/Search.h"
#include "engine/Analysis.h"
#include "engine/RegFileWriter.h"
#include "engine/Reporting.h"
#include "platform/win32/Text.h"
#include "ui/MainWindow/MainWindow.h"

namespace claverix::ui {

using platform::win32::AnsiToWide;
using platform::win32::Utf8ToWide;
using platform::win32::WideToAnsiExact;

namespace {

constexpr wchar_t kNoComment[] = L"Pas de commentaire";

// What the window shows of an ANSI text is written back unchanged: no NUL
// cuts it short, and every character goes back to the same byte.
bool ShowsFaithfully(const std::string& ansi, const std::wstring& shown) {
    return ansi.find('\0') == std::string::npos && WideToAnsiExact(shown) == ansi;
}

std::wstring WithoutTrailingLineEnds(std::wstring text) {
    while (text.ends_with(L"\r\n")) {
        text.resize(text.size() - 2);
    }
    return text;
}

// Up while the window fills its controls from a file: what it sets then is
// no edit of the user's. Put back as it was when the load ends, however it ends.
class LoadingGuard {
public:
    explicit LoadingGuard(bool& loading) : loading_(loading), before_(std::exchange(loading, true)) {}
    ~LoadingGuard() { loading_ = before_; }
    LoadingGuard(const LoadingGuard&) = delete;
    LoadingGuard& operator=(const LoadingGuard&) = delete;

private:
    bool& loading_;
    bool before_;
};

}  // namespace

// Analyses the list's entry `index`, which is selected, and shows it.
void MainWindow::LoadSelectedFile(int index) {
    LoadingGuard loading(loadingFile_);
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
            LoadSelectedFile(index);
        } else {
            ClearView();
        }
        return;
    }
    ShowAnalysis(directory, index);
}

void MainWindow::ShowAnalysis(const std::string& directory, int index) {
    const engine::EngineState& state = engine_.state;
    std::wstring comment = AnsiToWide(state.CommentText);
    std::wstring content = AnsiToWide(state.ContentText);
    txtComment_.SetText(comment.empty() ? kNoComment : comment);
    chkSigne_.SetChecked(state.IsSigned);
    chkNoUndo_.SetChecked(state.NoUndo);
    // A file the analysis could not read shows nothing of itself, and what
    // would not come back byte for byte from the boxes must never be written.
    bool rewritable = !state.ImportBlocked && ShowsFaithfully(state.CommentText, comment) &&
                      ShowsFaithfully(state.ContentText, content);
    loaded_ = LoadedFile{directory, filList_.NameAt(index), rewritable};
    txtContent_.ShowText(std::move(content));
    SetEditable(rewritable && txtContent_.IsComplete());
}

void MainWindow::ClearView() {
    LoadingGuard loading(loadingFile_);
    loaded_.reset();
    txtComment_.SetText(L"");
    txtContent_.ShowText(L"");
    chkSigne_.SetChecked(false);
    chkNoUndo_.SetChecked(false);
    SetEditable(false);
}

void MainWindow::SetEditable(bool editable) {
    chkSigne_.Enable(editable);
    chkNoUndo_.Enable(editable);
    txtComment_.Send(EM_SETREADONLY, !editable);
    txtContent_.Send(EM_SETREADONLY, !editable);
}

void MainWindow::SelectAndLoadFirstFile() {
    if (filList_.Count() == 0) {
        ClearView();
        return;
    }
    filList_.Select(0);
    LoadSelectedFile(0);
}

// Selects an entry from code, as Find does, and loads it unless it is the file shown.
void MainWindow::SelectAndLoad(int index) {
    SavePendingComment();
    if (index < 0 || index >= filList_.Count() || (index == filList_.SelectedIndex() && CurrentFile())) {
        return;
    }
    filList_.Select(index);
    LoadSelectedFile(index);
}

std::optional<MainWindow::LoadedFile> MainWindow::CurrentFile() const {
    int index = filList_.SelectedIndex();
    if (!loaded_ || index < 0 || filList_.Directory() != loaded_->directory ||
        filList_.NameAt(index) != loaded_->name) {
        return std::nullopt;
    }
    return loaded_;
}

void MainWindow::ShowFilesOf(const std::string& directory) {
    SavePendingComment();
    filList_.SetDirectory(directory);
    LetGoOfUnselectedFile();
}

// Reads the list's directory again, after a command has added or removed files there.
void MainWindow::RereadList() {
    filList_.Refresh();
    LetGoOfUnselectedFile();
}

// After the list was read again: what it no longer shows selected is no longer edited.
void MainWindow::LetGoOfUnselectedFile() {
    if (filList_.Count() == 0) {
        ClearView();
    } else if (!CurrentFile()) {
        SetEditable(false);
    }
}

// After a search, the first occurrence of its text in the content of the file
// shown, selected where the user sees it.
void MainWindow::SelectSoughtText() {
    std::optional<std::string> sought = WideToAnsiExact(Utf8ToWide(search_.SearchText));
    if (!sought || !CurrentFile()) {
        return;
    }
    // Until the whole content is in, nothing in the box can have been edited.
    std::optional<std::string> content =
        txtContent_.IsComplete() ? WideToAnsiExact(txtContent_.Text()) : engine_.state.ContentText;
    std::optional<std::size_t> at =
        content ? app::FindInText(engine_.platform.codec, *content, *sought) : std::nullopt;
    if (!at) {
        return;
    }
    // The box counts characters, not the bytes of the code page.
    std::string_view text(*content);
    std::size_t start = AnsiToWide(text.substr(0, *at)).size();
    txtContent_.Select(start, start + AnsiToWide(text.substr(*at, sought->size())).size());
}

void MainWindow::ValidateComment() {
    std::wstring comment = txtComment_.Text();
    std::wstring trimmed = WithoutTrailingLineEnds(comment);
    if (trimmed != comment) {
        txtComment_.SetText(trimmed);
    }
    txtComment_.Send(EM_SETMODIFY, FALSE);
    if (!loadingFile_) {
        RewriteFile();
    }
}

// A comment typed and not validated yet is saved before the window moves on.
void MainWindow::SavePendingComment() {
    if (txtComment_.Send(EM_GETMODIFY) != 0) {
        ValidateComment();
    }
}

void MainWindow::RewriteFile() {
    std::optional<LoadedFile> file = CurrentFile();
    if (!file || !file->rewritable || !txtContent_.IsComplete()) {
        return;
    }
    std::optional<std::string> comment = WideToAnsiExact(txtComment_.Text());
    std::optional<std::string> content = WideToAnsiExact(txtContent_.Text());
    if (!comment || !content) {
        engine::ShowMessage(engine_.platform,
                            "Le commentaire ou le contenu contient des caractères que la page de code du "
                            "système ne peut pas représenter : le fichier n'est pas modifié.");
        return;
    }
    engine::RewriteRequest request;
    request.directory = file->directory;
    request.fileName = file->name;
    request.headerLine = engine_.state.HeaderLine;
    request.signature = engine_.startup.Signature;
    request.isSigned = chkSigne_.IsChecked();
    request.noUndo = chkNoUndo_.IsChecked();
    request.isUndoFile = engine_.state.IsUndoFile;
    request.comment = *comment;
    request.content = *content;
    engine::RewriteRegFile(engine_.platform, request);
}

}  // namespace claverix::ui
