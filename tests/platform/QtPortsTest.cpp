#include "platform/qt/QtPorts.h"

#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif
#include <QUuid>

using namespace tavro;

class QtPortsTest : public QObject {
    Q_OBJECT

private slots:
    // A second start sees the first; after release the next start succeeds.
    void singleInstance() {
        const QString name = QStringLiteral("tavro-test-") + QUuid::createUuid().toString(QUuid::Id128);
        LockFileInstanceGuard first(name);
        LockFileInstanceGuard second(name);
        QVERIFY(first.tryAcquire());
        QVERIFY(!second.tryAcquire());
        first.release();
        QVERIFY(second.tryAcquire());
    }

    // Missing values read as the default; written values survive a new store on the same file.
    void userStore() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Tavro.ini"));
        {
            SettingsUserStore store(path);
            QCOMPARE(store.readInt(QStringLiteral("Input"), QStringLiteral("Gakunen1")), 0);
            QCOMPARE(store.readInt(QStringLiteral("Input"), QStringLiteral("Gakunen1"), 7), 7);
            store.writeInt(QStringLiteral("Input"), QStringLiteral("Gakunen1"), 3);
            store.writeInt(QStringLiteral("ActivePage"), QStringLiteral("PageControl1"), 5);
        }
        SettingsUserStore again(path);
        QCOMPARE(again.readInt(QStringLiteral("Input"), QStringLiteral("Gakunen1")), 3);
        QCOMPARE(again.readInt(QStringLiteral("ActivePage"), QStringLiteral("PageControl1")), 5);
        QCOMPARE(again.readInt(QStringLiteral("Input"), QStringLiteral("Kyouka1")), 0);
    }

    void workstationNames() {
        SystemWorkstationInfo info;
        QVERIFY(info.userName().size() <= 30);
        QVERIFY(!info.computerName().isEmpty());
        // Without the environment's names the account's login name is used.
        const QByteArray user = qgetenv("USER"), windowsUser = qgetenv("USERNAME");
        qunsetenv("USER");
        qunsetenv("USERNAME");
        const QString fallback = info.userName();
        qputenv("USER", user);
        if (!windowsUser.isEmpty())
            qputenv("USERNAME", windowsUser);
        QVERIFY(!fallback.isEmpty());
#ifdef Q_OS_UNIX
        QCOMPARE(fallback, QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name).left(30));
#endif
    }
};

QTEST_GUILESS_MAIN(QtPortsTest)
#include "QtPortsTest.moc"
