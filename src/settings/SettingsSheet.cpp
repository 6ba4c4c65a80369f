#include "settings/SettingsSheet.h"

#include <QColorDialog>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "settings/ColourButton.h"

namespace orvalis {

namespace {

std::optional<int> colourFromDialog(QWidget* parent, int colorref, const QString& title) {
    const QColor chosen = QColorDialog::getColor(colourOfRef(colorref), parent, title);
    if (!chosen.isValid()) return std::nullopt;
    return refOfColour(chosen);
}

}  // namespace

SettingsSheet::SettingsSheet(Services parts, QWidget* parent)
    : QDialog(parent),
      model_(parts.store, parts.prompter, std::move(parts.environment), parts.associations,
             std::move(parts.settingsFolder)) {
    model_.setSoundPlayer(parts.sound);
    setWindowTitle(QString::fromUtf8(sheet::kTitle));
    setModal(true);

    ColourChooser chooser = parts.chooseColour;
    if (!chooser)
        chooser = [this](int colorref, const QString& title) {
            return colourFromDialog(this, colorref, title);
        };

    tabs_ = new QTabWidget(this);
    // All seven tabs in view: the sheet grows to hold them rather than scrolling them.
    tabs_->setUsesScrollButtons(false);
    tabs_->setElideMode(Qt::ElideNone);
    for (const SheetPage& p : sheetPages()) {
        auto* page = new SheetPageWidget(p.index, model_, chooser);
        pages_[static_cast<std::size_t>(p.index)] = page;
        tabs_->addTab(page, QString::fromStdString(p.tabText));
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        model_.selectPage(index);
        if (QWidget* page = tabs_->widget(index)) page->setFocus();
    });

    menuButton_ = new QPushButton(QString::fromUtf8(sheet::kDefaultMenuButton), this);
    menu_ = new QMenu(QString::fromUtf8(sheet::kMenuTitle), this);
    for (const auto& entry : sheet::kDefaultMenu) {
        const int command = entry.command;
        menu_->addAction(QString::fromUtf8(entry.text), this, [this, command] {
            if (model_.runMenuCommand(command)) refreshPages();
        });
    }
    connect(menuButton_, &QPushButton::clicked, this,
            [this] { menu_->popup(menuButton_->mapToGlobal(menuButton_->rect().bottomLeft())); });
    auto* ok = new QPushButton(QString::fromUtf8(sheet::kOk), this);
    auto* cancel = new QPushButton(QString::fromUtf8(sheet::kCancel), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(menuButton_);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);
    // Like the property sheet it is, the dialog takes the size its largest page needs.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

SheetPageWidget* SettingsSheet::pageWidget(int page) const {
    return page >= 0 && page < page::Count ? pages_[static_cast<std::size_t>(page)] : nullptr;
}

void SettingsSheet::begin() {
    model_.open();
    refreshPages();
    const QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(model_.activePage());
}

bool SettingsSheet::run() {
    begin();
    return exec() == QDialog::Accepted;
}

void SettingsSheet::refreshPages() {
    for (SheetPageWidget* page : pages_) page->refresh();
}

void SettingsSheet::accept() {
    model_.accept();
    QDialog::accept();
}

void SettingsSheet::reject() {
    model_.cancel();
    QDialog::reject();
}

}  // namespace orvalis
