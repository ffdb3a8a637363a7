#include "platform/qt/QtTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

class QtTranslationsTest : public QObject {
    Q_OBJECT
private slots:
    // Qt's folder serves when nothing is beside the program; a file beside the program comes first.
    void installsJapaneseFromEitherFolder() {
        const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!QFile::exists(QDir(qtFolder).filePath(QStringLiteral("qtbase_ja.qm"))))
            QSKIP("Qt's Japanese translations are not installed");
        QTemporaryDir beside;
        const QStringList fromQt = installQtTranslations(beside.path());
        QVERIFY(fromQt.contains(QDir(qtFolder).filePath(QStringLiteral("qtbase_ja.qm"))));
        for (const QString &path : fromQt)
            QVERIFY(qtTranslationFiles().contains(QFileInfo(path).fileName()));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));

        QVERIFY(QFile::copy(QDir(qtFolder).filePath(QStringLiteral("qtbase_ja.qm")),
                            QDir(beside.path()).filePath(QStringLiteral("qtbase_ja.qm"))));
        const QStringList fromBeside = installQtTranslations(beside.path());
        QVERIFY(fromBeside.contains(QDir(beside.path()).filePath(QStringLiteral("qtbase_ja.qm"))));
        QVERIFY(!fromBeside.contains(QDir(qtFolder).filePath(QStringLiteral("qtbase_ja.qm"))));
    }
};

QTEST_GUILESS_MAIN(QtTranslationsTest)
#include "QtTranslationsTest.moc"
