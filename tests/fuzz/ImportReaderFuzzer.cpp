// Feeds arbitrary bytes to the importer's reader, as ANSI text and as
// version 5 UTF-16 text. Besides any crash, hang or out-of-bounds access, a
// finding is a step after the reader found the file unreadable, a line
// number that goes back, or a value name that does not read back as written.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/ImportReader.h"
#include "engine/RegFileFormat.h"
#include "platform/Unicode.h"
#include "platform/memory/StandIns.h"

using namespace claverix;
using Kind = engine::ImportStep::Kind;

namespace {

platform::Latin1TextCodec codec;

class LastStep final : public engine::ImportVisitor {
public:
    void OnStep(const engine::ImportStep& step) override { last = step; }
    engine::ImportStep last;
};

// The name written back into a file reads as the same name.
void CheckWrittenName(const std::string& name, engine::TextEncoding encoding) {
    std::string line = "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n";
    engine::AppendWrittenName(line, name);
    line += "=-";
    LastStep reader;
    std::u16string text = platform::Utf8ToUtf16(line);
    std::string bytes = encoding == engine::TextEncoding::Utf16 ? platform::Utf16Bytes(text)
                                                                : codec.Utf16ToAnsiExact(text).value();
    engine::ReadImport(bytes, encoding, codec, reader);
    if (reader.last.kind != Kind::DeleteValue || reader.last.value.name != name) {
        std::abort();
    }
}

class Checker final : public engine::ImportVisitor {
public:
    explicit Checker(engine::TextEncoding encoding) : encoding_(encoding) {}

    void OnStep(const engine::ImportStep& step) override {
        if (stopped_ || step.line < line_) {
            std::abort();
        }
        stopped_ = step.kind == Kind::Unreadable;
        line_ = step.line;
        if (step.kind == Kind::SetValue && step.value.name.find("\xEF\xBF\xBD") == std::string::npos) {
            CheckWrittenName(step.value.name, encoding_);
        }
    }

private:
    engine::TextEncoding encoding_;
    std::size_t line_ = 0;
    bool stopped_ = false;
};

void Read(std::string_view bytes, engine::TextEncoding encoding) {
    Checker checker(encoding);
    engine::ReadImport(bytes, encoding, codec, checker);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Read(bytes, engine::TextEncoding::Ansi);
    Read(bytes, engine::TextEncoding::Utf16);
    return 0;
}
