#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "extras/StreamAddressModel.h"

class QComboBox;
class QMenu;
class QPushButton;
class QTableWidget;

namespace orvalis {

// "인터넷 파일 열기": the address to open, and the list of named addresses kept in the
// settings. The rules are the model's; this widget draws the list, forwards clicks and
// edits, and asks its questions through the Prompter.
class StreamAddressDialog final : public QDialog {
    Q_OBJECT
public:
    // urlFile: the file "불러오기" and "파일로 저장" propose.
    StreamAddressDialog(SettingsStore& store, Prompter& prompter, std::string urlFile,
                        QWidget* parent = nullptr);
    ~StreamAddressDialog() override;

    // Runs the dialog modally. The address to open when closed with "열기" (it is stored as
    // Config\URL Current by then); nothing when closed otherwise. The list is stored either way.
    static std::optional<std::string> ask(QWidget* parent, SettingsStore& store,
                                          Prompter& prompter);

    // The address "열기" accepted; nothing before it or when closed otherwise.
    const std::optional<std::string>& acceptedAddress() const { return accepted_; }

    // The "기본 메뉴" popup's commands (load from, save to a list file).
    void runMenuCommand(int id);

    QComboBox* addressBox() const { return address_; }
    QTableWidget* list() const { return list_; }
    QPushButton* openButton() const { return open_; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* removeButton() const { return remove_; }
    QPushButton* menuButton() const { return menuButton_; }
    QMenu* menu() const { return menu_; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void showRows();
    void addressEdited(const QString& text);
    void addPlaceholder();
    void removeSelected();
    void finish(bool accepted);

    StreamAddressModel model_;
    std::optional<std::string> accepted_;
    bool closed_ = false;

    QComboBox* address_ = nullptr;
    QTableWidget* list_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* menuButton_ = nullptr;
    QMenu* menu_ = nullptr;
};

}  // namespace orvalis
