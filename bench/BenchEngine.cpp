#include "bench/BenchEngine.h"

#include <stdexcept>

#include "engine/Analysis.h"

namespace claverix::bench {

std::size_t BenchEngine::Analyse(const std::string& directory, const std::string& fileName) {
    engine::AnalyseRegFile(engine_, directory, fileName);
    if (!prompt.shown().empty()) {
        std::string text = prompt.shown().front().text;
        prompt.Clear();
        throw std::runtime_error("the analysis of " + fileName + " said: " + text);
    }
    return engine_.state.RestoreText.size();
}

}  // namespace claverix::bench
