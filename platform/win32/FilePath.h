#pragma once

#include <string>
#include <string_view>

namespace claverix::platform::win32 {

// A UTF-8 path as the file functions take it: in UTF-16, and from the length
// where they would refuse it (MAX_PATH, less for a directory) in its "\\?\"
// form, "\\?\UNC\" for a share, made from the full path, which lifts that
// limit. The "\\?\" form takes no relative part, hence the full path.
std::wstring FilePathForSystem(std::string_view utf8Path);
std::wstring FilePathForSystem(std::wstring path);

}  // namespace claverix::platform::win32
