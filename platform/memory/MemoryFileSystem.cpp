#include "platform/memory/MemoryFileSystem.h"

#include "platform/Paths.h"
#include "platform/memory/CaseInsensitive.h"

namespace claverix::platform {

namespace {

FileError Failure(std::uint32_t code) {
    switch (code) {
        case kFileNotFound:
            return {code, "Le fichier spécifié est introuvable."};
        case kPathNotFound:
            return {code, "Le chemin d'accès spécifié est introuvable."};
        case kFileExists:
            return {code, "Le fichier existe."};
        case kAlreadyExists:
            return {code, "Impossible de créer un fichier déjà existant."};
        default:
            return {code, "Erreur d'entrée/sortie " + std::to_string(code) + "."};
    }
}

std::string Joined(std::span<const std::string_view> pieces) {
    std::string bytes;
    for (std::string_view piece : pieces) {
        bytes += piece;
    }
    return bytes;
}

}  // namespace

FileError MemoryFileSystem::Check(const std::string& path) const {
    auto failure = failures_.find(FoldedCopy(path));
    return failure == failures_.end() ? FileError{} : Failure(failure->second);
}

FileError MemoryFileSystem::CheckDirectoryOf(const std::string& path) const {
    return directories_.contains(FoldedCopy(DirectoryOf(path))) ? FileError{} : Failure(kPathNotFound);
}

FileError MemoryFileSystem::Read(const std::string& path, std::string& bytes) {
    if (FileError error = Check(path); error.Failed()) {
        return error;
    }
    auto file = files_.find(FoldedCopy(path));
    if (file == files_.end()) {
        return Failure(kFileNotFound);
    }
    bytes = file->second.bytes;
    return {};
}

FileError MemoryFileSystem::Replace(const std::string& path, std::span<const std::string_view> pieces) {
    if (FileError error = Check(path); error.Failed()) {
        return error;
    }
    if (FileError error = CheckDirectoryOf(path); error.Failed()) {
        return error;
    }
    files_[FoldedCopy(path)] = File{path, Joined(pieces), ++writes_};
    return {};
}

FileError MemoryFileSystem::CreateNew(const std::string& path, std::span<const std::string_view> pieces) {
    if (Exists(path)) {
        return Failure(kFileExists);
    }
    return Replace(path, pieces);
}

FileError MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
    if (FileError error = Check(from); error.Failed()) {
        return error;
    }
    auto source = files_.find(FoldedCopy(from));
    if (source == files_.end()) {
        return Failure(kFileNotFound);
    }
    bool sameFile = EqualsIgnoringCase(from, to);
    if (!sameFile && Exists(to)) {
        return Failure(kFileExists);
    }
    if (FileError error = CheckDirectoryOf(to); error.Failed()) {
        return error;
    }
    File moved{to, std::move(source->second.bytes), source->second.written};
    files_.erase(source);
    files_[FoldedCopy(to)] = std::move(moved);
    return {};
}

FileError MemoryFileSystem::Append(const std::string& path, std::string_view bytes) {
    std::string contents;
    if (FileError error; Exists(path) && (error = Read(path, contents)).Failed()) {
        return error;
    }
    const std::string_view pieces[] = {contents, bytes};
    return Replace(path, pieces);
}

std::optional<std::uint64_t> MemoryFileSystem::LastWritten(const std::string& path) {
    auto file = files_.find(FoldedCopy(path));
    if (Check(path).Failed() || file == files_.end()) {
        return std::nullopt;
    }
    return file->second.written;
}

FileError MemoryFileSystem::Remove(const std::string& path) {
    if (FileError error = Check(path); error.Failed()) {
        return error;
    }
    return files_.erase(FoldedCopy(path)) == 1 ? FileError{} : Failure(kFileNotFound);
}

bool MemoryFileSystem::Exists(const std::string& path) {
    return files_.contains(FoldedCopy(path));
}

FileError MemoryFileSystem::MakeDirectory(const std::string& path) {
    if (FileError error = Check(path); error.Failed()) {
        return error;
    }
    if (IsDirectory(path) || Exists(path)) {
        return Failure(kAlreadyExists);
    }
    if (FileError error = CheckDirectoryOf(path); error.Failed()) {
        return error;
    }
    AddDirectory(path);
    return {};
}

bool MemoryFileSystem::IsDirectory(const std::string& path) {
    return directories_.contains(FoldedCopy(path));
}

FileError MemoryFileSystem::ChangeCurrentDirectory(const std::string& path) {
    if (!IsDirectory(path)) {
        return Failure(kPathNotFound);
    }
    currentDirectory_ = path;
    return {};
}

void MemoryFileSystem::AddDirectory(const std::string& path) {
    directories_.insert(FoldedCopy(path));
}

void MemoryFileSystem::FailOn(const std::string& path, std::uint32_t code) {
    failures_[FoldedCopy(path)] = code;
}

std::string MemoryFileSystem::Contents(const std::string& path) const {
    auto file = files_.find(FoldedCopy(path));
    return file == files_.end() ? std::string{} : file->second.bytes;
}

std::optional<std::vector<std::string>> MemoryFileSystem::ListFiles(const std::string& directory,
                                                                    std::string_view ending) {
    if (!IsDirectory(directory)) {
        return std::nullopt;
    }
    std::string foldedEnding = FoldedCopy(ending);
    std::vector<std::string> names;
    for (const std::string& name : FileNamesIn(directory)) {
        if (FoldedCopy(name).ends_with(foldedEnding)) {
            names.push_back(name);
        }
    }
    return names;
}

std::set<std::string> MemoryFileSystem::FileNamesIn(const std::string& directory) const {
    std::set<std::string> names;
    std::string folded = FoldedCopy(directory);
    for (const auto& [key, file] : files_) {
        if (FoldedCopy(DirectoryOf(file.path)) == folded) {
            names.insert(file.path.substr(directory.size() + 1));
        }
    }
    return names;
}

}  // namespace claverix::platform
