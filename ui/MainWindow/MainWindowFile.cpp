// The main window's file: selecting, analysing and showing it, and writing
// back what the user changes of it.
#include "app/Search.h"
#include "engine/Analysis.h"
#include "engine/RegFileWriter.h"
#include "engine/Reporting.h"
#include "platform/Unicode.h"
#include "platform/win32/Text.h"
#include "ui/MainWindow/MainWindow.h"
#include "ui/common/FileTextBoxes.h"

namespace claverix::ui {

namespace {

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
    signedBox_.SetChecked(false);
    noRestorationBox_.SetChecked(false);
    std::string directory = fileList_.Directory();
    const std::string name = fileList_.NameAt(index);
    std::optional<engine::Analysis> analysis = engine::AnalyseRegFile(engine_, directory, name);
    if (analysis && analysis->fileName != name) {
        // Renamed back to its recorded name: the list is read again and its
        // entry at the same place loaded, which is the file under its new
        // name unless that name sorts elsewhere.
        fileList_.SetDirectory(directory);
        if (index < fileList_.Count()) {
            fileList_.Select(index);
            LoadSelectedFile(index);
        } else {
            ClearView();
        }
        return;
    }
    if (!analysis) {
        // It cannot be read: shown as empty, and nothing of it can be changed.
        analysis = engine::AnalyseBytes(name, {}, engine_.startup.Signature, engine_.platform.codec);
        analysis->unreadable = true;
    }
    ShowAnalysis(directory, name, std::move(*analysis));
}

void MainWindow::ShowAnalysis(const std::string& directory, const std::string& name,
                              engine::Analysis analysis) {
    std::wstring comment = ShownText(analysis.CommentText, analysis.Encoding());
    std::wstring content = ShownText(analysis.ContentText, analysis.Encoding());
    commentBox_.SetText(comment.empty() ? platform::win32::Utf8ToWide(engine::kNoComment) : comment);
    signedBox_.SetChecked(analysis.marks.IsSigned);
    noRestorationBox_.SetChecked(analysis.marks.NoUndo);
    // A file the analysis could not read shows nothing of itself, and what
    // would not come back byte for byte from the boxes must never be written.
    bool rewritable = !analysis.unreadable &&
                      ShowsFaithfully(analysis.CommentText, comment, analysis.Encoding()) &&
                      ShowsFaithfully(analysis.ContentText, content, analysis.Encoding());
    loaded_ = LoadedFile{directory, name, std::move(analysis), rewritable};
    contentBox_.ShowText(std::move(content));
    SetEditable(rewritable && contentBox_.IsComplete());
}

void MainWindow::ClearView() {
    LoadingGuard loading(loadingFile_);
    loaded_.reset();
    commentBox_.SetText(L"");
    contentBox_.ShowText(L"");
    signedBox_.SetChecked(false);
    noRestorationBox_.SetChecked(false);
    SetEditable(false);
}

void MainWindow::SetEditable(bool editable) {
    signedBox_.Enable(editable);
    noRestorationBox_.Enable(editable);
    commentBox_.Send(EM_SETREADONLY, !editable);
    contentBox_.Send(EM_SETREADONLY, !editable);
}

void MainWindow::SelectAndLoadFirstFile() {
    if (fileList_.Count() == 0) {
        ClearView();
        return;
    }
    fileList_.Select(0);
    LoadSelectedFile(0);
}

// Selects an entry from code, as Find does, and loads it unless it is the file shown.
void MainWindow::SelectAndLoad(int index) {
    if (index < 0 || index >= fileList_.Count() || (index == fileList_.SelectedIndex() && CurrentFile()) ||
        !MayLeaveShownFile()) {
        return;
    }
    fileList_.Select(index);
    LoadSelectedFile(index);
}

// The user has selected another entry: the file shown is left, unless the
// user keeps it to save an edit.
void MainWindow::OnSelectionChanged() {
    int index = fileList_.SelectedIndex();
    // The list also says so when the click lands on the file already shown.
    if (index < 0 || CurrentFile()) {
        return;
    }
    // The question is asked as if the click had not landed yet: about the
    // file shown, selected again, which stays selected when the user stays.
    bool shownIsListed = loaded_ && loaded_->directory == fileList_.Directory();
    fileList_.Select(shownIsListed ? fileList_.IndexOf(loaded_->name) : -1);
    if (!MayLeaveShownFile()) {
        return;
    }
    fileList_.Select(index);
    LoadSelectedFile(index);
}

const MainWindow::LoadedFile* MainWindow::CurrentFile() const {
    int index = fileList_.SelectedIndex();
    if (!loaded_ || index < 0 || fileList_.Directory() != loaded_->directory ||
        fileList_.NameAt(index) != loaded_->name) {
        return nullptr;
    }
    return &*loaded_;
}

void MainWindow::ShowFilesOf(const std::string& directory) {
    SavePendingComment();
    fileList_.SetDirectory(directory);
    LetGoOfUnselectedFile();
}

// Reads the list's directory again, after a command has added or removed files there.
void MainWindow::RereadList() {
    fileList_.Refresh();
    LetGoOfUnselectedFile();
}

// Reads the list again and the file shown with it, which stays selected by
// its name: what is on disk now is what the window shows.
void MainWindow::RereadListAndFile() {
    const LoadedFile* shown = CurrentFile();
    std::string shownName = shown ? shown->name : std::string{};
    fileList_.Refresh();
    int index = shown ? fileList_.IndexOf(shownName) : -1;
    if (index < 0) {
        LetGoOfUnselectedFile();
        return;
    }
    fileList_.Select(index);
    LoadSelectedFile(index);
}

// After the list was read again: what it no longer shows selected is no longer edited.
void MainWindow::LetGoOfUnselectedFile() {
    if (fileList_.Count() == 0) {
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
    const engine::Analysis& analysis = loaded_->analysis;
    std::wstring content =
        contentBox_.IsComplete() ? contentBox_.Text() : ShownText(analysis.ContentText, analysis.Encoding());
    // The box counts UTF-16 units, as the search does.
    std::u16string_view units(reinterpret_cast<const char16_t*>(content.data()), content.size());
    if (std::optional<std::size_t> at = app::FindInText(engine_.platform.codec, units, search_.SearchText)) {
        contentBox_.Select(*at, *at + platform::Utf8ToUtf16(search_.SearchText).size());
    }
}

void MainWindow::ValidateComment() {
    std::wstring comment = commentBox_.Text();
    std::wstring trimmed = WithoutTrailingLineEnds(comment);
    if (trimmed != comment) {
        commentBox_.SetText(trimmed);
    }
    commentBox_.Send(EM_SETMODIFY, FALSE);
    if (!loadingFile_) {
        RewriteFile();
    }
}

// A comment typed and not validated yet is saved before the window moves on.
void MainWindow::SavePendingComment() {
    if (commentBox_.Send(EM_GETMODIFY) != 0) {
        ValidateComment();
    }
}

// Whether the content box holds an edit of the user's that its file does not have.
bool MainWindow::HasUnsavedContent() const {
    const LoadedFile* file = CurrentFile();
    return file && file->rewritable && contentBox_.Send(EM_GETMODIFY) != 0;
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
                contentBox_.Send(EM_SETMODIFY, FALSE);
            }
            return true;
        case platform::Answer::Cancel:
            break;
    }
    if (leavingFile) {
        contentBox_.Focus();
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

// Writes the file shown anew from what the window shows, when that differs
// from what the file holds; false when it was not written (the user has been
// told why). A file changed on disk since it was shown is not overwritten:
// the user reloads it, or keeps the edit in the window for now.
bool MainWindow::RewriteFile() {
    const LoadedFile* file = CurrentFile();
    if (!file || !file->rewritable || !contentBox_.IsComplete()) {
        return false;
    }
    const engine::Analysis& analysis = file->analysis;
    std::optional<std::string> comment = StoredText(commentBox_.Text(), analysis.Encoding());
    std::optional<std::string> content = StoredText(contentBox_.Text(), analysis.Encoding());
    if (!comment || !content) {
        engine::ShowMessage(engine_.platform,
                            "Le commentaire ou le contenu contient des caractères que la page de code du "
                            "système ne peut pas représenter : le fichier n'est pas modifié.");
        return false;
    }
    bool isSigned = signedBox_.IsChecked();
    bool noUndo = noRestorationBox_.IsChecked();
    if (engine::CommentTextOf(*comment) == analysis.CommentText && *content == analysis.ContentText &&
        isSigned == analysis.marks.IsSigned && noUndo == analysis.marks.NoUndo) {
        contentBox_.Send(EM_SETMODIFY, FALSE);
        return true;  // nothing to write
    }
    engine::RewriteRequest request;
    request.directory = file->directory;
    request.fileName = file->name;
    request.shownBytes = analysis.bytes;
    request.encoding = analysis.Encoding();
    request.headerLine = analysis.HeaderLine;
    request.signature = engine_.startup.Signature;
    request.isSigned = isSigned;
    request.noUndo = noUndo;
    request.isUndoFile = analysis.marks.IsUndoFile;
    request.comment = *comment;
    request.content = *content;
    engine::Rewrite rewrite = engine::RewriteRegFile(engine_.platform, request);
    switch (rewrite.status) {
        case engine::Rewrite::Status::Written:
            break;
        case engine::Rewrite::Status::FileChanged:
            OfferToReloadChangedFile();
            return false;
        case engine::Rewrite::Status::Failed:
            return false;
    }
    contentBox_.Send(EM_SETMODIFY, FALSE);
    // What the file holds now is what the window shows; the marks are the ones ticked.
    loaded_->analysis = engine::AnalyseBytes(file->name, std::move(rewrite.bytes), engine_.startup.Signature,
                                             engine_.platform.codec);
    return true;
}

// The file shown was changed by someone else since the window read it.
void MainWindow::OfferToReloadChangedFile() {
    platform::Platform& platform = engine_.platform;
    std::string question =
        "Le fichier " + loaded_->name +
        " a été modifié en dehors de Claverix depuis son affichage : votre modification "
        "n'y est pas enregistrée.\r\nVoulez-vous le relire ? Votre modification sera perdue.";
    if (platform.prompt.AskYesNoDefaultNo(question, engine::kQuestionTitle,
                                          platform::PromptIcon::Exclamation)) {
        RereadListAndFile();
    }
}

}  // namespace claverix::ui
