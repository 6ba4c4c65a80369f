#pragma once

#include <QString>

#include "base/Prompter.h"

class QWidget;

namespace orvalis {

// Message boxes and file dialogs of Qt.
class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    MessageResult message(const MessageRequest& request) override;
    std::vector<std::string> openFiles(const FileDialogRequest& request, bool multiple) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::string& start) override;

    // "name|patterns|name|patterns||" -> Qt's "name (patterns);;..."
    static QString qtFilter(const std::string& mfcFilter);

private:
    QWidget* parent_;
};

}  // namespace orvalis
