#include "common/FileErrors.h"
#include "common/FileSave.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace tavro;

namespace {
const QString kPermission = QStringLiteral("書き込みまたは読み込みの権限がありません。");
const QString kReadOnly = QStringLiteral("読み取り専用の場所なので書き込めません。");
const QString kMissing = QStringLiteral("フォルダまたはファイルが見つかりません。");
const QString kDiskFull = QStringLiteral("ディスクの空き容量が足りません。");
const QString kInUse = QStringLiteral("ファイルがほかのプログラムで使用中です。");
const QString kNetwork =
    QStringLiteral("ネットワーク上のフォルダに接続できません。ネットワークの接続を確かめてください。");
} // namespace

class FileErrorsTest : public QObject {
    Q_OBJECT
private slots:
    void reasons_data();
    void reasons();
    void systemCodes();
    void realFailures();
};

void FileErrorsTest::reasons_data() {
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("reason");
    QTest::newRow("EPERM") << "Operation not permitted" << kPermission;
    QTest::newRow("EACCES") << "Permission denied" << kPermission;
    QTest::newRow("Windows access") << "Access is denied." << kPermission;
    QTest::newRow("EROFS") << "Read-only file system" << kReadOnly;
    QTest::newRow("ENOENT") << "No such file or directory" << kMissing;
    QTest::newRow("Windows path") << "The system cannot find the path specified." << kMissing;
    QTest::newRow("ENOSPC") << "No space left on device" << kDiskFull;
    QTest::newRow("Windows disk") << "There is not enough space on the disk." << kDiskFull;
    QTest::newRow("EBUSY") << "Device or resource busy" << kInUse;
    QTest::newRow("Windows sharing")
        << "The process cannot access the file because it is being used by another process." << kInUse;
    QTest::newRow("ESTALE") << "Stale file handle" << kNetwork;
    QTest::newRow("EHOSTDOWN") << "Host is down" << kNetwork;
    QTest::newRow("Windows net") << "The specified network name is no longer available." << kNetwork;
    QTest::newRow("unmapped") << "File too large"
                              << "ファイルを扱えませんでした。（File too large）";
    QTest::newRow("unknown") << "Unknown error"
                             << "原因のわからないエラーです。";
    QTest::newRow("empty") << ""
                           << "原因のわからないエラーです。";
}

void FileErrorsTest::reasons() {
    QFETCH(QString, system);
    QFETCH(QString, reason);
    QCOMPARE(fileerror::reason(system), reason);
}

void FileErrorsTest::systemCodes() {
#ifndef Q_OS_WIN
    const std::pair<int, QString> codes[] = {
        {EPERM, kPermission}, {EACCES, kPermission}, {EROFS, kReadOnly},
        {ENOENT, kMissing},   {ENOSPC, kDiskFull},   {EDQUOT, kDiskFull},
        {ETXTBSY, kInUse},    {ESTALE, kNetwork},    {ENOTCONN, kNetwork}};
    for (const auto &[code, text] : codes)
        QCOMPARE(fileerror::fromSystemCode(code), text);
    QCOMPARE(fileerror::fromSystemCode(EFBIG),
             QStringLiteral("ファイルを扱えませんでした。（File too large）"));
#endif
}

// The reasons of failures the save helper and a plain file meet on this system.
void FileErrorsTest::realFailures() {
    QTemporaryDir tmp;
    QString error;
    QVERIFY(!saveFileAtomically(tmp.filePath("なし/101国語.dat"), "x", &error));
    QVERIFY2(error.endsWith(kMissing), qPrintable(error));
#ifdef Q_OS_LINUX
    QFile full(QStringLiteral("/dev/full"));
    QVERIFY(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QVERIFY(full.write("x") < 0 || !full.flush());
    QCOMPARE(fileerror::reason(full), kDiskFull);
#endif
}

QTEST_GUILESS_MAIN(FileErrorsTest)
#include "FileErrorsTest.moc"
