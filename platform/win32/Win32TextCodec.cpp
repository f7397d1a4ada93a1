#include "platform/win32/Win32TextCodec.h"

#include <windows.h>

#include <algorithm>
#include <array>

#include "platform/win32/Text.h"

namespace claverix::platform::win32 {

std::string Win32TextCodec::AnsiToUtf8(std::string_view ansi) {
    return WideToUtf8(ToWide(ansi, CP_ACP));
}

std::string Win32TextCodec::Utf8ToAnsi(std::string_view utf8) {
    return FromWide(Utf8ToWide(utf8), CP_ACP);
}

std::u16string Win32TextCodec::AnsiToUtf16(std::string_view ansi) {
    std::wstring wide = AnsiToWide(ansi);
    return std::u16string(wide.begin(), wide.end());
}

std::optional<std::string> Win32TextCodec::Utf16ToAnsiExact(std::u16string_view utf16) {
    return WideToAnsiExact(std::wstring_view(reinterpret_cast<const wchar_t*>(utf16.data()), utf16.size()));
}

namespace {

bool IsSingleByteCodePage() {
    CPINFO codePage{};
    return ::GetCPInfo(CP_ACP, &codePage) && codePage.MaxCharSize == 1;
}

}  // namespace

std::string Win32TextCodec::ToUpper(std::string_view ansi) {
    if (std::optional<std::array<char, 256>> table = UpperCaseTable()) {
        return ConvertedBytes(ansi, *table);
    }
    std::string upper(ansi);
    // A character may take two bytes: the system converts the text as a whole.
    // The call takes a 32-bit count.
    constexpr std::size_t kPiece = std::size_t{1} << 30;
    for (std::size_t done = 0; done < upper.size(); done += kPiece) {
        ::CharUpperBuffA(upper.data() + done, static_cast<DWORD>(std::min(kPiece, upper.size() - done)));
    }
    return upper;
}

void Win32TextCodec::ToUpper(std::u16string& utf16) {
    constexpr std::size_t kPiece = std::size_t{1} << 30;  // the call takes a 32-bit count
    for (std::size_t done = 0; done < utf16.size(); done += kPiece) {
        ::CharUpperBuffW(reinterpret_cast<wchar_t*>(utf16.data() + done),
                         static_cast<DWORD>(std::min(kPiece, utf16.size() - done)));
    }
}

// The 256 bytes converted at once.
std::optional<std::array<char, 256>> Win32TextCodec::UpperCaseTable() {
    if (!IsSingleByteCodePage()) {
        return std::nullopt;
    }
    std::array<char, 256> table = IdentityByteTable();
    ::CharUpperBuffA(table.data(), static_cast<DWORD>(table.size()));
    return table;
}

// Sort keys are the bytes of the collation's key, digits as numbers; they
// compare as StrCmpLogicalW compares the names, which is the order Explorer
// lists them in, for one call per name rather than one per comparison.
std::string Win32TextCodec::SortKey(std::string_view name) {
    constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE | SORT_DIGITSASNUMBERS;
    std::wstring wide = Utf8ToWide(name);
    // Room for the key of any file name, so that one call makes it.
    constexpr int kCapacity = 16 * MAX_PATH;
    alignas(wchar_t) char key[kCapacity];
    int size = ::LCMapStringW(LOCALE_USER_DEFAULT, kFlags, wide.c_str(), -1, reinterpret_cast<LPWSTR>(key),
                              kCapacity);
    if (size == 0) {
        return std::string(name);  // a name longer than any the file system gives
    }
    return std::string(key, static_cast<std::size_t>(size));
}

}  // namespace claverix::platform::win32
