#include "platform/win32/Win32Profile.h"

#include <windows.h>

#include <vector>

#include "platform/Unicode.h"
#include "platform/win32/Text.h"

namespace claverix::platform::win32 {

namespace {

constexpr std::string_view kUnicodeMark = "\xFF\xFE";

bool AnsiHoldsAll(std::initializer_list<std::string_view> texts) {
    for (std::string_view text : texts) {
        if (!WideToAnsiExact(Utf8ToWide(text))) {
            return false;
        }
    }
    return true;
}

// The text of an ANSI settings file as a Unicode one holds it: every key kept.
std::string AsUnicodeFile(std::string_view ansi) {
    std::wstring text = AnsiToWide(ansi);
    std::u16string_view units(reinterpret_cast<const char16_t*>(text.data()), text.size());
    return std::string(kUnicodeMark) + Utf16Bytes(units);
}

}  // namespace

std::string Win32Profile::Read(const std::string& file, std::string_view section, std::string_view key,
                               std::string_view defaultValue, std::size_t capacity) {
    std::vector<wchar_t> buffer(capacity + 1, L'\0');
    DWORD count = ::GetPrivateProfileStringW(Utf8ToWide(section).c_str(), Utf8ToWide(key).c_str(),
                                             Utf8ToWide(defaultValue).c_str(), buffer.data(),
                                             static_cast<DWORD>(capacity), Utf8ToWide(file).c_str());
    return WideToUtf8(std::wstring_view(buffer.data(), count));
}

FileError Win32Profile::Write(const std::string& file, std::string_view section, std::string_view key,
                              std::string_view value) {
    if (FileError error = PrepareToHold(file, {section, key, value}); error.Failed()) {
        return error;
    }
    if (::WritePrivateProfileStringW(Utf8ToWide(section).c_str(), Utf8ToWide(key).c_str(),
                                     Utf8ToWide(value).c_str(), Utf8ToWide(file).c_str())) {
        return {};
    }
    DWORD code = ::GetLastError();
    return {code, ErrorDescription(code)};
}

// A file that cannot be read is left to the write, which says why.
FileError Win32Profile::PrepareToHold(const std::string& file,
                                      std::initializer_list<std::string_view> texts) {
    std::string bytes;
    FileError read = files_.Read(file, bytes);
    if (read.code == kFileNotFound) {
        const std::string_view pieces[] = {kUnicodeMark};
        FileError created = files_.CreateNew(file, pieces);
        return created.code == kFileExists ? FileError{} : created;
    }
    if (read.Failed() || std::string_view(bytes).starts_with(kUnicodeMark) || AnsiHoldsAll(texts)) {
        return {};
    }
    std::string unicode = AsUnicodeFile(bytes);
    const std::string_view pieces[] = {unicode};
    return files_.Replace(file, pieces);
}

}  // namespace claverix::platform::win32
