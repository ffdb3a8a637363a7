#include "platform/qt/QtPorts.h"

#include <QDir>
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
    // A second start sees the first (on Windows through the named mutex); after release, or when the
    // first instance ends, the next start succeeds.
    void singleInstance() {
        const QString name = QStringLiteral("tavro-test-") + QUuid::createUuid().toString(QUuid::Id128);
        SystemInstanceGuard second(name);
        {
            SystemInstanceGuard first(name);
            QVERIFY(first.tryAcquire());
            QVERIFY(first.tryAcquire()); // asking again keeps it
            QVERIFY(!second.tryAcquire());
            first.release();
            QVERIFY(second.tryAcquire());
            QVERIFY(!first.tryAcquire());
            second.release();
            QVERIFY(first.tryAcquire());
        }
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

#ifdef Q_OS_WIN
    // The user's choices go to the registry under HKEY_CURRENT_USER and come back in a new store.
    void registryRoundTrip() {
        const QString name = QStringLiteral("Tavro-test-") + QUuid::createUuid().toString(QUuid::Id128);
        const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\") + name;
        {
            SettingsUserStore store(key, QSettings::NativeFormat);
            QCOMPARE(store.readInt(QStringLiteral("Input"), QStringLiteral("Gakunen1"), 7), 7);
            store.writeInt(QStringLiteral("Input"), QStringLiteral("Gakunen1"), 3);
            store.writeInt(QStringLiteral("ActivePage"), QStringLiteral("PageControl1"), -2);
        }
        QSettings registry(key, QSettings::NativeFormat);
        QCOMPARE(registry.childGroups(),
                 QStringList({QStringLiteral("ActivePage"), QStringLiteral("Input")}));
        QCOMPARE(registry.value(QStringLiteral("Input/Gakunen1")).toInt(), 3);
        {
            SettingsUserStore again(key, QSettings::NativeFormat);
            QCOMPARE(again.readInt(QStringLiteral("Input"), QStringLiteral("Gakunen1")), 3);
            QCOMPARE(again.readInt(QStringLiteral("ActivePage"), QStringLiteral("PageControl1")), -2);
            QCOMPARE(again.readInt(QStringLiteral("Input"), QStringLiteral("Kyouka1"), 4), 4);
        }
        QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software"), QSettings::NativeFormat).remove(name);

        // The program's own store is HKEY_CURRENT_USER\Software\Tavro.
        const QString section = QStringLiteral("Test-") + QUuid::createUuid().toString(QUuid::Id128);
        SettingsUserStore program;
        program.writeInt(section, QStringLiteral("Value"), 12);
        QSettings tavro(QStringLiteral("HKEY_CURRENT_USER\\Software\\Tavro"), QSettings::NativeFormat);
        QCOMPARE(tavro.value(section + QStringLiteral("/Value")).toInt(), 12);
        tavro.remove(section);
    }
#endif

    // UNC names are network paths; drive letters, long-path drive names and relative names are not.
    void uncPaths() {
        QVERIFY(isUncPath(QStringLiteral("\\\\server\\share\\tavro.exe")));
        QVERIFY(isUncPath(QStringLiteral("//server/share/data/")));
        QVERIFY(!isUncPath(QStringLiteral("tavro.exe")));
#ifdef Q_OS_WIN
        QVERIFY(isUncPath(QStringLiteral("\\\\?\\UNC\\server\\share\\tavro.exe")));
        QVERIFY(!isUncPath(QStringLiteral("\\\\?\\C:\\tavro\\tavro.exe")));
        QVERIFY(!isUncPath(QStringLiteral("D:\\tavro\\data\\")));
        QVERIFY(!isUncPath(QStringLiteral("\\tavro\\data")));
        // A relative name under a UNC working folder is on the share.
        const QString previous = QDir::currentPath();
        if (QDir::setCurrent(QStringLiteral("\\\\localhost\\C$"))) {
            const bool relative = isUncPath(QStringLiteral("tavro.exe"));
            QDir::setCurrent(previous);
            QVERIFY(relative);
        }
#endif
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
#ifdef Q_OS_WIN
        QCOMPARE(info.userName(), qEnvironmentVariable("USERNAME").left(30));
        QCOMPARE(info.computerName(), qEnvironmentVariable("COMPUTERNAME"));
#endif
    }
};

QTEST_GUILESS_MAIN(QtPortsTest)
#include "QtPortsTest.moc"
