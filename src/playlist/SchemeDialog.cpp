#include "playlist/SchemeDialog.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/TextCodec.h"
#include "playlist/PlaylistListView.h"

namespace orvalis {

namespace {

constexpr int kPreviewWidth = 280;
constexpr int kPreviewHeight = 104;

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

Colorref colorrefOf(const QColor& c) {
    return fromRgb({static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                    static_cast<std::uint8_t>(c.blue())});
}

QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("확인"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("취소"));
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

std::optional<Colorref> qtColourDialog(QWidget* parent, Colorref initial,
                                       const std::function<void(Colorref)>& live) {
    QColorDialog dialog(qColourOf(initial), parent);
    dialog.setWindowTitle(QStringLiteral("색상"));
    QObject::connect(&dialog, &QColorDialog::currentColorChanged, &dialog,
                     [&live](const QColor& c) { live(colorrefOf(c)); });
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return colorrefOf(dialog.selectedColor());
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// SchemeNameDialog

SchemeNameDialog::SchemeNameDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(schemes::kNamePromptTitle));
    description_ = new QLabel(this);
    edit_ = new QLineEdit(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(description_);
    layout->addWidget(edit_);
    layout->addWidget(okCancel(this));
    connect(edit_, &QLineEdit::textEdited, this, [this] { limitText(); });
}

// What is typed stops at 50 CP949 units; a character that would not fit whole is refused.
void SchemeNameDialog::limitText() {
    const std::string typed = edit_->text().toStdString();
    if (text::cp949Units(typed) <= schemes::kNameUnits) return;
    const int cursor = edit_->cursorPosition();
    const QString kept = qs(std::string(text::prefixWithinUnits(typed, schemes::kNameUnits)));
    edit_->setText(kept);
    edit_->setCursorPosition(std::min(cursor, static_cast<int>(kept.size())));
}

std::optional<std::string> SchemeNameDialog::askName(const std::string& description,
                                                     const std::string& initial) {
    description_->setText(qs(description));
    edit_->setText(qs(initial));
    edit_->selectAll();
    edit_->setFocus();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return edit_->text().toStdString();
}

// ---------------------------------------------------------------------------------------------
// SchemePreviewWidget

SchemePreviewWidget::SchemePreviewWidget(QWidget* parent) : QWidget(parent) {
    setFixedSize(kPreviewWidth, kPreviewHeight);
    setCursor(Qt::PointingHandCursor);
}

void SchemePreviewWidget::setScheme(const ColorScheme& scheme) {
    scheme_ = scheme;
    update();
}

SchemePreview SchemePreviewWidget::layout() const {
    const QFontMetrics fm = fontMetrics();
    return SchemePreview(width(), height(),
                         fm.horizontalAdvance(QString::fromUtf8(SchemePreview::kSampleText)),
                         fm.height());
}

void SchemePreviewWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), qColourOf(scheme_.backColor));
    const QString sample = QString::fromUtf8(SchemePreview::kSampleText);
    const SchemePreview preview = layout();
    for (const SchemePreview::Row& row : preview.rows()) {
        const QRect area(row.area.x, row.area.y, row.area.width, row.area.height);
        if (row.selected) p.fillRect(area, qColourOf(scheme_.selectedColor));
        p.setPen(qColourOf(scheme_.slot(row.textSlot)));
        p.drawText(QRect(row.text.x, row.text.y, row.text.width, row.text.height),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, sample);
    }
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void SchemePreviewWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (onSlotClicked) onSlotClicked(layout().slotAt(pos.x(), pos.y()));
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// SchemeDialog

