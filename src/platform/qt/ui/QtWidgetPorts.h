#pragma once

#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "platform/SoundPlayer.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QThread>

#include <condition_variable>
#include <mutex>
#include <thread>

class QWidget;

// Qt implementations of the ports that need widgets.
namespace tavro {

// QMessageBox with the given caption, text, buttons and default button. Buttons read in Japanese.
class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    Answer ask(const QString &caption, const QString &text, Buttons buttons, Answer defaultAnswer,
               Icon icon = Icon::None) override;

private:
    QWidget *m_parent;
};

class SystemClipboard final : public Clipboard {
public:
    QString text() const override;
    void setText(const QString &text) override;
};

#ifdef Q_OS_WIN
// Plays the sounds of the resources ":/sounds/NAME.wav" by NAME with PlaySound from memory, asynchronously
// (SND_MEMORY | SND_ASYNC). The wave bytes are read once, at construction, and stay in memory while a sound
// may play. PlaySound is called on a thread of the player's own, so play() never waits for the audio driver;
// a sound started while another plays replaces it. Construct after the QApplication.
class SystemSoundPlayer final : public SoundPlayer {
public:
    SystemSoundPlayer();
    ~SystemSoundPlayer() override;
    SystemSoundPlayer(const SystemSoundPlayer &) = delete;
    SystemSoundPlayer &operator=(const SystemSoundPlayer &) = delete;

    // Starts NAME from its beginning, also when it is still playing. Unknown names are ignored.
    void play(const QString &name) override;
    void beep() override;

private:
    void run();

    QHash<QString, QByteArray> m_waves;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    const QByteArray *m_next = nullptr; // the wave to start, or nullptr
    bool m_stop = false;
    std::thread m_thread;
};
#else
// Plays the sounds of the resources ":/sounds/NAME.wav" by NAME. Every sound is loaded once, at construction,
// into a QSoundEffect living on a thread of its own, so play() only posts a request and never waits for the
// audio device. Without an audio device nothing is heard. Construct after the QApplication.
class SystemSoundPlayer final : public SoundPlayer {
public:
    SystemSoundPlayer();
    ~SystemSoundPlayer() override;
    SystemSoundPlayer(const SystemSoundPlayer &) = delete;
    SystemSoundPlayer &operator=(const SystemSoundPlayer &) = delete;

    // Starts NAME from its beginning, also when it is still playing. Unknown names are ignored.
    void play(const QString &name) override;
    void beep() override;

private:
    QSet<QString> m_names;
    QThread m_thread;
    QObject *m_effects; // parent of the QSoundEffects, lives in m_thread
};

#endif

} // namespace tavro
