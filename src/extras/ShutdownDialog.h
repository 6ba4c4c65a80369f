#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "base/SettingsStore.h"
#include "extras/ShutdownDialogModel.h"
#include "extras/ShutdownScheduler.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QPushButton;
class QTimeEdit;
class QTimer;

namespace orvalis {

// "시스템 종료 예약기능": the sleep timer's dialog. Three boxes of which at most one is
// checked, the date and time of the timed mode, the delay list, and a clock in the title.
// The rules are the model's; this widget draws it and forwards the user's changes.
class ShutdownDialog final : public QDialog {
    Q_OBJECT
public:
    // The clock defaults to the system's; it presets the pickers and drives the title.
    ShutdownDialog(SettingsStore& store, bool mediumLoaded, QWidget* parent = nullptr,
                   ShutdownScheduler::Clock clock = {});

    // Runs the dialog modally: the choice when closed with "확인" (the presets for next
    // time are stored then), nothing after "예약 해제" or Escape.
    static std::optional<ShutdownChoice> ask(QWidget* parent, SettingsStore& store,
                                             bool mediumLoaded);

    // What "확인" chose; nothing before it or after "예약 해제".
    const std::optional<ShutdownChoice>& choice() const { return choice_; }

    QCheckBox* box(ShutdownMode mode) const;
    QDateEdit* datePicker() const { return date_; }
    QTimeEdit* timePicker() const { return time_; }
    QComboBox* delayList() const { return delays_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QTimer* titleClock() const { return clockTimer_; }

    void accept() override;

private:
    void build();
    void showModel();
    void showClock();

    SettingsStore& store_;
    ShutdownScheduler::Clock clock_;
    ShutdownDialogModel model_;
    std::optional<ShutdownChoice> choice_;

    std::array<QCheckBox*, 3> boxes_{};
    QDateEdit* date_ = nullptr;
    QTimeEdit* time_ = nullptr;
    QComboBox* delays_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTimer* clockTimer_ = nullptr;
};

}  // namespace orvalis
