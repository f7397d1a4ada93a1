#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/ImportReader.h"
#include "platform/Registry.h"
#include "platform/TextCodec.h"

namespace claverix::engine {

// Registry-file text describing the live registry, for restoration files.
// Every value comes out on one line that the importer turns back into the
// same type and the same bytes as far as it can: quoted text for a plain
// string, "dword:" for a four-byte number, hex bytes ("hex:", "hex(n):") for
// everything else.

// Appends the line that sets `value` back as it is now, in a file of the
// encoding `form`: ANSI bytes, or UTF-8 text to be written as UTF-16. In the
// ANSI form the name and the string data must have an exact ANSI form
// (see Restoration).
void AppendValueLine(std::string& out, const platform::RegistryValue& value, TextEncoding form,
                     platform::TextCodec& codec);

// What a restoration file must set back: REGEDIT4 text in the ANSI code
// page, byte for byte as it always was, while every name, path and string
// has an exact form there; version 5 text, to be written as UTF-16,
// from the first one that has none. String data keeps its form only with an
// even byte count: the ANSI importer converts whole characters.
class Restoration {
public:
    explicit Restoration(platform::TextCodec& codec) : codec_(codec) {}

    // Room for about this many bytes of text, made at once: a text grown
    // step by step touches twice the memory, and fresh memory is slow to touch.
    void Reserve(std::size_t bytes) { text_.reserve(bytes); }

    void AddKey(platform::RootKey root, std::string_view path);
    void AddKeyDeletion(platform::RootKey root, std::string_view path);
    void AddValue(const platform::RegistryValue& value);
    void AddValueDeletion(std::string_view name);
    // UTF-8 text that the restoration file holds beside the restoration (the
    // user's signature, its own name): as exact as the rest.
    void AddText(std::string_view utf8) { NeedForm(utf8); }

    // A key the restoration cannot cover: it could not be read.
    void AddUncoveredKey(platform::RootKey root, std::string_view path);
    // Their names, "HKEY_CURRENT_USER\\path", UTF-8.
    const std::vector<std::string>& UncoveredKeys() const { return uncoveredKeys_; }

    TextEncoding Encoding() const { return form_; }

    // The text in Encoding()'s form: ANSI bytes, or UTF-8 text. Each key line
    // follows an empty line.
    const std::string& Text() const& { return text_; }
    std::string Text() && { return std::move(text_); }

private:
    // A line of string data in hex, which the two forms write differently.
    struct HexString {
        std::size_t offset;
        std::size_t length;
        platform::RegistryValue value;
    };

    // Turns the text into version 5 text before `utf8` is added, when the
    // ANSI code page has no exact form for it.
    void NeedForm(std::string_view utf8);
    void TurnToVersion5();
    void AppendKeyLine(std::string_view opening, platform::RootKey root, std::string_view path);

    platform::TextCodec& codec_;
    TextEncoding form_ = TextEncoding::Ansi;
    std::string text_;
    std::vector<HexString> hexStrings_;  // while the text is ANSI
    std::string buffer_;                 // for conversions, kept from line to line
    std::vector<std::string> uncoveredKeys_;
};

// Adds the present state of the value `name` (empty: the default value) of
// `key`: the value, its deletion when it does not exist, or nothing when it
// cannot be read. `scratch` carries buffers between calls.
void ExportValue(platform::RegistryKey& key, std::string_view name, platform::RegistryValue& scratch,
                 Restoration& out);

// Adds the key `path` under `root` with its values and, depth first, its
// sub-keys; nothing when the key does not exist, and a key that cannot be
// opened for another reason is one the restoration does not cover.
void ExportKey(platform::Registry& registry, platform::RootKey root, std::string_view path, Restoration& out);

}  // namespace claverix::engine
