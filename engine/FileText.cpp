#include "engine/FileText.h"

#include "platform/Unicode.h"

namespace claverix::engine {

FileText DecodeFileText(std::string bytes, platform::TextCodec& codec) {
    FileText text;
    if (!std::string_view(bytes).starts_with(kUtf16ByteOrderMark)) {
        text.read = codec.AnsiToUtf16(bytes);
        text.shown = std::move(bytes);
        return text;
    }
    std::string_view units = std::string_view(bytes).substr(kUtf16ByteOrderMark.size());
    text.encoding = TextEncoding::Utf16;
    text.oddByteCount = units.size() % 2 != 0;
    text.read = platform::Utf16FromBytes(units);
    text.shown = platform::Utf16ToUtf8(text.read);
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

}  // namespace claverix::engine
