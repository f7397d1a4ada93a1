#include "platform/win32/Win32TextCodec.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/win32/Text.h"

namespace claverix::platform::win32 {

std::string Win32TextCodec::AnsiToUtf8(std::string_view ansi) {
    return WideToUtf8(ToWide(ansi, CP_ACP));
}

std::string Win32TextCodec::Utf8ToAnsi(std::string_view utf8) {
    return FromWide(Utf8ToWide(utf8), CP_ACP);
}

std::optional<std::string> Win32TextCodec::Utf16ToAnsi(std::string_view utf16le) {
    std::wstring wide(utf16le.size() / 2, L'\0');
    std::memcpy(wide.data(), utf16le.data(), wide.size() * sizeof(wchar_t));
    return WideToAnsiExact(wide);
}

namespace {

char AsciiUpper(char c) {
    return static_cast<char>(c - (static_cast<unsigned char>(c - 'a') < 26 ? 'a' - 'A' : 0));
}

// The upper case of every byte of a code page of one byte a character,
// from the 256 of them converted at once.
std::array<char, 256> UpperCaseTable() {
    std::array<char, 256> table;
    for (int i = 0; i < 256; ++i) {
        table[static_cast<std::size_t>(i)] = static_cast<char>(i);
    }
    ::CharUpperBuffA(table.data(), 256);
    return table;
}

// Text is mostly ASCII, whose letters a loop of the compiler's vector
// instructions converts, when the code page treats them as ASCII does; the
// other bytes go through the table.
void ToUpperByTable(std::string& text, const std::array<char, 256>& table) {
    for (int i = 0; i < 128; ++i) {
        if (table[static_cast<std::size_t>(i)] != AsciiUpper(static_cast<char>(i))) {
            for (char& c : text) {
                c = table[static_cast<unsigned char>(c)];
            }
            return;
        }
    }
    char highBits = 0;
    for (char& c : text) {
        highBits = static_cast<char>(highBits | c);
        c = AsciiUpper(c);
    }
    if ((highBits & 0x80) != 0) {
        for (char& c : text) {
            c = (c & 0x80) != 0 ? table[static_cast<unsigned char>(c)] : c;
        }
    }
}

}  // namespace

std::string Win32TextCodec::ToUpper(std::string_view ansi) {
    std::string upper(ansi);
    CPINFO codePage{};
    if (::GetCPInfo(CP_ACP, &codePage) && codePage.MaxCharSize == 1) {
        ToUpperByTable(upper, UpperCaseTable());
        return upper;
    }
    // The call takes a 32-bit count.
    constexpr std::size_t kPiece = std::size_t{1} << 30;
    for (std::size_t done = 0; done < upper.size(); done += kPiece) {
        ::CharUpperBuffA(upper.data() + done, static_cast<DWORD>(std::min(kPiece, upper.size() - done)));
    }
    return upper;
}

}  // namespace claverix::platform::win32
