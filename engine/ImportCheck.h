#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/ForeseenImport.h"
#include "platform/Registry.h"

namespace claverix::engine {

// What the registry holds of a file's keys and values once the importer has
// ended, beside what the file foresaw.
struct ImportCheck {
    std::size_t keysChecked = 0;
    std::size_t valuesChecked = 0;
    std::size_t keysMissed = 0;
    std::size_t valuesMissed = 0;
    // The first keys and values that are not as foreseen, each with what is
    // wrong, in French: key by key in the order the file first names them,
    // then the key and value lines the importer passed over.
    std::vector<std::string> firstMissed;
    // The merge's record (see MergeRecord) of what the registry holds now of
    // every key and value the file names: what a later undo compares with.
    std::string record;

    bool AllTook() const { return keysMissed == 0 && valuesMissed == 0; }
    // Judged on the values when the file sets any: a key the file only opens
    // exists whether the importer ran or not.
    bool NothingTook() const {
        return valuesChecked > 0 ? valuesMissed == valuesChecked
                                 : keysChecked > 0 && keysMissed == keysChecked;
    }
};

// Reads back every key and value of `foreseen`, each key opened once, and
// lists up to `listed` of those that are not as foreseen. Those after a line
// where Wine's importer stops are recorded but not judged. A key or value
// line the importer passed over counts as a key or value that did not take.
ImportCheck CheckImport(platform::Registry& registry, const ForeseenImport& foreseen, std::size_t listed);

}  // namespace claverix::engine
