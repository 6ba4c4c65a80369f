#include "extras/ShutdownService.h"

#include <utility>

namespace orvalis {

ShutdownService::ShutdownService(Player player, PowerControl& power, const SettingsStore& store,
                                 ShutdownScheduler::Clock clock)
    : player_(std::move(player)), scheduler_(*this, power, store, std::move(clock)) {}

void ShutdownService::startShutdownTimer(int milliseconds) {
    player_.timers.start(TimerId::ShutdownClock, milliseconds);
}

void ShutdownService::stopShutdownTimer() {
    player_.timers.kill(TimerId::ShutdownClock);
}

void ShutdownService::showMessage(const std::string& text, int milliseconds) {
    player_.osd.show(text, milliseconds);
}

void ShutdownService::hideMessage() {
    player_.osd.hide();
}

void ShutdownService::closeMedium() {
    if (player_.closeMedium) player_.closeMedium();
}

void ShutdownService::exitProgram() {
    if (player_.exitProgram) player_.exitProgram();
}

}  // namespace orvalis
