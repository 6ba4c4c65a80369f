#pragma once

#include <functional>

#include "base/SettingsStore.h"
#include "extras/PowerControl.h"
#include "extras/ShutdownScheduler.h"
#include "ports/OsdPort.h"
#include "ports/ShutdownPort.h"
#include "ports/Timers.h"

namespace orvalis {

// The sleep timer as the player window sees it. The window's logic reaches it through its
// shutdown port (the end of a medium, the start of the next, timer 110's tick); the scheduler
// reaches the window through the few things given here: timer 110, the on-screen message,
// Close File and Exit. Only player interfaces are used, so tests drive it with fakes.
class ShutdownService final : public ShutdownPort, private ShutdownHost {
public:
    struct Player {
        TimerService& timers;
        OsdPort& osd;
        // The Close File command, which saves the medium's bookmarks.
        std::function<void()> closeMedium;
        // The Exit command, which saves the settings and lets the program end.
        std::function<void()> exitProgram;
    };

    // The clock defaults to the system's.
    ShutdownService(Player player, PowerControl& power, const SettingsStore& store,
                    ShutdownScheduler::Clock clock = {});

    // The sleep-timer command: disarms what was armed, runs the dialog, arms its choice.
    void schedule(const ShutdownScheduler::RunDialog& runDialog) { scheduler_.schedule(runDialog); }
    // The sleep-timer command: opens the dialog given here.
    void setDialog(ShutdownScheduler::RunDialog runDialog) { dialog_ = std::move(runDialog); }
    void schedule() override {
        if (dialog_) scheduler_.schedule(dialog_);
    }
    const ShutdownScheduler& scheduler() const { return scheduler_; }

    // ShutdownPort
    bool atEndOfMedium() const override { return scheduler_.atEnd(); }
    void clearEndOfMedium() override { scheduler_.onPlaybackStarted(); }
    void runShutdown() override { scheduler_.shutdownNow(); }
    void clockTick() override { scheduler_.onTimer(); }

private:
    // ShutdownHost
    void startShutdownTimer(int milliseconds) override;
    void stopShutdownTimer() override;
    void showMessage(const std::string& text, int milliseconds) override;
    void hideMessage() override;
    void closeMedium() override;
    void exitProgram() override;

    Player player_;
    ShutdownScheduler scheduler_;
    ShutdownScheduler::RunDialog dialog_;
};

}  // namespace orvalis
