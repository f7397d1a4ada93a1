#include "bench/BenchEngine.h"

#include <stdexcept>
#include <utility>

#include "engine/Analysis.h"

namespace claverix::bench {

BenchEngine::BenchEngine(engine::StartupValues startup, const std::string& executablePath)
    : platform_{registry, profile, files, launcher, environment, prompt, codec, locks},
      engine_{platform_, std::move(startup)} {
    if (!executablePath.empty()) {
        environment.executablePath = executablePath;
    }
}

std::size_t BenchEngine::Analyse(const std::string& directory, const std::string& fileName) {
    std::optional<engine::Analysis> analysis = engine::AnalyseRegFile(engine_, directory, fileName);
    std::size_t size = analysis ? engine::CurrentRestoration(engine_, *analysis).text.size() : 0;
    CheckNothingShown("the analysis of " + fileName);
    return size;
}

void BenchEngine::CheckNothingShown(const std::string& during) {
    if (!prompt.shown().empty()) {
        std::string text = prompt.shown().front().text;
        prompt.Clear();
        throw std::runtime_error(during + " said: " + text);
    }
}

std::size_t BenchEngine::ShownCount() {
    std::size_t count = prompt.shown().size();
    prompt.Clear();
    return count;
}

}  // namespace claverix::bench
