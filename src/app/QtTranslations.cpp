#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace orvalis {

QTranslator* installQtTranslations(QCoreApplication& app) {
    // The interface is Korean whatever the user's locale, so the dialogs are too.
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ko"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

}  // namespace orvalis
