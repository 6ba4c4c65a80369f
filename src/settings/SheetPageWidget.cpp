#include "settings/SheetPageWidget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "settings/ColourButton.h"
#include "settings/SettingsSheetModel.h"
#include "settings/SheetTables.h"

namespace orvalis {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

const SheetPage& tableOf(int page) {
    return sheetPages()[static_cast<std::size_t>(page)];
}

// The installed font families a caption can use, in the database's order.
QStringList fontFamilies() {
    QStringList families;
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family)) families << family;
    return families;
}

// Whether a family can draw its own name in the list: a symbol font would show its name
// as pictures.
bool drawsText(const QString& family) {
    const auto systems = QFontDatabase::writingSystems(family);
    return systems.contains(QFontDatabase::Latin) || systems.contains(QFontDatabase::Korean);
}

// A button of a symbol or two ("...", "▶"), as narrow as a browse button is.
void fitToText(QPushButton* button) {
    const int text = button->fontMetrics().horizontalAdvance(QStringLiteral("...."));
    button->setFixedWidth(std::max(text, button->fontMetrics().horizontalAdvance(button->text())) +
                          16);
}

}  // namespace

SheetPageWidget::SheetPageWidget(int page, SettingsSheetModel& model, ColourChooser chooseColour,
                                 QWidget* parent)
    : QWidget(parent), page_(page), model_(model), chooseColour_(std::move(chooseColour)) {
    fields_.resize(tableOf(page).fields.size());
    build();
    refresh();
}

// --- building the page from its table -----------------------------------------------------

void SheetPageWidget::build() {
    const SheetPage& p = tableOf(page_);
    auto* outer = new QVBoxLayout(this);
    if (!p.note.empty()) {
        auto* note = new QLabel(q(p.note), this);
        note->setWordWrap(true);
        outer->addWidget(note);
    }
    QBoxLayout* block = nullptr;
    std::string group;
    std::vector<QLabel*> leads;  // the labels that open the rows of a block share a width
    auto closeBlock = [&] {
        int width = 0;
        for (QLabel* l : leads) width = std::max(width, l->sizeHint().width());
        for (QLabel* l : leads) l->setMinimumWidth(width);
        leads.clear();
    };
    Row* row = nullptr;
    const int count = static_cast<int>(p.fields.size());
    for (int i = 0; i < count;) {
        const PageField& f = p.fields[static_cast<std::size_t>(i)];
        if (f.control == FieldControl::None) {
            ++i;
            continue;
        }
        if (!block || f.group != group) {
            closeBlock();
            group = f.group;
            block = openBlock(outer, group);
            row = nullptr;
        }
        if (f.gridColumns > 0) {
            i = addGrid(block, i);
            row = nullptr;
            continue;
        }
        auto beside = choiceRows_.find(f.besideChoice);
        if (f.besideChoice != 0 && beside != choiceRows_.end()) {
            addField(*beside->second, block, i++);
            continue;
        }
        const bool opensRow = !(f.sameRow && row);
        if (opensRow) row = &newRow(block, f.indented);
        QLabel* lead = addField(*row, block, i++);
        if (opensRow && lead) leads.push_back(lead);
    }
    closeBlock();
    for (Row* r : rows_)
        if (!r->stretches) r->layout->addStretch(1);
    addBottomButtons(outer);
    outer->addStretch(1);
}

QBoxLayout* SheetPageWidget::openBlock(QVBoxLayout* outer, const std::string& group) {
    if (group.empty()) return outer;
    auto* box = new QGroupBox(q(group), this);
    auto* layout = new QVBoxLayout(box);
    outer->addWidget(box);
    return layout;
}

SheetPageWidget::Row& SheetPageWidget::newRow(QBoxLayout* block, bool indented) {
    ownedRows_.push_back(std::make_unique<Row>());
    Row& row = *ownedRows_.back();
    row.layout = new QHBoxLayout;
    if (indented) row.layout->addSpacing(style()->pixelMetric(QStyle::PM_IndicatorWidth) + 6);
    block->addLayout(row.layout);
    rows_.push_back(&row);
    return row;
}

QLabel* SheetPageWidget::label(const std::string& text, QWidget* buddy) {
    if (text.empty()) return nullptr;
    auto* l = new QLabel(q(text), this);
    l->setBuddy(buddy);
    return l;
}

