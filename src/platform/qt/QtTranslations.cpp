#include "platform/qt/QtTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace tavro {

QStringList qtTranslationFiles() {
    // Qt Charts has no translation of its own; its few texts are the program's.
    return {QStringLiteral("qtbase_ja.qm"), QStringLiteral("qtmultimedia_ja.qm")};
}

QStringList installQtTranslations(const QString &besideProgram) {
    QStringList installed;
    const QStringList folders{besideProgram, QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    for (const QString &file : qtTranslationFiles()) {
        for (const QString &folder : folders) {
            if (folder.isEmpty())
                continue;
            const QString path = QDir(folder).filePath(file);
            if (!QFileInfo(path).isFile())
                continue;
            auto *translator = new QTranslator(QCoreApplication::instance());
            if (translator->load(path) && QCoreApplication::installTranslator(translator)) {
                installed.append(path);
                break;
            }
            delete translator;
        }
    }
    return installed;
}

} // namespace tavro
