// Feeds arbitrary bytes to the line reader, the classifier and the field
// parsers, then merges them as a file against an in-memory registry, as
// they are and as UTF-16 after a byte-order mark: the merge's one reading of
// the file and what it derives from it (marks, foresight, preview, the
// restoration, the check and its record), every question answered Yes; then
// merges the restoration file it wrote, which compares that record with the
// registry. Any crash, hang or out-of-bounds access is a finding.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/Preview.h"
#include "engine/Analysis.h"
#include "engine/Merge.h"
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
    platform::MemoryLocks locks;
    platform::Platform platform{registry, profile, files, launcher, environment, prompt, codec, locks};

    const std::string_view pieces[] = {bytes};
    files.Replace("C:\\F\\f.reg", pieces);
    files.AddDirectory("C:\\F\\RegUnDO");
    engine::Engine engine{platform, {"", "C:\\F", "sig"}};
    for (int i = 0; i < 8; ++i) {
        prompt.AnswerYesNo(true);
    }
    engine::MergeRequest request{"C:\\F", "f.reg"};
    request.offersRecordedName = true;
    prompt.PressMoreButton();
    request.preview = [&](const engine::Analysis& analysis) {
        (void)app::BuildPreview(registry, analysis.foreseen);
    };
    engine::MergeRegFile(engine, request);
    for (const std::string& name :
         files.ListFiles("C:\\F\\RegUnDO", ".reg").value_or(std::vector<std::string>{})) {
        engine::MergeRegFile(engine, {"C:\\F\\RegUnDO", name});
    }
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
