#include "platform/win32/Win32TextCodec.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace claverix::platform::win32 {
namespace {

TEST(Win32TextCodecTest, WesternCodePageConversions) {
    if (::GetACP() != 1252) {
        GTEST_SKIP() << "these characters are chosen for code page 1252";
    }
    Win32TextCodec codec;
    EXPECT_EQ(codec.AnsiToUtf8("d\xE9j\xE0 \x80"), "déjà €");
    EXPECT_EQ(codec.Utf16ToAnsiExact(u"déjà €\r\n"), "d\xE9j\xE0 \x80\r\n");
    EXPECT_EQ(codec.AnsiToUtf16(std::string_view("d\xE9j\xE0 \x80\0", 7)),
              std::u16string_view(u"déjà €\0", 7));
    EXPECT_EQ(codec.Utf16ToAnsiExact(u""), "");
    EXPECT_FALSE(codec.Utf16ToAnsiExact(u"中"));
    EXPECT_FALSE(codec.Utf16ToAnsiExact(u"\u0100")) << "no best-fit: A with macron is not A";
    EXPECT_FALSE(codec.Utf16ToAnsiExact(std::u16string(1, char16_t{0xD800}))) << "a lone surrogate";
    std::u16string upper = u"été ж ω \U0001F600";
    codec.ToUpper(upper);
    EXPECT_EQ(upper, u"ÉTÉ Ж Ω \U0001F600");
    EXPECT_EQ(codec.ToUpper(std::string_view("d\xE9j\xE0 vu\r\n\xFF\xDF\0x", 13)),
              std::string_view("D\xC9J\xC0 VU\r\n\x9F\xDF\0X", 13))
        << "y diaeresis has its capital in the code page, sharp s has none; a NUL does not end the text";
}

}  // namespace
}  // namespace claverix::platform::win32
