#include "platform/qt/ui/QtWidgetPorts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QtEndian>

#include <atomic>
#include <memory>

using namespace tavro;

namespace {

const QStringList kNames = {
    QStringLiteral("rei"),      QStringLiteral("iti"),      QStringLiteral("ni"),    QStringLiteral("san"),
    QStringLiteral("yon"),      QStringLiteral("go"),       QStringLiteral("roku"),  QStringLiteral("siti"),
    QStringLiteral("hati"),     QStringLiteral("ku"),       QStringLiteral("rei2"),  QStringLiteral("iti2"),
    QStringLiteral("ni2"),      QStringLiteral("san2"),     QStringLiteral("yon2"),  QStringLiteral("go2"),
    QStringLiteral("roku2"),    QStringLiteral("siti2"),    QStringLiteral("hati2"), QStringLiteral("ku2"),
    QStringLiteral("VOtukare"), QStringLiteral("Tokeidai"), QStringLiteral("DING")};

std::atomic<int> warnings{0};
QtMessageHandler testHandler = nullptr;

void countWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (type != QtDebugMsg && type != QtInfoMsg)
        ++warnings;
    testHandler(type, context, message);
}

quint32 le32(const QByteArray &bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 le16(const QByteArray &bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

} // namespace

class SoundPlayerTest : public QObject {
    Q_OBJECT

private slots:
    // Every sound is linked into the program as a PCM WAV: mono, 16-bit, 22050 Hz, with a non-empty data
    // chunk that fits in the file.
    void resourcesAreWaves() {
        for (const QString &name : kNames) {
            QFile file(QStringLiteral(":/sounds/") + name + QStringLiteral(".wav"));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
            const QByteArray bytes = file.readAll();
            QVERIFY2(bytes.size() > 44, qPrintable(name));
            QCOMPARE(bytes.left(4), QByteArray("RIFF"));
            QCOMPARE(bytes.mid(8, 8), QByteArray("WAVEfmt "));
            QCOMPARE(le16(bytes, 20), quint16(1));     // PCM
            QCOMPARE(le16(bytes, 22), quint16(1));     // channels
            QCOMPARE(le32(bytes, 24), quint32(22050)); // sample rate
            QCOMPARE(le16(bytes, 34), quint16(16));    // bits per sample
            const qsizetype data = bytes.indexOf("data", 20 + le32(bytes, 16));
            QVERIFY2(data > 0, qPrintable(name));
            const quint32 size = le32(bytes, data + 4);
            QVERIFY2(size > 0 && data + 8 + size <= bytes.size(), qPrintable(name));
        }
    }

    // play() only hands the request on: it returns at once for every sound, for a sound played again while it
    // still plays and for an unknown name, with or without an audio device, and says nothing; the player then
    // shuts down cleanly.
    void playReturnsAtOnce() {
        warnings = 0;
        testHandler = qInstallMessageHandler(countWarnings);
        auto player = std::make_unique<SystemSoundPlayer>();
        QStringList names = kNames;
        names << QStringLiteral("san") << QStringLiteral("san") << QStringLiteral("nosuchsound") << QString();
        qint64 slowest = 0;
        for (const QString &name : names) {
            QElapsedTimer timer;
            timer.start();
            player->play(name);
            slowest = qMax(slowest, timer.nsecsElapsed());
        }
        QVERIFY2(slowest < 5'000'000, qPrintable(QString::number(slowest)));
        QTest::qWait(300); // the sounds load and start on their own thread
        player->play(QStringLiteral("rei"));
        player->play(QStringLiteral("rei"));
        QTest::qWait(100);
        player.reset();
        qInstallMessageHandler(testHandler);
        QCOMPARE(warnings.load(), 0);
    }
};

QTEST_MAIN(SoundPlayerTest)
#include "SoundPlayerTest.moc"
