#pragma once

#include <string>
#include <string_view>

#include "engine/Engine.h"

namespace claverix::engine {

// "yyyymmdd-hhmmss-" and the merged file's name, with " (n)" before the
// extension for the n-th restoration file of that name within one second.
std::string RestorationFileName(const platform::LocalTime& time, std::string_view mergedFileName,
                                int sequence);

// Imports `directory`\`fileName` with the system's registry editor after
// saving, in the archive, the restoration file that the latest analysis
// prepared. Asks first when the file is not signed; deletes a merged
// restoration file once the importer has read it. Reports its own failures.
void MergeRegFile(Engine& engine, const std::string& directory, const std::string& fileName);

// The same, saving `restoration` rather than the latest analysis's.
void MergeRegFile(Engine& engine, const std::string& directory, const std::string& fileName,
                  const RestorationText& restoration);

}  // namespace claverix::engine
