#include "engine/Merge.h"

#include <cstdio>
#include <vector>

#include "engine/RegFileFormat.h"
#include "engine/RegFileWriter.h"
#include "engine/Reporting.h"

namespace claverix::engine {

using namespace platform;

namespace {

constexpr int kMaxRestorationFilesPerSecond = 1000;

std::string RestorationDirectory(const Engine& engine) {
    return RestorationFilesDirectory(engine.startup.ArchivePath);
}

// The first restoration file name not taken yet in the archive.
int FreeSequence(Engine& engine, const LocalTime& time, std::string_view fileName) {
    std::string directory = RestorationDirectory(engine);
    int sequence = 1;
    while (sequence < kMaxRestorationFilesPerSecond &&
           engine.platform.files.Exists(JoinPath(directory, RestorationFileName(time, fileName, sequence)))) {
        ++sequence;
    }
    return sequence;
}

bool UserAcceptsUnsignedMerge(Engine& engine, std::string_view restorationName) {
    TextCodec& codec = engine.platform.codec;
    std::string question =
        "Ce fichier n'est pas signé. Si vous validez son exécution, le fichier de\r\nrestauration " +
        codec.AnsiToUtf8(restorationName) + " va être créé dans\r\nle répertoire " +
        codec.AnsiToUtf8(JoinPath(engine.startup.ArchivePath, kRestorationFilesDirectoryNameAsAsked)) +
        "\r\nVoulez-vous poursuivre ?";
    return engine.platform.prompt.AskYesNo(question, kQuestionTitle, PromptIcon::None);
}

// The restoration file's bytes: in a version 5 file the head and the text
// are UTF-16 after a byte-order mark.
std::vector<std::string> RestorationFilePieces(Engine& engine, std::string_view name,
                                               const RestorationText& restoration) {
    TextEncoding encoding = restoration.encoding;
    TextCodec& codec = engine.platform.codec;
    std::string head = RestorationFileHead(
        encoding, ConvertText(engine.startup.Signature, TextEncoding::Ansi, encoding, codec),
        ConvertText(name, TextEncoding::Ansi, encoding, codec));
    if (encoding == TextEncoding::Ansi) {
        return {std::move(head), restoration.text, std::string(kCrLf)};
    }
    return {std::string(kUtf16ByteOrderMark), EncodeFileText(head, encoding),
            EncodeFileText(restoration.text, encoding), EncodeFileText(kCrLf, encoding)};
}

// Writes the restoration file, complete and flushed, under the first free
// name from `sequence` on. False, after telling the user, when it cannot.
bool WriteRestorationFile(Engine& engine, const LocalTime& time, std::string_view fileName, int sequence,
                          const RestorationText& restoration) {
    std::string directory = RestorationDirectory(engine);
    for (;; ++sequence) {
        std::string name = RestorationFileName(time, fileName, sequence);
        std::vector<std::string> bytes = RestorationFilePieces(engine, name, restoration);
        const std::vector<std::string_view> pieces(bytes.begin(), bytes.end());
        FileError error = engine.platform.files.CreateNew(JoinPath(directory, name), pieces);
        if (!error) {
            return true;
        }
        if (error.code != kFileExists || sequence >= kMaxRestorationFilesPerSecond) {
            ReportFileError(engine.platform, error, name);
            return false;
        }
    }
}

}  // namespace

std::string RestorationFileName(const LocalTime& time, std::string_view mergedFileName, int sequence) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d-", time.year, time.month, time.day,
                  time.hour, time.minute, time.second);
    std::string name(stamp);
    if (sequence <= 1) {
        return name.append(mergedFileName);
    }
    auto dot = mergedFileName.rfind('.');
    std::string_view stem = mergedFileName.substr(0, dot);
    std::string_view extension =
        dot == std::string_view::npos ? std::string_view{} : mergedFileName.substr(dot);
    return name.append(stem).append(" (").append(std::to_string(sequence)).append(")").append(extension);
}

void MergeRegFile(Engine& engine, const std::string& directory, const std::string& fileName) {
    const EngineState& state = engine.state;
    MergeRegFile(engine, directory, fileName, RestorationText{state.RestoreEncoding, state.RestoreText});
}

void MergeRegFile(Engine& engine, const std::string& directory, const std::string& fileName,
                  const RestorationText& restoration) {
    const EngineState& state = engine.state;
    Platform& platform = engine.platform;
    if (state.ImportBlocked) {
        return;  // the analysis has told the user why
    }
    LocalTime now = platform.environment.Now();
    int sequence = FreeSequence(engine, now, fileName);
    if (!state.IsSigned && !UserAcceptsUnsignedMerge(engine, RestorationFileName(now, fileName, sequence))) {
        return;
    }
    if (!(state.IsSigned && state.NoUndo) &&
        !WriteRestorationFile(engine, now, fileName, sequence, restoration)) {
        return;
    }

    std::string mergedPath = JoinPath(directory, fileName);
    std::unique_ptr<StartedProcess> importer =
        platform.processes.StartMinimized(JoinPath(platform.environment.WindowsDirectory(), "regedit.exe"),
                                          "regedit /s \"" + mergedPath + "\"");
    if (!importer) {
        ShowMessage(platform, "Une anomalie s'est produite lors de la fusion du fichier " +
                                  platform.codec.AnsiToUtf8(fileName));
        return;
    }
    // A restoration file is used once; it goes only when the importer has read it.
    if (state.IsUndoFile && importer->WaitForExit()) {
        platform.files.Remove(mergedPath);
    }
}

}  // namespace claverix::engine
