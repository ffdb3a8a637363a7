#include "platform/qt/ui/QtWidgetPorts.h"

#include <QApplication>
#include <QAudioDevice>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <atomic>

namespace tavro {

namespace {

std::atomic<QtMessageHandler> previousMessageHandler{nullptr};

void quietWithoutAudio(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("PulseAudioService:")))
        return;
    if (const QtMessageHandler previous = previousMessageHandler.load())
        previous(type, context, message);
}

// Whether the system has an audio output. Without a sound server (a build machine, a remote session) Qt
// Multimedia warns once while looking; that is no fault of the program, so the warning is held back.
bool hasAudioOutput() {
    previousMessageHandler = qInstallMessageHandler(quietWithoutAudio);
    const bool found = !QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(previousMessageHandler.exchange(nullptr));
    return found;
}

} // namespace

SystemSoundPlayer::SystemSoundPlayer() : m_effects(new QObject) {
    const QDir folder(QStringLiteral(":/sounds"));
    for (const QString &file : folder.entryList({QStringLiteral("*.wav")}, QDir::Files))
        m_names.insert(QFileInfo(file).completeBaseName());

    m_thread.setObjectName(QStringLiteral("sound"));
    m_effects->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(m_effects, [effects = m_effects, names = m_names] {
        if (!hasAudioOutput())
            return; // play() finds no effect and stays silent
        for (const QString &name : names) {
            auto *effect = new QSoundEffect(effects);
            effect->setObjectName(name);
            effect->setSource(QUrl(QStringLiteral("qrc:/sounds/") + name + QStringLiteral(".wav")));
        }
    });
}

SystemSoundPlayer::~SystemSoundPlayer() {
    // The effects and their audio sinks are destroyed on their own thread.
    QMetaObject::invokeMethod(
        m_effects, [effects = m_effects] { qDeleteAll(effects->children()); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_effects;
}

void SystemSoundPlayer::play(const QString &name) {
    if (!m_names.contains(name))
        return;
    QMetaObject::invokeMethod(m_effects, [effects = m_effects, name] {
        auto *effect = effects->findChild<QSoundEffect *>(name, Qt::FindDirectChildrenOnly);
        if (!effect)
            return;
        if (effect->isPlaying())
            effect->stop();
        effect->play();
    });
}

void SystemSoundPlayer::beep() {
    QApplication::beep();
}

} // namespace tavro