void SheetPageWidget::enableWith(int id, QWidget* widget) {
    if (id != 0 && widget) byId_[id].push_back(widget);
}

QLabel* SheetPageWidget::addField(Row& row, QBoxLayout* block, int i) {
    const PageField& f = tableOf(page_).fields[static_cast<std::size_t>(i)];
    if (f.control == FieldControl::Radio) {
        addRadios(row, block, i);
        return nullptr;
    }
    QWidget* control = makeControl(i);
    if (!control) return nullptr;
    fields_[static_cast<std::size_t>(i)].control = control;
    control->setObjectName(q(f.key));
    if (!f.tooltip.empty()) control->setToolTip(q(f.tooltip));
    enableWith(f.id, control);
    if (f.control == FieldControl::Text || f.control == FieldControl::FolderList)
        row.stretches = true;

    QHBoxLayout* layout = row.layout;
    QLabel* lead = nullptr;
    // Check boxes and colour buttons carry their label themselves.
    const bool labelApart = f.control != FieldControl::Check && f.control != FieldControl::Colour;
    if (labelApart && (lead = label(f.label, control))) {
        if (!f.tooltip.empty()) lead->setToolTip(q(f.tooltip));
        layout->addWidget(lead);
        enableWith(f.id, lead);
    }
    layout->addWidget(control);
    if (QLabel* suffix = label(f.suffix, control)) {
        layout->addWidget(suffix);
        enableWith(f.id, suffix);
    }
    if (f.browse != BrowseKind::None) {
        auto* browse = new QPushButton(QStringLiteral("..."), this);
        browse->setObjectName(QStringLiteral("button%1").arg(f.browseId));
        fitToText(browse);
        if (!f.browseTooltip.empty()) browse->setToolTip(q(f.browseTooltip));
        connect(browse, &QPushButton::clicked, this, [this, i] {
            if (model_.browse(page_, i)) refresh();
        });
        layout->addWidget(browse);
        enableWith(f.browseId, browse);
    }
    if (f.control == FieldControl::FolderList) {
        auto* column = new QVBoxLayout;
        addButtonsBeside(column, f.key);
        column->addStretch(1);
        layout->addLayout(column);
    } else {
        addButtonsBeside(layout, f.key);
    }
    return lead;
}

QWidget* SheetPageWidget::makeControl(int i) {
    const PageField& f = tableOf(page_).fields[static_cast<std::size_t>(i)];
    auto setNumber = [this, i](int n) { change(i, [n](FieldValue& v) { v.number = n; }); };
    switch (f.control) {
        case FieldControl::Check: {
            auto* box = new QCheckBox(q(f.label), this);
            connect(box, &QCheckBox::toggled, this, setNumber);
            return box;
        }
        case FieldControl::Number: {
            auto* spin = new QSpinBox(this);
            spin->setRange(f.minimum, f.maximum);
            spin->setAlignment(Qt::AlignRight);
            if (!f.spin) spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
            const int digits = spin->fontMetrics().horizontalAdvance(QStringLiteral("-0000000"));
            spin->setFixedWidth(digits + (f.spin ? 34 : 12));
            connect(spin, &QSpinBox::valueChanged, this, setNumber);
            return spin;
        }
        case FieldControl::Text:
            return makeEdit(i);
        case FieldControl::Colour: {
            auto* button = new ColourButton(q(f.label), this);
            connect(button, &QPushButton::clicked, this, [this, i] { chooseColour(i); });
            return button;
        }
        case FieldControl::Combo: {
            auto* combo = new QComboBox(this);
            for (const auto& choice : f.choices) combo->addItem(q(choice.label));
            connect(combo, &QComboBox::currentIndexChanged, this, setNumber);
            return combo;
        }
        case FieldControl::FontCombo:
            return makeFontList(i);
        case FieldControl::FolderList: {
            auto* list = new QListWidget(this);
            list->setMinimumWidth(list->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
            list->setMaximumHeight(list->fontMetrics().height() * 6);
            fields_[static_cast<std::size_t>(i)].list = list;
            return list;
        }
        case FieldControl::Radio:
        case FieldControl::None:
            break;
    }
    return nullptr;
}

QWidget* SheetPageWidget::makeEdit(int i) {
    auto* edit = new QLineEdit(this);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 36);
    connect(edit, &QLineEdit::textEdited, this, [this, i](const QString& text) {
        editing_ = i;
        change(i, [&text](FieldValue& v) { v.text = text.toStdString(); });
        editing_ = -1;
    });
    // What the model made of the typing (a folder for an empty one) shows at the end.
    connect(edit, &QLineEdit::editingFinished, this, [this, i] { showValue(i); });
    return edit;
}

