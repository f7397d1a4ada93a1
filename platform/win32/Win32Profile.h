#pragma once

#include <initializer_list>

#include "platform/Profile.h"
#include "platform/win32/Win32FileSystem.h"

namespace claverix::platform::win32 {

// INI files through GetPrivateProfileStringW and WritePrivateProfileStringW.
// These read and write a file that begins with a UTF-16LE byte-order mark
// in Unicode, any other in the ANSI code page, and create a missing file in
// ANSI: a missing file is created with the mark first, and an ANSI file is
// turned into a Unicode one before it takes a text the code page cannot hold.
class Win32Profile final : public Profile {
public:
    std::string Read(const std::string& file, std::string_view section, std::string_view key,
                     std::string_view defaultValue, std::size_t capacity) override;
    FileError Write(const std::string& file, std::string_view section, std::string_view key,
                    std::string_view value) override;

private:
    FileError PrepareToHold(const std::string& file, std::initializer_list<std::string_view> texts);

    Win32FileSystem files_;
};

}  // namespace claverix::platform::win32
