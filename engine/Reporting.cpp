#include "engine/Reporting.h"

namespace claverix::engine {

namespace {

// A key path may run to thousands of characters, which no message box
// shows: a long item keeps its start, and its end, which says what became
// of it, around an ellipsis. UTF-8 characters are kept whole.
std::string ShortenedForAList(std::string_view item) {
    constexpr std::size_t kLongest = 160;
    constexpr std::size_t kHead = 60;
    if (item.size() <= kLongest) {
        return std::string(item);
    }
    auto isContinuation = [&](std::size_t at) {
        return (static_cast<unsigned char>(item[at]) & 0xC0) == 0x80;
    };
    std::size_t headEnd = kHead;
    while (isContinuation(headEnd)) {
        --headEnd;
    }
    std::size_t tailStart = item.size() - (kLongest - kHead);
    while (isContinuation(tailStart)) {
        ++tailStart;
    }
    return std::string(item.substr(0, headEnd)) + "\u2026" + std::string(item.substr(tailStart));
}

}  // namespace

void AppendList(std::string& text, const std::vector<std::string>& first, std::size_t count) {
    for (const std::string& item : first) {
        text.append("\r\n    ").append(ShortenedForAList(item));
    }
    if (count > first.size()) {
        text.append("\r\n    et ").append(Counted(count - first.size(), "autre", "autres"));
    }
}

std::string Counted(std::size_t count, std::string_view singular, std::string_view plural) {
    return std::to_string(count) + " " + std::string(count > 1 ? plural : singular);
}

void ShowMessage(platform::Platform& platform, std::string_view text) {
    platform.prompt.Message(text, kAppTitle, platform::PromptIcon::None);
}

void ReportFileError(platform::Platform& platform, const platform::FileError& error, std::string_view what) {
    std::string text = "Erreur " + error.description;
    std::string title = "Ouverture de " + std::string(what);
    platform.prompt.Message(text, title, platform::PromptIcon::None);
}

}  // namespace claverix::engine