QWidget* SheetPageWidget::makeFontList(int i) {
    auto* combo = new QComboBox(this);
    for (const QString& family : fontFamilies()) {
        combo->addItem(family);
        if (drawsText(family)) combo->setItemData(combo->count() - 1, QFont(family), Qt::FontRole);
    }
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(18);
    connect(combo, &QComboBox::currentIndexChanged, this, [this, i, combo](int n) {
        const std::string family = combo->itemText(n).toStdString();
        change(i, [&family](FieldValue& v) { v.text = family; });
    });
    return combo;
}

void SheetPageWidget::addRadios(Row& row, QBoxLayout* block, int i) {
    const SheetPage& p = tableOf(page_);
    const PageField& f = p.fields[static_cast<std::size_t>(i)];
    auto* group = new QButtonGroup(this);
    fields_[static_cast<std::size_t>(i)].radios = group;
    // Choices that another field stands beside go one to a row, with that field after them.
    bool companions = false;
    for (const auto& other : p.fields)
        for (const auto& choice : f.choices)
            companions = companions || (choice.id != 0 && other.besideChoice == choice.id);
    for (std::size_t c = 0; c < f.choices.size(); ++c) {
        const Choice& choice = f.choices[c];
        auto* radio = new QRadioButton(q(choice.label), this);
        radio->setObjectName(q(f.key) + QLatin1Char('#') + QString::number(c));
        const std::string& tip = choice.tooltip.empty() ? f.tooltip : choice.tooltip;
        if (!tip.empty()) radio->setToolTip(q(tip));
        group->addButton(radio, static_cast<int>(c));
        enableWith(choice.id, radio);
        enableWith(f.id, radio);
        if (companions) {
            Row& own = c == 0 ? row : newRow(block, false);
            own.layout->addWidget(radio);
            if (choice.id != 0) choiceRows_[choice.id] = &own;
        } else {
            row.layout->addWidget(radio);
        }
    }
    connect(group, &QButtonGroup::idClicked, this,
            [this, i](int n) { change(i, [n](FieldValue& v) { v.number = n; }); });
}

int SheetPageWidget::addGrid(QBoxLayout* block, int first) {
    const auto& fields = tableOf(page_).fields;
    const PageField& head = fields[static_cast<std::size_t>(first)];
    int end = first + 1;
    while (end < static_cast<int>(fields.size())) {
        const PageField& f = fields[static_cast<std::size_t>(end)];
        if (f.control != FieldControl::Check || f.group != head.group || f.gridColumns > 0 ||
            f.sameRow || f.besideChoice != 0)
            break;
        ++end;
    }
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(fontMetrics().averageCharWidth() * 4);
    const int columns = head.gridColumns;
    const int rows = (end - first + columns - 1) / columns;
    for (int i = first; i < end; ++i) {
        // Down the columns, as a list is read.
        Row cell;
        cell.layout = new QHBoxLayout;
        addField(cell, block, i);
        grid->addLayout(cell.layout, (i - first) % rows, (i - first) / rows);
    }
    for (int c = 0; c < columns; ++c) grid->setColumnStretch(c, 0);
    grid->setColumnStretch(columns, 1);
    Row& row = newRow(block, head.indented);
    row.layout->addLayout(grid, 1);
    row.stretches = true;
    return end;
}

void SheetPageWidget::addButtonsBeside(QBoxLayout* layout, const std::string& key) {
    for (const auto& b : tableOf(page_).buttons) {
        if (b.besideKey != key) continue;
        auto* button = new QPushButton(q(b.text), this);
        button->setObjectName(QStringLiteral("button%1").arg(b.id));
        if (b.text.size() <= 3) fitToText(button);  // "▶" wants no more room than "..."
        const int id = b.id;
        const int listField = tableOf(page_).fieldIndex(b.besideKey);
        connect(button, &QPushButton::clicked, this, [this, id, listField] {
            QListWidget* list =
                listField >= 0 ? fields_[static_cast<std::size_t>(listField)].list : nullptr;
            if (model_.pressButton(page_, id, list ? list->currentRow() : -1)) refresh();
        });
        layout->addWidget(button);
        enableWith(id, button);
    }
}

