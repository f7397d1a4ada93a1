#include "platform/memory/MemoryProfile.h"

#include "platform/Unicode.h"
#include "platform/memory/CaseInsensitive.h"

namespace claverix::platform {

namespace {

std::string EntryKey(std::string_view file, std::string_view section, std::string_view key) {
    return FoldedCopy(file) + '|' + FoldedCopy(section) + '|' + FoldedCopy(key);
}

}  // namespace

std::string MemoryProfile::Read(const std::string& file, std::string_view section, std::string_view key,
                                std::string_view defaultValue, std::size_t capacity) {
    auto found = values_.find(EntryKey(file, section, key));
    std::string_view value = found == values_.end() ? defaultValue : std::string_view(found->second);
    // The system counts UTF-16 units.
    std::u16string units = Utf8ToUtf16(value);
    units.resize(std::min(units.size(), capacity == 0 ? 0 : capacity - 1));
    return Utf16ToUtf8(units);
}

FileError MemoryProfile::Write(const std::string& file, std::string_view section, std::string_view key,
                               std::string_view value) {
    auto failure = failures_.find(FoldedCopy(file));
    if (failure != failures_.end() && failure->second != 0) {
        return {failure->second, "Accès refusé."};
    }
    values_[EntryKey(file, section, key)] = value;
    return {};
}

void MemoryProfile::FailWritesTo(const std::string& file, std::uint32_t code) {
    failures_[FoldedCopy(file)] = code;
}

}  // namespace claverix::platform
