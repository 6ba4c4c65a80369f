#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvalis {

enum class MessageIcon { None, Information, Exclamation, Question, Stop };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No };

struct MessageRequest {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::Exclamation;
    MessageButtons buttons = MessageButtons::Ok;
};

// A file dialog as the player describes it. filter uses the "name|patterns|...||" form:
// "자막파일 (*.smi)|*.smi||".
struct FileDialogRequest {
    std::string title;
    std::string folder;
    std::string fileName;
    std::string filter;
    std::string defaultSuffix;
};

// Message boxes and file dialogs. The program asks through this interface only, so that a
// test replaces it and no modal box ever waits for a hand that is not there.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual MessageResult message(const MessageRequest& request) = 0;
    // Chosen files; empty when cancelled.
    virtual std::vector<std::string> openFiles(const FileDialogRequest& request,
                                               bool multiple) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseFolder(const std::string& title,
                                                    const std::string& start) = 0;
};

}  // namespace orvalis
