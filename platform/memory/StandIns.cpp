#include "platform/memory/StandIns.h"

#include "platform/Unicode.h"

namespace claverix::platform {

class MemoryLocks::Held final : public HeldLock {
public:
    Held(std::set<std::string>& held, std::string name) : held_(held), name_(std::move(name)) {
        held_.insert(name_);
    }
    ~Held() override { held_.erase(name_); }

private:
    std::set<std::string>& held_;
    std::string name_;
};

std::unique_ptr<HeldLock> MemoryLocks::TryTake(std::string_view name) {
    if (IsHeld(name) || heldElsewhere.contains(std::string(name))) {
        return nullptr;
    }
    return std::make_unique<Held>(held_, std::string(name));
}

std::unique_ptr<HeldLock> MemoryLocks::Take(std::string_view name) {
    if (IsHeld(name)) {
        return nullptr;  // a second take in one process would wait for ever
    }
    waits += heldElsewhere.erase(std::string(name)) > 0 ? 1 : 0;
    return std::make_unique<Held>(held_, std::string(name));
}

namespace {

class RecordedProcess final : public StartedProcess {
public:
    RecordedProcess(RecordingLauncher& launcher, std::size_t index) : launcher_(launcher), index_(index) {}

    bool WaitForExit() override {
        launcher_.starts[index_].waitedFor = true;
        if (launcher_.onExit) {
            launcher_.onExit();
        }
        return true;
    }

private:
    RecordingLauncher& launcher_;
    std::size_t index_;
};

}  // namespace

ProcessStart RecordingLauncher::StartMinimized(const std::string& application,
                                               const std::string& commandLine) {
    if (refuseStarts) {
        return {*refuseStarts, nullptr};
    }
    starts.push_back({application, commandLine, false});
    return {ProcessStart::Status::Started, std::make_unique<RecordedProcess>(*this, starts.size() - 1)};
}

std::string Latin1TextCodec::AnsiToUtf8(std::string_view ansi) {
    std::string utf8;
    utf8.reserve(ansi.size());
    for (char c : ansi) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

std::string Latin1TextCodec::Utf8ToAnsi(std::string_view utf8) {
    std::string ansi;
    ansi.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            ansi += utf8[i];
        } else if ((lead & 0xE0) == 0xC0 && lead < 0xC4 && i + 1 < utf8.size()) {
            ansi += static_cast<char>(((lead & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        } else if ((lead & 0xC0) != 0x80) {
            ansi += '?';  // beyond Latin-1; its continuation bytes are skipped
        }
    }
    return ansi;
}

std::u16string Latin1TextCodec::AnsiToUtf16(std::string_view ansi) {
    std::u16string utf16(ansi.size(), u'\0');
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        utf16[i] = static_cast<unsigned char>(ansi[i]);
    }
    return utf16;
}

std::optional<std::string> Latin1TextCodec::Utf16ToAnsiExact(std::u16string_view utf16) {
    std::string ansi(utf16.size(), '\0');
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        if (utf16[i] > 0xFF) {
            return std::nullopt;
        }
        ansi[i] = static_cast<char>(utf16[i]);
    }
    return ansi;
}

std::string Latin1TextCodec::ToUpper(std::string_view ansi) {
    return ConvertedBytes(ansi, *UpperCaseTable());
}

std::optional<std::array<char, 256>> Latin1TextCodec::UpperCaseTable() {
    std::array<char, 256> table;
    for (int byte = 0; byte < 256; ++byte) {
        bool lower = (byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7);
        table[static_cast<std::size_t>(byte)] = static_cast<char>(lower ? byte - 0x20 : byte);
    }
    return table;
}

std::string Latin1TextCodec::SortKey(std::string_view name) {
    std::u16string units = Utf8ToUtf16(name);
    ToUpper(units);
    std::string upper = Utf16ToUtf8(units);
    std::string key;
    for (std::size_t i = 0; i < upper.size();) {
        if (upper[i] < '0' || upper[i] > '9') {
            key += upper[i++];
            continue;
        }
        std::size_t end = upper.find_first_not_of("0123456789", i);
        end = end == std::string::npos ? upper.size() : end;
        std::string_view digits = std::string_view(upper).substr(i, end - i);
        digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size() - 1));
        // A longer number sorts after a shorter one: its length goes first.
        key += static_cast<char>('0' + digits.size());
        key += digits;
        i = end;
    }
    return key;
}

std::string FixedEnvironment::ExpandVariables(const std::string& text) {
    constexpr std::string_view kSystemRoot = "%SystemRoot%";
    std::string expanded = text;
    for (auto at = expanded.find(kSystemRoot); at != std::string::npos; at = expanded.find(kSystemRoot, at)) {
        expanded.replace(at, kSystemRoot.size(), windowsDirectory);
        at += windowsDirectory.size();
    }
    return expanded;
}

void Latin1TextCodec::ToUpper(std::u16string& utf16) {
    const std::array<char, 256> latin1 = *UpperCaseTable();
    for (char16_t& c : utf16) {
        bool greek = c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2;
        bool cyrillic = c >= 0x430 && c <= 0x44F;
        if (c < 0x100) {
            c = static_cast<unsigned char>(latin1[c]);
        } else if (greek || cyrillic) {
            c = static_cast<char16_t>(c - 0x20);
        }
    }
}

}  // namespace claverix::platform
