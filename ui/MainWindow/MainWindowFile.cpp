// The main window's file: selecting, analysing and showing it, and writing
// back what the user changes of it.
#include "app/Search.h"
#include "engine/Analysis.h"
#include "engine/RegFileWriter.h"
#include "engine/Reporting.h"
#include "platform/Unicode.h"
#include "ui/MainWindow/MainWindow.h"
#include "ui/common/FileTextBoxes.h"

namespace claverix::ui {

namespace {

constexpr wchar_t kNoComment[] = L"Pas de commentaire";

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
    std::wstring comment = ShownText(state.CommentText, state.Encoding);
    std::wstring content = ShownText(state.ContentText, state.Encoding);
    txtComment_.SetText(comment.empty() ? kNoComment : comment);
    chkSigne_.SetChecked(state.IsSigned);
    chkNoUndo_.SetChecked(state.NoUndo);
    // A file the analysis could not read shows nothing of itself, and what
    // would not come back byte for byte from the boxes must never be written.
    bool rewritable = !state.ImportBlocked && ShowsFaithfully(state.CommentText, comment, state.Encoding) &&
                      ShowsFaithfully(state.ContentText, content, state.Encoding);
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
    if (index < 0 || index >= filList_.Count() || (index == filList_.SelectedIndex() && CurrentFile()) ||
        !MayLeaveShownFile()) {
        return;
    }
    filList_.Select(index);
    LoadSelectedFile(index);
}

// The user has selected another entry: the file shown is left, unless the
// user keeps it to save an edit.
void MainWindow::OnSelectionChanged() {
    int index = filList_.SelectedIndex();
    // The list also says so when the click lands on the file already shown.
    if (index < 0 || CurrentFile()) {
        return;
    }
    // The question is asked as if the click had not landed yet: about the
    // file shown, selected again, which stays selected when the user stays.
    bool shownIsListed = loaded_ && loaded_->directory == filList_.Directory();
    filList_.Select(shownIsListed ? filList_.IndexOf(loaded_->name) : -1);
    if (!MayLeaveShownFile()) {
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

// Reads the list again and the file shown with it, which stays selected by
// its name: what is on disk now is what the window shows.
void MainWindow::RereadListAndFile() {
    std::optional<LoadedFile> shown = CurrentFile();
    filList_.Refresh();
    int index = shown ? filList_.IndexOf(shown->name) : -1;
    if (index < 0) {
        LetGoOfUnselectedFile();
        return;
    }
    filList_.Select(index);
    LoadSelectedFile(index);
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
    if (!CurrentFile()) {
        return;
    }
    // Until the whole content is in, nothing in the box can have been edited.
    const engine::EngineState& state = engine_.state;
    std::wstring content =
        txtContent_.IsComplete() ? txtContent_.Text() : ShownText(state.ContentText, state.Encoding);
    // The box counts UTF-16 units, as the search does.
    std::u16string_view units(reinterpret_cast<const char16_t*>(content.data()), content.size());
    if (std::optional<std::size_t> at = app::FindInText(engine_.platform.codec, units, search_.SearchText)) {
        txtContent_.Select(*at, *at + platform::Utf8ToUtf16(search_.SearchText).size());
    }
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

// Whether the content box holds an edit of the user's that its file does not have.
bool MainWindow::HasUnsavedContent() const {
    std::optional<LoadedFile> file = CurrentFile();
    return file && file->rewritable && txtContent_.Send(EM_GETMODIFY) != 0;
}

// Before the window moves away from the file shown: the comment is saved, as
// leaving its box saves it, and an edit of the content is saved or dropped
// as the user says. False when the user stays on the file.
bool MainWindow::MayLeaveShownFile() {
    return SettleUnsavedContent(true);
}

// An edit of the content that the file on disk does not hold yet is saved,
// or set aside, as the user answers. A file being left drops an edit set
// aside, and on Cancel the user is back in it; a file about to be merged or
// previewed keeps it in its box. False on Cancel, or when the edit cannot
// be saved.
bool MainWindow::SettleUnsavedContent(bool leavingFile) {
    SavePendingComment();
    if (!HasUnsavedContent()) {
        return true;
    }
    switch (AskToSaveContent()) {
        case platform::Answer::Yes:
            return RewriteFile();
        case platform::Answer::No:
            if (leavingFile) {
                txtContent_.Send(EM_SETMODIFY, FALSE);
            }
            return true;
        case platform::Answer::Cancel:
            break;
    }
    if (leavingFile) {
        txtContent_.Focus();
    }
    return false;
}

platform::Answer MainWindow::AskToSaveContent() {
    platform::Platform& platform = engine_.platform;
    std::string question = "Le contenu du fichier " + loaded_->name +
                           " a été modifié.\r\nVoulez-vous enregistrer ces modifications ?";
    return platform.prompt.AskYesNoCancel(question, engine::kQuestionTitle,
                                          platform::PromptIcon::Exclamation);
}

// Writes the file shown anew from what the window shows; false when it was
// not written (the user has been told why).
bool MainWindow::RewriteFile() {
    std::optional<LoadedFile> file = CurrentFile();
    if (!file || !file->rewritable || !txtContent_.IsComplete()) {
        return false;
    }
    const engine::EngineState& state = engine_.state;
    std::optional<std::string> comment = StoredText(txtComment_.Text(), state.Encoding);
    std::optional<std::string> content = StoredText(txtContent_.Text(), state.Encoding);
    if (!comment || !content) {
        engine::ShowMessage(engine_.platform,
                            "Le commentaire ou le contenu contient des caractères que la page de code du "
                            "système ne peut pas représenter : le fichier n'est pas modifié.");
        return false;
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
    request.isUndoFile = state.IsUndoFile;
    request.comment = *comment;
    request.content = *content;
    if (!engine::RewriteRegFile(engine_.platform, request)) {
        return false;
    }
    txtContent_.Send(EM_SETMODIFY, FALSE);
    return true;
}

}  // namespace claverix::ui
