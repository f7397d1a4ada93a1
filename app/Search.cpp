#include "app/Search.h"

#include <array>

#include "engine/Engine.h"

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

}  // namespace

std::optional<std::size_t> SearchFiles(platform::Platform& platform, const std::string& directory,
                                       std::span<const std::string> names, std::size_t first,
                                       std::string_view ansiText) {
    // A match never spans two lines, so a text holding a line break matches nothing.
    if (ansiText.empty() || ansiText.find_first_of("\r\n") != std::string_view::npos) {
        return std::nullopt;
    }
    platform::TextCodec& codec = platform.codec;
    // Where a character may take two bytes, the system upper-cases each text whole instead.
    std::optional<std::array<char, 256>> upperCase = codec.UpperCaseTable();
    const FoldingSearcher searcher(codec.ToUpper(ansiText),
                                   upperCase.value_or(platform::IdentityByteTable()));
    std::string bytes;
    for (std::size_t i = first; i < names.size(); ++i) {
        if (platform.files.Read(engine::JoinPath(directory, names[i]), bytes)) {
            continue;
        }
        std::optional<std::string> text = platform::FileTextAsAnsi(codec, std::move(bytes));
        // Without a line break in the text sought, a match in the whole text lies within one line.
        if (text && (upperCase ? searcher.FoundIn(*text) : searcher.FoundIn(codec.ToUpper(*text)))) {
            return i;
        }
        bytes = std::move(text).value_or(std::string{});  // its room serves the next file
    }
    return std::nullopt;
}

}  // namespace claverix::app
