#pragma once

#include <concepts>
#include <string>
#include <string_view>
#include <vector>

namespace claverix::app {

// A JSON text built value by value: the writer puts the commas and the
// colons, and escapes strings. The caller nests objects and arrays right;
// inside an object each value follows its Key.
class JsonWriter {
public:
    JsonWriter& BeginObject() { return Open("{"); }
    JsonWriter& EndObject() { return Close('}'); }
    JsonWriter& BeginArray() { return Open("["); }
    JsonWriter& EndArray() { return Close(']'); }
    JsonWriter& Key(std::string_view name);

    // UTF-8; a byte sequence that is not UTF-8 is written as U+FFFD, so that
    // the document stays valid whatever the text.
    JsonWriter& String(std::string_view text);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();
    template <std::integral Number>
    JsonWriter& Integer(Number value) {
        return Token(std::to_string(value));
    }

    const std::string& Text() const { return text_; }

private:
    JsonWriter& Token(std::string_view token);
    // A container begun, empty yet; a container ended.
    JsonWriter& Open(std::string_view bracket);
    JsonWriter& Close(char bracket);
    // Before a value or a key: a comma when the container already holds one.
    void Separate();

    std::string text_;
    // For each open container, whether it holds something yet.
    std::vector<bool> filled_;
    bool afterKey_ = false;
};

}  // namespace claverix::app