SchemeDialog::SchemeDialog(SettingsStore& settings, Prompter& prompter, QWidget* parent,
                           SchemeNamePrompt* names, ColourPicker picker)
    : QDialog(parent), picker_(picker ? std::move(picker) : ColourPicker(qtColourDialog)) {
    if (!names) {
        ownNames_ = std::make_unique<SchemeNameDialog>(this);
        names = ownNames_.get();
    }
    model_ = std::make_unique<SchemeDialogModel>(settings, prompter, *names);
    setWindowTitle(QString::fromUtf8(schemes::kDialogTitle));

    names_ = new QListWidget(this);
    names_->setMinimumWidth(140);
    slots_ = new QComboBox(this);
    for (const char* name : slotNames()) slots_->addItem(QString::fromUtf8(name));
    colour_ = new QPushButton(this);
    colour_->setMinimumHeight(26);
    preview_ = new SchemePreviewWidget(this);
    menu_ = new QPushButton(QString::fromUtf8(schemes::kMenuButton), this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(names_, 0, 0, 4, 1);
    grid->addWidget(slots_, 0, 1);
    grid->addWidget(colour_, 1, 1);
    grid->addWidget(preview_, 2, 1);
    grid->setRowStretch(3, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(menu_);
    bottom->addStretch(1);
    bottom->addWidget(okCancel(this));
    grid->addLayout(bottom, 4, 0, 1, 2);

    connect(names_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (filling_) return;
        model_->selectScheme(row);
        showCurrent();
    });
    connect(names_, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    connect(slots_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (filling_ || index < 0 || index >= kSlotCount) return;
        model_->selectSlot(kAllSlots[static_cast<size_t>(index)]);
        showCurrent();
    });
    connect(colour_, &QPushButton::clicked, this, [this] { pickColour(); });
    preview_->onSlotClicked = [this](SchemeSlot slot) {
        model_->selectSlot(slot);
        showCurrent();
    };
    connect(menu_, &QPushButton::clicked, this, [this] {
        QMenu menu(this);
        for (const SchemeMenuCommand& c : schemeMenu())
            menu.addAction(QString::fromUtf8(c.label))->setData(c.id);
        QAction* chosen = menu.exec(menu_->mapToGlobal(QPoint(0, menu_->height())));
        if (chosen) runMenuCommand(chosen->data().toInt());
    });

    model_->open();
    refill();
}

SchemeDialog::~SchemeDialog() = default;

bool SchemeDialog::run(QWidget* parent, SettingsStore& settings, Prompter& prompter) {
    SchemeDialog dialog(settings, prompter, parent);
    return dialog.exec() == QDialog::Accepted;
}

void SchemeDialog::accept() {
    model_->accept();
    QDialog::accept();
}

void SchemeDialog::runMenuCommand(int id) {
    for (const SchemeMenuCommand& c : schemeMenu()) {
        if (c.id != id) continue;
        (model_.get()->*c.run)();
        refill();
        return;
    }
}

// The list of names again, after the set itself changed.
void SchemeDialog::refill() {
    filling_ = true;
    names_->clear();
    for (const ColorScheme& s : model_->schemes()) names_->addItem(qs(s.name));
    names_->setCurrentRow(model_->current());
    filling_ = false;
    showCurrent();
}

void SchemeDialog::showCurrent() {
    filling_ = true;
    slots_->setCurrentIndex(static_cast<int>(model_->slot()));
    if (names_->currentRow() != model_->current()) names_->setCurrentRow(model_->current());
    filling_ = false;
    QPixmap swatch(64, 14);
    swatch.fill(model_->hasCurrent() ? qColourOf(model_->pickerColor()) : QColor(Qt::transparent));
    colour_->setIcon(QIcon(swatch));
    colour_->setIconSize(swatch.size());
    colour_->setEnabled(model_->hasCurrent());
    preview_->setScheme(model_->previewScheme());
}

void SchemeDialog::pickColour() {
    if (!model_->hasCurrent()) return;
    const Colorref original = model_->pickerColor();
    std::optional<Colorref> chosen = picker_(this, original, [this](Colorref c) {
        model_->pickColor(c);
        showCurrent();
    });
    model_->pickColor(chosen.value_or(original));
    showCurrent();
}

}  // namespace orvalis
