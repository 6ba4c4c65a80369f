#pragma once

class QCoreApplication;
class QTranslator;

namespace orvalis {

// Qt's own Korean texts for its standard dialogs (colour, file, font, message box buttons),
// so that they speak the language of the rest of the interface. Loaded from Qt's
// translations folder where the system has them: the translator, owned by app; none
// (English dialogs) where the system has not.
QTranslator* installQtTranslations(QCoreApplication& app);

}  // namespace orvalis
