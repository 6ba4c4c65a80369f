#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QBoxLayout;
class QButtonGroup;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QVBoxLayout;

namespace orvalis {

class SettingsSheetModel;
struct FieldValue;

// Asks the user for a colour: the current COLORREF in, the chosen one out (nothing when
// the user cancels).
using ColourChooser = std::function<std::optional<int>(int colorref, const QString& title)>;

// One page of the settings sheet, built from its table: every field becomes its control
// with its label, suffix, browse button and tooltip, placed as the table says. The page
// shows the model's values and hands every change to the model; what a change means (the
// rules, the settling of values, the dialogs behind the buttons) is the model's.
class SheetPageWidget final : public QWidget {
    Q_OBJECT
public:
    SheetPageWidget(int page, SettingsSheetModel& model, ColourChooser chooseColour,
                    QWidget* parent = nullptr);

    int page() const { return page_; }
    // Shows the model's values and which controls can be used now.
    void refresh();

private:
    struct Bound {
        QWidget* control = nullptr;  // check box, spin box, edit, colour button, combo or list
        QButtonGroup* radios = nullptr;
        QListWidget* list = nullptr;
    };
    struct Row {
        QHBoxLayout* layout = nullptr;
        bool stretches = false;  // holds a control that takes the spare width itself
    };

    void build();
    QBoxLayout* openBlock(QVBoxLayout* outer, const std::string& group);
    Row& newRow(QBoxLayout* block, bool indented);
    QLabel* addField(Row& row, QBoxLayout* block, int field);
    QWidget* makeControl(int field);
    QWidget* makeEdit(int field);
    QWidget* makeFontList(int field);
    int addGrid(QBoxLayout* block, int first);
    void addRadios(Row& row, QBoxLayout* block, int field);
    void addButtonsBeside(QBoxLayout* layout, const std::string& key);
    void addBottomButtons(QVBoxLayout* outer);
    void enableWith(int id, QWidget* widget);
    QLabel* label(const std::string& text, QWidget* buddy);

    void change(int field, const std::function<void(FieldValue&)>& edit);
    void chooseColour(int field);
    void showValue(int field);
    void showFont(QWidget* combo, const std::string& family);

    int page_;
    SettingsSheetModel& model_;
    ColourChooser chooseColour_;
    std::vector<Bound> fields_;
    std::map<int, std::vector<QWidget*>> byId_;  // control id -> what its rule enables
    std::map<int, Row*> choiceRows_;             // radio button id -> its row
    std::vector<Row*> rows_;
    std::vector<std::unique_ptr<Row>> ownedRows_;
    bool extraFont_ = false;  // the first font listed is the value's, not installed here
    int editing_ = -1;        // the field whose edit the user is typing in
};

}  // namespace orvalis
