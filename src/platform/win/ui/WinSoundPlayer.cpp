#include "platform/qt/ui/QtWidgetPorts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <windows.h>

#include <mmsystem.h>

namespace tavro {

SystemSoundPlayer::SystemSoundPlayer() {
    const QDir folder(QStringLiteral(":/sounds"));
    for (const QString &file : folder.entryList({QStringLiteral("*.wav")}, QDir::Files)) {
        QFile wave(folder.filePath(file));
        if (wave.open(QIODevice::ReadOnly))
            m_waves.insert(QFileInfo(file).completeBaseName(), wave.readAll());
    }
    m_thread = std::thread([this] { run(); });
}

SystemSoundPlayer::~SystemSoundPlayer() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void SystemSoundPlayer::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || m_next; });
        if (m_stop)
            break;
        const QByteArray *wave = m_next;
        m_next = nullptr;
        lock.unlock();
        PlaySoundW(reinterpret_cast<LPCWSTR>(wave->constData()), nullptr,
                   SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
        lock.lock();
    }
    lock.unlock();
    // A sound still playing from our memory stops before the memory goes.
    PlaySoundW(nullptr, nullptr, 0);
}

void SystemSoundPlayer::play(const QString &name) {
    const auto found = m_waves.constFind(name);
    if (found == m_waves.constEnd())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_next = &found.value();
    }
    m_wake.notify_one();
}

void SystemSoundPlayer::beep() {
    MessageBeep(MB_OK);
}

} // namespace tavro
