#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "playlist/SchemeDialogModel.h"
#include "playlist/SchemePreview.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace orvalis {

// The scheme-name prompt ("색상표 이름"): a description line and an edit box that holds at
// most 50 CP949 units, so that every name fits its .clr record.
class SchemeNameDialog final : public QDialog, public SchemeNamePrompt {
    Q_OBJECT
public:
    explicit SchemeNameDialog(QWidget* parent);
    std::optional<std::string> askName(const std::string& description,
                                       const std::string& initial) override;
    QLineEdit* edit() const { return edit_; }

private:
    void limitText();

    QLabel* description_;
    QLineEdit* edit_;
};

// The preview: sample rows in the chosen scheme's four colours; a click picks the colour slot
// under the pointer.
class SchemePreviewWidget final : public QWidget {
    Q_OBJECT
public:
    explicit SchemePreviewWidget(QWidget* parent);
    void setScheme(const ColorScheme& scheme);
    std::function<void(SchemeSlot)> onSlotClicked;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    SchemePreview layout() const;
    ColorScheme scheme_;
};

// Chooses a colour starting from initial; live receives the colour while the user tries
// colours out. Nothing when the choice was cancelled.
using ColourPicker = std::function<std::optional<Colorref>(
    QWidget* parent, Colorref initial, const std::function<void(Colorref)>& live)>;

// The colour-scheme dialog ("색상 선택"): the names, the colour slot, the colour button, the
// preview and the "기본 메뉴(&F)" menu. OK writes the whole set; Cancel writes nothing.
class SchemeDialog final : public QDialog {
    Q_OBJECT
public:
    // names and picker: null for the dialog's own name prompt and Qt's colour dialog.
    SchemeDialog(SettingsStore& settings, Prompter& prompter, QWidget* parent,
                 SchemeNamePrompt* names = nullptr, ColourPicker picker = {});
    ~SchemeDialog() override;

    // Runs the dialog; true when it closed with OK.
    static bool run(QWidget* parent, SettingsStore& settings, Prompter& prompter);

    SchemeDialogModel& model() { return *model_; }
    QListWidget* nameList() const { return names_; }
    QComboBox* slotBox() const { return slots_; }
    QPushButton* colourButton() const { return colour_; }
    QPushButton* menuButton() const { return menu_; }
    SchemePreviewWidget* preview() const { return preview_; }
    // A command of the dialog's menu (32828 ... 32832).
    void runMenuCommand(int id);

    void accept() override;

private:
    void refill();
    void showCurrent();
    void pickColour();

    std::unique_ptr<SchemeNameDialog> ownNames_;
    std::unique_ptr<SchemeDialogModel> model_;
    ColourPicker picker_;
    QListWidget* names_;
    QComboBox* slots_;
    QPushButton* colour_;
    QPushButton* menu_;
    SchemePreviewWidget* preview_;
    bool filling_ = false;
};

}  // namespace orvalis
