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
}

SystemSoundPlayer::~SystemSoundPlayer() {
    // Stops a sound still playing from our memory before the memory goes.
    PlaySoundW(nullptr, nullptr, 0);
}

void SystemSoundPlayer::play(const QString &name) {
    const auto found = m_waves.constFind(name);
    if (found == m_waves.constEnd())
        return;
    PlaySoundW(reinterpret_cast<LPCWSTR>(found->constData()), nullptr,
               SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

void SystemSoundPlayer::beep() {
    MessageBeep(MB_OK);
}

} // namespace tavro
