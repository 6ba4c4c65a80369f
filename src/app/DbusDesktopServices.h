#pragma once

#include <QObject>
#include <cstdint>

#include "base/DesktopServices.h"

namespace orvalis {

// The desktop over D-Bus and Qt: org.freedesktop.ScreenSaver for keeping the screen awake,
// the default browser and editor through the desktop's URL handlers. Without a session
// bus every call quietly does nothing. No call waits for an answer.
class DbusDesktopServices final : public QObject, public DesktopServices {
    Q_OBJECT
public:
    explicit DbusDesktopServices(QObject* parent = nullptr);
    ~DbusDesktopServices() override;

    void inhibitScreenSaver(bool inhibit) override;
    bool openUrl(const std::string& url) override;
    bool openInTextEditor(const std::string& path) override;

    bool screenSaverInhibited() const { return cookie_ != 0; }

private:
    void sendUninhibit();

    bool want_ = false;
    bool requestInFlight_ = false;
    std::uint32_t cookie_ = 0;
};

}  // namespace orvalis
