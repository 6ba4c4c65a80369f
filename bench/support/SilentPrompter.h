#pragma once

#include "base/Prompter.h"

namespace orvalis::bench {

// Answers every box with No and every dialog with nothing: benchmarks run without a hand.
class SilentPrompter final : public Prompter {
public:
    MessageResult message(const MessageRequest&) override { return MessageResult::No; }
    std::vector<std::string> openFiles(const FileDialogRequest&, bool) override { return {}; }
    std::optional<std::string> saveFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override {
        return {};
    }
};

}  // namespace orvalis::bench
