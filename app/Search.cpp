#include "app/Search.h"

#include <array>

#include "engine/Engine.h"
#include "engine/Reporting.h"

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

    // Where the text first stands in `text`.
    std::optional<std::size_t> Find(std::string_view text) const {
        const std::size_t length = wanted_.size();
        for (std::size_t at = 0; at + length <= text.size();
             at += skip_[Byte(Upper(text[at + length - 1]))]) {
            std::size_t matched = 0;
            while (matched < length &&
                   Upper(text[at + length - 1 - matched]) == wanted_[length - 1 - matched]) {
                ++matched;
            }
            if (matched == length) {
                return at;
            }
        }
        return std::nullopt;
    }

private:
    static std::size_t Byte(char c) { return static_cast<unsigned char>(c); }
    char Upper(char c) const { return upperCase_[Byte(c)]; }

    std::string wanted_;
    std::array<char, 256> upperCase_;
    std::array<std::size_t, 256> skip_;
};

// Finds an ANSI text in others, letters compared in upper case as the
// system's locale converts them.
class CaseFoldingFinder {
public:
    CaseFoldingFinder(platform::TextCodec& codec, std::string_view ansiText)
        : codec_(codec),
          upperCase_(codec.UpperCaseTable()),
          searcher_(codec.ToUpper(ansiText), upperCase_.value_or(platform::IdentityByteTable())) {}

    std::optional<std::size_t> FindIn(std::string_view text) const {
        // Where a character may take two bytes, the system upper-cases each text whole instead.
        return upperCase_ ? searcher_.Find(text) : searcher_.Find(codec_.ToUpper(text));
    }

private:
    platform::TextCodec& codec_;
    std::optional<std::array<char, 256>> upperCase_;
    FoldingSearcher searcher_;
};

// A match never spans two lines, so a text holding a line break matches nothing.
bool CanMatch(std::string_view ansiText) {
    return !ansiText.empty() && ansiText.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace

std::optional<std::size_t> SearchFiles(platform::Platform& platform, const std::string& directory,
                                       std::span<const std::string> names, std::size_t first,
                                       std::string_view ansiText) {
    if (!CanMatch(ansiText)) {
        return std::nullopt;
    }
    const CaseFoldingFinder finder(platform.codec, ansiText);
    std::string bytes;
    for (std::size_t i = first; i < names.size(); ++i) {
        if (platform.files.Read(engine::JoinPath(directory, names[i]), bytes)) {
            continue;
        }
        std::optional<std::string> text = platform::FileTextAsAnsi(platform.codec, std::move(bytes));
        // Without a line break in the text sought, a match in the whole text lies within one line.
        if (text && finder.FindIn(*text)) {
            return i;
        }
        bytes = std::move(text).value_or(std::string{});  // its room serves the next file
    }
    return std::nullopt;
}

std::optional<std::size_t> SearchListedFiles(platform::Platform& platform, const ListedFiles& files,
                                             std::string_view ansiText) {
    const std::string directory(files.directory);
    const auto below = static_cast<std::size_t>(files.selected + 1);
    if (std::optional<std::size_t> found = SearchFiles(platform, directory, files.names, below, ansiText)) {
        return found;
    }
    if (files.selected >= 0 && CanMatch(ansiText)) {
        if (!platform.prompt.AskYesNo(kGoOnFromTheTop, engine::kQuestionTitle, platform::PromptIcon::None)) {
            return std::nullopt;  // the user stops there
        }
        // The selected entry last: a text that only its file holds is found there again.
        if (std::optional<std::size_t> found =
                SearchFiles(platform, directory, files.names.first(below), 0, ansiText)) {
            return found;
        }
    }
    engine::ShowMessage(platform, kTextNotFound);
    return std::nullopt;
}

std::optional<std::size_t> FindInText(platform::TextCodec& codec, std::string_view text,
                                      std::string_view ansiText) {
    if (!CanMatch(ansiText)) {
        return std::nullopt;
    }
    return CaseFoldingFinder(codec, ansiText).FindIn(text);
}

}  // namespace claverix::app
