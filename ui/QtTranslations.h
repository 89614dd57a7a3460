#pragma once

#include <QString>
#include <optional>

class QCoreApplication;

// Installs Qt's own Brazilian Portuguese translations (qtbase_pt_BR from Qt's translations folder,
// Debian package qt6-translations-l10n) in `app`, so that the dialogs Qt draws for the program
// (the print preview's toolbar and tooltips, the print dialog, the buttons of every message box:
// "Sim", "Não", "OK", "Cancelar") speak the player's language. Returns what went wrong when they
// cannot be loaded; the program then goes on with Qt's English texts.
std::optional<QString> installQtTranslations(QCoreApplication& app);