void SheetPageWidget::addBottomButtons(QVBoxLayout* outer) {
    auto* row = new QHBoxLayout;
    addButtonsBeside(row, "");
    if (row->count() == 0) {
        delete row;
        return;
    }
    row->addStretch(1);
    outer->addLayout(row);
}

// --- values -----------------------------------------------------------------------------

void SheetPageWidget::change(int field, const std::function<void(FieldValue&)>& edit) {
    FieldValue v = model_.values().value(page_, field);
    edit(v);
    model_.values().set(page_, field, std::move(v));
    refresh();
}

void SheetPageWidget::chooseColour(int field) {
    const PageField& f = tableOf(page_).fields[static_cast<std::size_t>(field)];
    const int current = model_.values().value(page_, field).number;
    const std::string& title = f.label.empty() ? f.group : f.label;
    auto chosen = chooseColour_ ? chooseColour_(current, q(title)) : std::nullopt;
    if (chosen) change(field, [&](FieldValue& v) { v.number = *chosen; });
}

void SheetPageWidget::refresh() {
    for (int i = 0; i < static_cast<int>(fields_.size()); ++i)
        if (i != editing_) showValue(i);
    for (const auto& [id, widgets] : byId_) {
        const bool enabled = model_.values().isEnabled(page_, id);
        for (QWidget* w : widgets) w->setEnabled(enabled);
    }
}

void SheetPageWidget::showValue(int i) {
    const PageField& f = tableOf(page_).fields[static_cast<std::size_t>(i)];
    const FieldValue& v = model_.values().value(page_, i);
    const Bound& bound = fields_[static_cast<std::size_t>(i)];
    if (bound.radios) {
        if (QAbstractButton* b = bound.radios->button(v.number)) {
            const QSignalBlocker block(bound.radios);
            b->setChecked(true);
        }
        return;
    }
    if (!bound.control) return;
    const QSignalBlocker block(bound.control);
    switch (f.control) {
        case FieldControl::Check:
            static_cast<QCheckBox*>(bound.control)->setChecked(v.number != 0);
            break;
        case FieldControl::Number:
            static_cast<QSpinBox*>(bound.control)->setValue(v.number);
            break;
        case FieldControl::Text: {
            auto* edit = static_cast<QLineEdit*>(bound.control);
            if (edit->text() != q(v.text)) edit->setText(q(v.text));
            break;
        }
        case FieldControl::Colour:
            static_cast<ColourButton*>(bound.control)->setColourRef(v.number);
            break;
        case FieldControl::Combo:
            static_cast<QComboBox*>(bound.control)->setCurrentIndex(v.number);
            break;
        case FieldControl::FontCombo:
            showFont(bound.control, v.text);
            break;
        case FieldControl::FolderList: {
            QStringList folders;
            for (const auto& folder : v.list) folders << q(folder);
            QStringList shown;
            for (int r = 0; r < bound.list->count(); ++r) shown << bound.list->item(r)->text();
            if (shown != folders) {
                bound.list->clear();
                bound.list->addItems(folders);
            }
            break;
        }
        case FieldControl::Radio:
        case FieldControl::None:
            break;
    }
}

void SheetPageWidget::showFont(QWidget* widget, const std::string& family) {
    auto* combo = static_cast<QComboBox*>(widget);
    const QString name = q(family);
    // A font that is not installed here (the stored one came from elsewhere) stays the
    // value and is listed first, rather than quietly becoming another font.
    int at = -1;
    for (int r = extraFont_ ? 1 : 0; r < combo->count() && at < 0; ++r)
        if (combo->itemText(r).compare(name, Qt::CaseInsensitive) == 0) at = r;
    if (at < 0) {
        if (!extraFont_) combo->insertItem(0, name);
        combo->setItemText(0, name);
        extraFont_ = true;
        at = 0;
    } else if (extraFont_) {
        combo->removeItem(0);
        extraFont_ = false;
        --at;
    }
    combo->setCurrentIndex(at);
}

}  // namespace orvalis
