#pragma once

#include <QObject>

class QPushButton;
class QToolButton;

namespace tavro {

class SoundPlayer;
class UserStore;

// The sound switch of the entry grids: the button "オン"/"オフ", the "▼" voice menu ("女の子の声",
// "男の子の声"), the spoken digits and the chime, and the values "Sound" and "SoundType" of the user's
// "Settings".
class SoundControls : public QObject {
    Q_OBJECT

public:
    SoundControls(SoundPlayer *player, QObject *parent = nullptr);

    QPushButton *soundButton() const { return m_button; }
    QToolButton *voiceButton() const { return m_voice; }

    bool isOn() const { return m_on; }
    void setOn(bool on);
    bool girlsVoice() const { return m_girls; }
    void setGirlsVoice(bool girls);

    // "Sound" (missing: `soundDefault`) and "SoundType" (0 girl, 1 boy).
    void restore(const UserStore *store, bool soundDefault);
    void store(UserStore *store) const;

    // With the sound on: the spoken digit (none for -1), the chime.
    void speak(int digit) const;
    void chime() const;

private:
    SoundPlayer *m_player;
    QPushButton *m_button;
    QToolButton *m_voice;
    bool m_on = false;
    bool m_girls = true;
};

} // namespace tavro
