#include "extras/StreamAddressDialog.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "extras/UrlListFile.h"

namespace orvalis {

namespace {

QString qs(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString qs(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Wide enough to show both columns as they were left, within reason.
constexpr int kWidestList = 720;

}  // namespace

StreamAddressDialog::StreamAddressDialog(SettingsStore& store, Prompter& prompter,
                                         std::string urlFile, QWidget* parent)
    : QDialog(parent), model_(store, prompter, std::move(urlFile)) {
    setWindowTitle(qs(stream_text::kTitle));
    build();
    showRows();
    {
        const QSignalBlocker quiet(address_);
        address_->setEditText(qs(model_.address()));
    }
    open_->setEnabled(model_.canOpen());
}

StreamAddressDialog::~StreamAddressDialog() {
    // Destroyed without being closed (its parent went away): the list is still kept.
    finish(false);
}

void StreamAddressDialog::build() {
    using namespace stream_text;
    address_ = new QComboBox(this);
    address_->setEditable(true);
    address_->setInsertPolicy(QComboBox::NoInsert);
    // Inline completion would turn a typed address into a longer one from the list.
    address_->setCompleter(nullptr);
    address_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(address_, &QComboBox::editTextChanged, this, &StreamAddressDialog::addressEdited);

    list_ = new QTableWidget(0, 2, this);
    list_->setHorizontalHeaderLabels({qs(kNameColumn), qs(kAddressColumn)});
    list_->verticalHeader()->hide();
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    list_->setWordWrap(false);
    QHeaderView* header = list_->horizontalHeader();
    // The widths the user leaves are the widths stored: nothing stretches them.
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    int total = 0;
    for (int c = 0; c < 2; ++c) {
        header->resizeSection(c, model_.columnWidth(c));
        total += model_.columnWidth(c);
    }
    const int chrome = 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width();
    list_->setMinimumSize(std::min(total + chrome, kWidestList), 200);
    list_->viewport()->installEventFilter(this);
    connect(list_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        model_.setCell(item->row(), item->column(), item->text().toStdString());
    });
    connect(list_, &QTableWidget::cellClicked, this, [this](int row, int) {
        model_.clickRow(row);
        address_->setEditText(qs(model_.address()));
    });

    open_ = new QPushButton(qs(kOpenButton), this);
    open_->setDefault(true);
    close_ = new QPushButton(qs(kCloseButton), this);
    add_ = new QPushButton(qs(kAddButton), this);
    remove_ = new QPushButton(qs(kRemoveButton), this);
    menuButton_ = new QPushButton(qs(kMenuButton), this);
    for (QPushButton* b : {add_, remove_}) {
        b->setAutoDefault(false);
        b->setFixedWidth(b->sizeHint().height() + 8);
    }
    menuButton_->setAutoDefault(false);
    close_->setAutoDefault(false);
    connect(open_, &QPushButton::clicked, this, &QDialog::accept);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(add_, &QPushButton::clicked, this, &StreamAddressDialog::addPlaceholder);
    connect(remove_, &QPushButton::clicked, this, &StreamAddressDialog::removeSelected);

    menu_ = new QMenu(qs(kMenuTitle), this);
    for (const StreamMenuItem& item : kStreamMenu) {
        QAction* action = menu_->addAction(qs(item.label));
        const int id = item.id;
        connect(action, &QAction::triggered, this, [this, id] { runMenuCommand(id); });
    }
    connect(menuButton_, &QPushButton::clicked, this,
            [this] { menu_->popup(menuButton_->mapToGlobal(QPoint(0, menuButton_->height()))); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(address_, 0, 0);
    grid->addWidget(open_, 0, 1);
    grid->addWidget(list_, 1, 0);
    auto* side = new QVBoxLayout;
    side->addWidget(close_);
    side->addStretch(1);
    grid->addLayout(side, 1, 1);
    auto* edits = new QHBoxLayout;
    edits->addWidget(add_);
    edits->addWidget(remove_);
    edits->addStretch(1);
    grid->addLayout(edits, 2, 0);
    grid->addWidget(menuButton_, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);
}

// Fills the list from the model, and the address box's drop-down with the list's addresses.
void StreamAddressDialog::showRows() {
    {
        const QSignalBlocker quiet(list_);
        const auto& rows = model_.rows();
        list_->clearContents();
        list_->setRowCount(int(rows.size()));
        for (int r = 0; r < int(rows.size()); ++r) {
            list_->setItem(r, 0, new QTableWidgetItem(qs(rows[std::size_t(r)].name)));
            list_->setItem(r, 1, new QTableWidgetItem(qs(rows[std::size_t(r)].url)));
        }
    }
    const QSignalBlocker quiet(address_);
    const QString typed = address_->currentText();
    QStringList addresses;
    for (const StreamEntry& e : model_.rows())
        if (!isPlaceholder(e) && !e.url.empty()) addresses << qs(e.url);
    address_->clear();
    address_->addItems(addresses);
    address_->setCurrentIndex(-1);
    address_->setEditText(typed);
}

void StreamAddressDialog::addressEdited(const QString& text) {
    model_.setAddress(text.toStdString());
    open_->setEnabled(model_.canOpen());
}

void StreamAddressDialog::addPlaceholder() {
    if (!model_.addPlaceholder()) return;
    showRows();
    list_->scrollToBottom();
}

void StreamAddressDialog::removeSelected() {
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    if (model_.removeRows(rows)) showRows();
}

void StreamAddressDialog::runMenuCommand(int id) {
    if (id == kLoadUrlFileCommand) {
        if (model_.loadFromFile()) showRows();
    } else if (id == kSaveUrlFileCommand) {
        model_.saveToFile();
    }
}

bool StreamAddressDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!list_->indexAt(mouse->position().toPoint()).isValid()) {
            addPlaceholder();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void StreamAddressDialog::done(int result) {
    finish(result == QDialog::Accepted);
    QDialog::done(accepted_ ? QDialog::Accepted : QDialog::Rejected);
}

// Stores the list either way, and with "열기" the address to open. Once per dialog.
void StreamAddressDialog::finish(bool accepted) {
    if (closed_) return;
    closed_ = true;
    // A cell still being edited keeps its text: moving the current cell away commits it.
    list_->setCurrentIndex(QModelIndex());
    for (int c = 0; c < 2; ++c) model_.setColumnWidth(c, list_->horizontalHeader()->sectionSize(c));
    if (accepted && model_.canOpen()) {
        accepted_ = model_.accept();
    } else {
        model_.close();
    }
}

std::optional<std::string> StreamAddressDialog::ask(QWidget* parent, SettingsStore& store,
                                                    Prompter& prompter) {
    QPointer<StreamAddressDialog> dialog =
        new StreamAddressDialog(store, prompter, defaultUrlFilePath(), parent);
    dialog->exec();
    // The parent may have gone while the dialog ran its own event loop.
    if (!dialog) return std::nullopt;
    std::optional<std::string> address = dialog->acceptedAddress();
    delete dialog;
    return address;
}

}  // namespace orvalis
