#pragma once

#include <map>
#include <string>
#include <string_view>

namespace claverix::tests {

// Just enough of a JSON reader to prove a document well formed and read its
// strings back: objects become maps, arrays keys "0", "1"... What is not
// JSON fails the running test.
struct JsonValue {
    std::string scalar;  // a string's decoded text, or a literal's or number's own
    std::map<std::string, JsonValue> members;
    const JsonValue& operator[](const std::string& key) const { return members.at(key); }
};

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    JsonValue Document();

private:
    char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    char Next() { return at_ < text_.size() ? text_[at_++] : '\0'; }
    void Expect(char c);
    JsonValue Value();
    std::string String();

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace claverix::tests
