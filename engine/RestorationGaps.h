#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace claverix::engine {

// What a restoration does not set back, said before its merge and kept in
// its file to be said again when that file is merged.
struct RestorationGaps {
    std::vector<std::string> uncovered;  // "HKEY_CURRENT_USER\\path" (UTF-8), as Restoration::UncoveredKeys()
    std::vector<std::string> notCarried;  // as Restoration::NotCarried()
};

// Comment lines for the restoration file, one per item, each starting with
// kRecordPrefix (see RegFileFormat.h), ASCII whatever the names, so that
// they fit REGEDIT4 and version 5 files alike and the windows neither show
// nor lose them:
//   #~claverix uncovered HKEY_CURRENT_USER\Software\Locked
//   #~claverix not-carried HKEY_CURRENT_USER\Software\Demo : cl%c3%a9 volatile
// The item is escaped as in a merge's record.
std::string RestorationGapsText(const RestorationGaps& gaps);

// The gaps written in a restoration file's text (either of its forms), to
// say them again when it is merged.
RestorationGaps ReadRestorationGaps(std::string_view fileText);

// Whether `line` is one of RestorationGapsText's lines.
bool IsRestorationGapLine(std::string_view line);

}  // namespace claverix::engine
