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

    // Values, their deletions and what is said of them belong to the key added last.
    void AddKey(platform::RootKey root, std::string_view path);
    void AddKeyDeletion(platform::RootKey root, std::string_view path);
    // A string value the file cannot carry exactly is also listed in NotCarried().
    void AddValue(const platform::RegistryValue& value);
    void AddValueDeletion(std::string_view name);
    // UTF-8 text that the restoration file holds beside the restoration (the
    // user's signature, its own name): as exact as the rest.
    void AddText(std::string_view utf8) { NeedForm(utf8); }

    // A key the restoration cannot cover: it, or part of it, could not be read.
    void AddUncoveredKey(platform::RootKey root, std::string_view path);
    // A value that exists but could not be read.
    void AddUncoveredValue(std::string_view name);
    // Their names, "HKEY_CURRENT_USER\\path" and "HKEY_CURRENT_USER\\path\\\"name\"", UTF-8.
    const std::vector<std::string>& UncoveredKeys() const { return uncoveredKeys_; }

    // What the key added last holds that a registry file cannot set back.
    void AddKeyTraits(const platform::KeyTraits& traits);
    // What the text saves but cannot set back as it is, in French, one item
    // each: "HKEY_CURRENT_USER\\path : clé volatile",
    // "HKEY_CURRENT_USER\\path\\\"name\" : chaîne sans zéro final".
    const std::vector<std::string>& NotCarried() const { return notCarried_; }

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
    // The key added last as the lists name it, and one of its values.
    std::string KeyName() const;
    std::string ValueName(std::string_view name) const;

    platform::TextCodec& codec_;
    TextEncoding form_ = TextEncoding::Ansi;
    std::string text_;
    std::vector<HexString> hexStrings_;  // while the text is ANSI
    std::string buffer_;                 // for conversions, kept from line to line
    std::vector<std::string> uncoveredKeys_;
    std::vector<std::string> notCarried_;
    platform::RootKey keyRoot_ = platform::RootKey::None;
    std::string keyPath_;
};

// Adds the present state of the value `name` (empty: the default value) of
// `key`, the key added last to `out`: the value, its deletion when it does
// not exist, or, when it cannot be read, the value as one not covered.
// `scratch` carries buffers between calls.
void ExportValue(platform::RegistryKey& key, std::string_view name, platform::RegistryValue& scratch,
                 Restoration& out);

// Adds the key `path` under `root` with its values and, depth first, its
// sub-keys, and what each holds that the file cannot carry; nothing when the
// key does not exist. A key that cannot be opened for another reason, or
// whose enumeration fails or meets a name without a UTF-8 form, is one the
// restoration does not cover.
void ExportKey(platform::Registry& registry, platform::RootKey root, std::string_view path, Restoration& out);

}  // namespace claverix::engine
