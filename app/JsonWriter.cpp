#include "app/JsonWriter.h"

#include <cstdio>

#include "platform/Unicode.h"

namespace claverix::app {

namespace {

void AppendEscaped(std::string& out, std::string_view utf8) {
    for (char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        } else {
            out += c;
        }
    }
}

}  // namespace

void JsonWriter::Separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!filled_.empty()) {
        if (filled_.back()) {
            text_ += ',';
        }
        filled_.back() = true;
    }
}

JsonWriter& JsonWriter::Token(std::string_view token) {
    Separate();
    text_ += token;
    return *this;
}

JsonWriter& JsonWriter::Open(std::string_view bracket) {
    Token(bracket);
    filled_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
    filled_.pop_back();
    text_ += bracket;
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
    String(name);
    text_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
    Separate();
    text_ += '"';
    // The round trip through UTF-16 puts U+FFFD where the bytes are no UTF-8.
    AppendEscaped(text_, platform::Utf16ToUtf8(platform::Utf8ToUtf16(text)));
    text_ += '"';
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    return Token(value ? "true" : "false");
}

JsonWriter& JsonWriter::Null() {
    return Token("null");
}

}  // namespace claverix::app
