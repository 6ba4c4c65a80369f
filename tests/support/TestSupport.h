#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/DesktopServices.h"
#include "base/Prompter.h"
#include "base/SettingsStore.h"

namespace orvalis::test {

// The private home every test binary runs in (HOME and the XDG folders point into it).
const std::string& privateHome();
// A fresh, empty folder inside the private home.
std::string freshDir(const std::string& name);
std::string mediaPath(const std::string& name);
// ../shared/corpus/<sub> from the project root, or "" when this clone has none.
std::string corpusDir(const std::string& sub);
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

// Runs the Qt event loop until pred holds or the time is up; returns pred's last value.
bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 5000);
void processEventsFor(int milliseconds);

// Settings in memory, with the store's rules (per-call defaults, case-blind names).
class MemorySettingsStore final : public SettingsStore {
public:
    int getInt(std::string_view section, std::string_view key, int def) const override;
    std::string getString(std::string_view section, std::string_view key,
                          std::string_view def = {}) const override;
    void putInt(std::string_view section, std::string_view key, int value) override;
    void putString(std::string_view section, std::string_view key, std::string_view value) override;
    void removeKey(std::string_view section, std::string_view key) override;
    void removeSection(std::string_view section) override;
    std::vector<std::string> keys(std::string_view section) const override;
    void beginBatch() override {}
    void endBatch() override {}

    bool has(std::string_view section, std::string_view key) const;
    // Every put in order, as "Section/Key=value".
    std::vector<std::string> writes;

private:
    std::map<std::string, std::map<std::string, std::string>> data_;
    std::map<std::string, std::vector<std::string>> order_;
};

// Answers message boxes and file dialogs from queues and remembers what was asked.
class FakePrompter final : public Prompter {
public:
    MessageResult message(const MessageRequest& request) override;
    std::vector<std::string> openFiles(const FileDialogRequest& request, bool multiple) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::string& start) override;

    std::vector<MessageRequest> messages;
    std::vector<FileDialogRequest> dialogs;
    std::vector<MessageResult> answers;  // taken from the front; Ok/Yes when empty
    std::vector<std::vector<std::string>> openAnswers;
    std::vector<std::optional<std::string>> saveAnswers;
    std::vector<std::optional<std::string>> folderAnswers;
};

class FakeDesktop final : public DesktopServices {
public:
    void inhibitScreenSaver(bool inhibit) override { inhibitCalls.push_back(inhibited = inhibit); }
    bool openUrl(const std::string&) override { return true; }
    bool openInTextEditor(const std::string& path) override {
        return editedFiles.push_back(path), true;
    }
    bool inhibited = false;
    std::vector<bool> inhibitCalls;
    std::vector<std::string> editedFiles;
};

}  // namespace orvalis::test
