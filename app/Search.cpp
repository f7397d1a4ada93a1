#include "app/Search.h"

#include <array>

#include "engine/Engine.h"
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

}  // namespace

std::optional<std::size_t> SearchFiles(platform::Platform& platform, const std::string& directory,
                                       std::span<const std::string> names, std::size_t first,
                                       std::string_view text) {
    // A match never spans two lines, so a text holding a line break matches nothing.
    if (text.empty() || text.find_first_of("\r\n") != std::string_view::npos) {
        return std::nullopt;
    }
    const SoughtText sought(platform.codec, text);
    std::string bytes;  // its room serves every file
    for (std::size_t i = first; i < names.size(); ++i) {
        if (!platform.files.Read(engine::JoinPath(directory, names[i]), bytes) && sought.FoundIn(bytes)) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace claverix::app
