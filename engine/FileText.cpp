#include "engine/FileText.h"

#include "platform/Unicode.h"

namespace claverix::engine {

FileText DecodeFileText(std::string bytes) {
    FileText text;
    if (!std::string_view(bytes).starts_with(kUtf16ByteOrderMark)) {
        text.shown = std::move(bytes);
        return text;
    }
    text.encoding = TextEncoding::Utf16;
    text.utf16 = bytes.substr(kUtf16ByteOrderMark.size());
    text.oddByteCount = text.utf16.size() % 2 != 0;
    text.shown = platform::Utf16ToUtf8(platform::Utf16FromBytes(text.utf16));
    return text;
}

std::string EncodeFileText(std::string_view text, TextEncoding encoding) {
    if (encoding == TextEncoding::Ansi) {
        return std::string(text);
    }
    return platform::Utf16Bytes(platform::Utf8ToUtf16(text));
}

std::string ConvertText(std::string_view text, TextEncoding from, TextEncoding to,
                        platform::TextCodec& codec) {
    if (from == to) {
        return std::string(text);
    }
    return to == TextEncoding::Utf16 ? codec.AnsiToUtf8(text) : codec.Utf8ToAnsi(text);
}

std::optional<std::string> ExactText(std::string_view utf8, TextEncoding encoding,
                                     platform::TextCodec& codec) {
    if (encoding == TextEncoding::Utf16) {
        return std::string(utf8);
    }
    return codec.Utf16ToAnsiExact(platform::Utf8ToUtf16(utf8));
}

}  // namespace claverix::engine
