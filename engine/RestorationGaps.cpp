#include "engine/RestorationGaps.h"

#include <optional>
#include <utility>

#include "engine/RegFileFormat.h"

namespace claverix::engine {

namespace {

constexpr std::string_view kUncoveredWord = "uncovered ";
constexpr std::string_view kNotCarriedWord = "not-carried ";

void AppendGapLines(std::string& out, std::string_view word, const std::vector<std::string>& items) {
    for (const std::string& item : items) {
        out.append(kRecordPrefix).append(word);
        AppendPercentEscaped(out, item);
        out.append(kCrLf);
    }
}

// What follows `word` in a gap line of its kind; nullopt for any other line.
std::optional<std::string_view> GapBody(std::string_view line, std::string_view word) {
    if (!line.starts_with(kRecordPrefix)) {
        return std::nullopt;
    }
    line.remove_prefix(kRecordPrefix.size());
    if (!line.starts_with(word)) {
        return std::nullopt;
    }
    return line.substr(word.size());
}

}  // namespace

std::string RestorationGapsText(const RestorationGaps& gaps) {
    std::string text;
    AppendGapLines(text, kUncoveredWord, gaps.uncovered);
    AppendGapLines(text, kNotCarriedWord, gaps.notCarried);
    return text;
}

RestorationGaps ReadRestorationGaps(std::string_view fileText) {
    RestorationGaps gaps;
    const std::pair<std::string_view, std::vector<std::string>*> kinds[] = {
        {kUncoveredWord, &gaps.uncovered},
        {kNotCarriedWord, &gaps.notCarried},
    };
    LineReader lines(fileText);
    for (std::string_view line; lines.Next(line);) {
        for (const auto& [word, items] : kinds) {
            std::optional<std::string_view> body = GapBody(line, word);
            std::optional<std::string> item = body ? PercentUnescaped(*body) : std::nullopt;
            if (item) {
                items->push_back(std::move(*item));
            }
        }
    }
    return gaps;
}

bool IsRestorationGapLine(std::string_view line) {
    return GapBody(line, kUncoveredWord) || GapBody(line, kNotCarriedWord);
}

}  // namespace claverix::engine
