#pragma once
// The SAMI files of the caption corpus, in name order; none where the clone has no corpus.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace orvalis::test {

inline std::vector<std::string> samiCorpusFiles() {
    std::vector<std::string> names;
    const std::string dir = corpusDir("sami");
    if (dir.empty()) return names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with(".smi") || name.ends_with(".sami")) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace orvalis::test
