#include "tests/support/JsonReader.h"

#include <gtest/gtest.h>

#include "platform/Unicode.h"

namespace claverix::tests {

JsonValue JsonReader::Document() {
    JsonValue value = Value();
    EXPECT_EQ(at_, text_.size()) << "text after the document";
    return value;
}

void JsonReader::Expect(char c) {
    ASSERT_EQ(Next(), c) << "at " << at_;
}

JsonValue JsonReader::Value() {
    JsonValue value;
    char c = Peek();
    if (c == '{' || c == '[') {
        ++at_;
        char close = c == '{' ? '}' : ']';
        for (std::size_t index = 0; Peek() != close && Peek() != '\0'; ++index) {
            if (index > 0) {
                Expect(',');
            }
            std::string key = std::to_string(index);
            if (c == '{') {
                key = Value().scalar;
                Expect(':');
            }
            value.members[key] = Value();
        }
        Expect(close);
    } else if (c == '"') {
        value.scalar = String();
    } else {
        while (std::string_view("truefalsn-0123456789").find(Peek()) != std::string_view::npos) {
            value.scalar += Next();
        }
        EXPECT_FALSE(value.scalar.empty()) << "no value at " << at_;
    }
    return value;
}

std::string JsonReader::String() {
    Expect('"');
    std::string text;
    for (char c = Next(); c != '"' && c != '\0'; c = Next()) {
        EXPECT_GE(static_cast<unsigned char>(c), 0x20) << "a raw control character at " << at_;
        if (c == '\\') {
            c = Next();
            if (c == 'u') {
                text += platform::Utf16ToUtf8(std::u16string(
                    1, static_cast<char16_t>(std::stoi(std::string(text_.substr(at_, 4)), nullptr, 16))));
                at_ += 4;
                continue;
            }
            EXPECT_TRUE(c == '"' || c == '\\') << "escape \\" << c;
        }
        text += c;
    }
    EXPECT_EQ(platform::Utf16ToUtf8(platform::Utf8ToUtf16(text)), text) << "not UTF-8";
    return text;
}

}  // namespace claverix::tests
