#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/DesktopServices.h"
#include "player/OpticalDrives.h"
#include "ports/DialogPort.h"

class QSocketNotifier;
class QWidget;

namespace orvalis {

class PlayerController;

// The player's small dialogs and desktop tools: the about box, the filter details, the
// mixer, the optical drives and the watch for a newly inserted disc.
class PlayerDialogs final : public QObject, public DialogPort {
    Q_OBJECT
public:
    PlayerDialogs(QWidget* parent, PlayerController& controller, DesktopServices& desktop);
    ~PlayerDialogs() override;

    std::optional<std::string> askStreamAddress() override;
    void showAbout() override;
    void showFilterDetails(const FilterInfo& filter) override;
    void openSystemMixer() override;
    void moveTray(int drive, bool open) override;
    std::vector<std::string> opticalDrives() const override { return drives_; }

    // The stream address dialog, once it exists.
    std::function<std::optional<std::string>()> streamAddressDialog;

    // The patterns of media files that start by themselves from an inserted disc.
    static std::vector<std::string> discMediaPatterns();

private:
    void mountsChanged();

    QWidget* parent_;
    PlayerController& controller_;
    DesktopServices& desktop_;
    std::vector<std::string> drives_;
    std::vector<optical::Mount> mounts_;
    int mountsFd_ = -1;
    QSocketNotifier* mountsNotifier_ = nullptr;
};

}  // namespace orvalis
