#include "app/Search.h"

#include <array>

#include "engine/Engine.h"
#include "engine/Reporting.h"
#include "platform/Unicode.h"

namespace claverix::app {

namespace {

// Finds an upper-case text in texts whose bytes it upper-cases as it reads
// them, through a table: a Horspool search, which looks at about one byte
// in every length of the text it looks for, and copies nothing.
class FoldingSearcher {
public:
    FoldingSearcher(std::string upperText, const std::array<char, 256>& upperCase)
        : wanted_(std::move(upperText)), upperCase_(upperCase) {
        skip_.fill(wanted_.size());
        for (std::size_t i = 0; i + 1 < wanted_.size(); ++i) {
            skip_[Byte(wanted_[i])] = wanted_.size() - 1 - i;
        }
    }

    bool FoundIn(std::string_view text) const {
        const std::size_t length = wanted_.size();
        for (std::size_t at = 0; at + length <= text.size();
             at += skip_[Byte(Upper(text[at + length - 1]))]) {
            std::size_t matched = 0;
            while (matched < length &&
                   Upper(text[at + length - 1 - matched]) == wanted_[length - 1 - matched]) {
                ++matched;
            }
            if (matched == length) {
                return true;
            }
        }
        return false;
    }

private:
    static std::size_t Byte(char c) { return static_cast<unsigned char>(c); }
    char Upper(char c) const { return upperCase_[Byte(c)]; }

    std::string wanted_;
    std::array<char, 256> upperCase_;
    std::array<std::size_t, 256> skip_;
};

// The text sought in both of the forms files hold.
class SoughtText {
public:
    SoughtText(platform::TextCodec& codec, std::string_view utf8)
        : codec_(codec), upperCase_(codec.UpperCaseTable()), wide_(platform::Utf8ToUtf16(utf8)) {
        codec.ToUpper(wide_);
        // Where a character may take two bytes, the system upper-cases each text whole instead.
        if (std::optional<std::string> ansi = codec.Utf16ToAnsiExact(platform::Utf8ToUtf16(utf8))) {
            ansi_.emplace(codec.ToUpper(*ansi), upperCase_.value_or(platform::IdentityByteTable()));
        }
    }

    // Without a line break in the text sought, a match in the whole text lies within one line.
    bool FoundIn(std::string_view bytes) const {
        if (bytes.starts_with(engine::kUtf16ByteOrderMark)) {
            std::u16string text = platform::Utf16FromBytes(bytes.substr(engine::kUtf16ByteOrderMark.size()));
            codec_.ToUpper(text);
            return std::u16string_view(text).find(wide_) != std::u16string_view::npos;
        }
        return ansi_ && (upperCase_ ? ansi_->FoundIn(bytes) : ansi_->FoundIn(codec_.ToUpper(bytes)));
    }

private:
    platform::TextCodec& codec_;
    std::optional<std::array<char, 256>> upperCase_;
    std::u16string wide_;
    std::optional<FoldingSearcher> ansi_;  // none: no ANSI file holds the text
};

// A match never spans two lines, so a text holding a line break matches nothing.
bool CanMatch(std::string_view text) {
    return !text.empty() && text.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace

std::optional<std::size_t> SearchFiles(platform::Platform& platform, const std::string& directory,
                                       std::span<const std::string> names, std::size_t first,
                                       std::string_view text) {
    if (!CanMatch(text)) {
        return std::nullopt;
    }
    const SoughtText sought(platform.codec, text);
    std::string bytes;  // its room serves every file
    for (std::size_t i = first; i < names.size(); ++i) {
        if (!platform.files.Read(engine::JoinPath(directory, names[i]), bytes).Failed() &&
            sought.FoundIn(bytes)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> SearchListedFiles(platform::Platform& platform, const ListedFiles& files,
                                             std::string_view text) {
    const std::string directory(files.directory);
    const auto below = static_cast<std::size_t>(files.selected + 1);
    if (std::optional<std::size_t> found = SearchFiles(platform, directory, files.names, below, text)) {
        return found;
    }
    if (files.selected >= 0 && CanMatch(text)) {
        if (!platform.prompt.AskYesNo(kGoOnFromTheTop, engine::kQuestionTitle, platform::PromptIcon::None)) {
            return std::nullopt;  // the user stops there
        }
        // The selected entry last: a text that only its file holds is found there again.
        if (std::optional<std::size_t> found =
                SearchFiles(platform, directory, files.names.first(below), 0, text)) {
            return found;
        }
    }
    engine::ShowMessage(platform, kTextNotFound);
    return std::nullopt;
}

std::optional<std::size_t> FindInText(platform::TextCodec& codec, std::u16string_view text,
                                      std::string_view sought) {
    if (!CanMatch(sought)) {
        return std::nullopt;
    }
    std::u16string upperText(text);
    std::u16string upperSought = platform::Utf8ToUtf16(sought);
    codec.ToUpper(upperText);
    codec.ToUpper(upperSought);
    std::size_t at = upperText.find(upperSought);
    return at == std::u16string::npos ? std::nullopt : std::optional<std::size_t>(at);
}

}  // namespace claverix::app
