#pragma once

#include <QString>
#include <QStringList>

// Qt's own texts (the print dialog, standard buttons, the edit menus of text fields) in Japanese.
namespace tavro {

// The Japanese translation files of the Qt modules the program uses ("qtbase_ja.qm", ...).
QStringList qtTranslationFiles();

// Installs Qt's Japanese translations on the application, each file looked up first in `besideProgram`
// (the folder "translations" beside the program in the Windows package), then in Qt's translations folder.
// Returns the paths of the files installed; a file found nowhere is left out.
QStringList installQtTranslations(const QString &besideProgram);

} // namespace tavro
