// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

// The whole program speaks French, whatever the user's locale: installs into
// app Qt's own French translations (qtbase_fr.qm from Qt's translations
// folder), so that the standard dialogs — colour picker, file and printer
// dialogs, message box buttons — read in French, and makes French (France)
// the default QLocale, for the dates, numbers and paper units those dialogs
// show. The program's own number texts do not depend on it (core
// numberformat). Call once, after app is created and before any dialog is.
// Returns false when no French translation of Qt could be loaded; the locale
// is set either way.
bool installFrenchTranslations(QCoreApplication &app);
