#include "common/FolderIndex.h"
#include "common/DataPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

class FolderIndexTest : public QObject {
    Q_OBJECT
private slots:
    void resolvesLikeResolveExisting();
};

void FolderIndexTest::resolvesLikeResolveExisting() {
    QTemporaryDir tmp;
    const QString root = tmp.path();
    QVERIFY(QDir(root).mkpath(QStringLiteral("2024/test")));
    for (const QString &name :
         {QStringLiteral("2024/test/A101国語.dat"), QStringLiteral("2024/Kanten2024.def")}) {
        QFile f(root + u'/' + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    paths::FolderIndex index;
    const QStringList paths{
        root + QStringLiteral("/2024/Test/A101国語.dat"), // folder in another case
        root + QStringLiteral("/2024/TEST/a101国語.DAT"), // both
        root + QStringLiteral("/2024/test/A101国語.dat"), // exact
        root + QStringLiteral("/2024/kanten2024.def"),
        root + QStringLiteral("/2024/Test/A102国語.dat"), // missing: in the existing folder
        root + QStringLiteral("/2025/Test/A101国語.dat"), // missing folder
    };
    for (const QString &path : paths) {
        QCOMPARE(index.resolve(path), paths::resolveExisting(path));
        QCOMPARE(index.exists(path), paths::fileExists(path));
    }
    QVERIFY(index.exists(paths[0]));
    QVERIFY(!index.exists(paths[4]));
}

QTEST_GUILESS_MAIN(FolderIndexTest)
#include "FolderIndexTest.moc"
