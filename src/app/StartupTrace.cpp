#include "app/StartupTrace.h"

#include <QLoggingCategory>

namespace orvalis {

Q_LOGGING_CATEGORY(lcStartup, "orvalis.startup", QtWarningMsg)

void startupMark(const char* step) { qCInfo(lcStartup, "%s", step); }

}  // namespace orvalis
