// Feeds arbitrary bytes to the line reader, the classifier and the field
// parsers, then analyses them as a file against an in-memory registry, as
// they are and as UTF-16 after a byte-order mark, previews its merge, checks
// its import and reads back the record a merge of it would write. Any crash,
// hang or out-of-bounds access is a finding.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/Preview.h"
#include "engine/Analysis.h"
#include "engine/ForeseenImport.h"
#include "engine/ImportCheck.h"
#include "engine/MergeRecord.h"
#include "engine/RegFileFormat.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryProfile.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/ScriptedPrompt.h"
#include "platform/memory/StandIns.h"

using namespace claverix;

namespace {

void CheckLine(std::string_view line) {
    (void)engine::ClassifyLine(line);
    (void)engine::RecordedFileName(line);
    (void)engine::CommentOf(line);
    (void)engine::IsKeyDeletion(line);
}

void Analyse(std::string_view bytes) {
    platform::MemoryRegistry registry;
    registry.SetValue(platform::RootKey::CurrentUser, "Software\\A", "v", platform::kRegSz,
                      std::string("x\0\0\0", 4));
    registry.SetValue(platform::RootKey::CurrentUser, "Software\\A\\B", "", platform::kRegDword, "\1\0\0\0");
    platform::MemoryProfile profile;
    platform::MemoryFileSystem files;
    files.AddDirectory("C:\\F");
    platform::RecordingLauncher launcher;
    platform::FixedEnvironment environment;
    platform::ScriptedPrompt prompt;
    platform::Latin1TextCodec codec;
    platform::Platform platform{registry, profile, files, launcher, environment, prompt, codec};

    const std::string_view pieces[] = {bytes};
    files.Replace("C:\\F\\f.reg", pieces);
    engine::Engine engine{platform, {"", "C:\\F", "sig"}, {}};
    engine::AnalyseRegFile(engine, "C:\\F", "f.reg");
    (void)app::BuildPreview(platform, "C:\\F", "f.reg");
    engine::ForeseenImport foreseen =
        engine::ForeseeImport(engine::DecodeFileText(std::string(bytes)), codec);
    (void)engine::CheckImport(registry, foreseen, 10);
    (void)engine::ChangesSinceRecord(registry, engine::MergeRecordText(foreseen), 10);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    engine::LineReader reader(bytes);
    std::string_view line;
    std::size_t consumed = 0;
    while (reader.Next(line)) {
        CheckLine(line);
        consumed += line.size();
    }
    if (consumed > size) {
        std::abort();
    }
    Analyse(bytes);
    Analyse("\xFF\xFE" + std::string(bytes));
    return 0;
}
