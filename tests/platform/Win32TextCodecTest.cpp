#include "platform/win32/Win32TextCodec.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace claverix::platform::win32 {
namespace {

std::string Utf16(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST(Win32TextCodecTest, WesternCodePageConversions) {
    if (::GetACP() != 1252) {
        GTEST_SKIP() << "these characters are chosen for code page 1252";
    }
    Win32TextCodec codec;
    EXPECT_EQ(codec.AnsiToUtf8("d\xE9j\xE0 \x80"), "déjà €");
    EXPECT_EQ(codec.Utf16ToAnsi(Utf16(u"déjà €\r\n")), "d\xE9j\xE0 \x80\r\n");
    EXPECT_EQ(codec.Utf16ToAnsi(""), "");
    EXPECT_FALSE(codec.Utf16ToAnsi(Utf16(u"中")));
    EXPECT_FALSE(codec.Utf16ToAnsi(Utf16(u"\u0100"))) << "no best-fit: A with macron is not A";
    EXPECT_FALSE(codec.Utf16ToAnsi(Utf16(std::u16string(1, char16_t{0xD800})))) << "a lone surrogate";
    EXPECT_EQ(codec.ToUpper(std::string_view("d\xE9j\xE0 vu\r\n\xFF\xDF\0x", 13)),
              std::string_view("D\xC9J\xC0 VU\r\n\x9F\xDF\0X", 13))
        << "y diaeresis has its capital in the code page, sharp s has none; a NUL does not end the text";
}

}  // namespace
}  // namespace claverix::platform::win32
