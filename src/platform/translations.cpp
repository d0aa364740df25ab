// SPDX-License-Identifier: GPL-3.0-or-later
#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

bool installFrenchTranslations(QCoreApplication &app)
{
    const QLocale french(QLocale::French, QLocale::France);
    QLocale::setDefault(french);

    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto *translator = new QTranslator(&app);
    // qtbase holds the texts of the standard dialogs; qt_fr gathers it with
    // the other modules' catalogues where a distribution ships only that.
    for (const QString &name : {QStringLiteral("qtbase_fr"), QStringLiteral("qt_fr")}) {
        if (translator->load(name, folder) && QCoreApplication::installTranslator(translator))
            return true;
    }
    delete translator;
    return false;
}
