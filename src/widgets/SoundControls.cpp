#include "widgets/SoundControls.h"

#include "evaluation/GridKeys.h"
#include "platform/SoundPlayer.h"
#include "platform/UserStore.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace tavro {

namespace {
const QString kSettings = QStringLiteral("Settings");
}

SoundControls::SoundControls(SoundPlayer *player, QObject *parent)
    : QObject(parent), m_player(player), m_button(new QPushButton(QStringLiteral("オフ"))),
      m_voice(new QToolButton) {
    m_button->setObjectName(QStringLiteral("SoundButton"));
    m_button->setCheckable(true);
    m_button->setAutoDefault(false);
    m_button->setToolTip(QStringLiteral("数字の読み上げ"));
    connect(m_button, &QPushButton::toggled, this, &SoundControls::setOn);

    m_voice->setObjectName(QStringLiteral("VoiceButton"));
    m_voice->setText(QStringLiteral("▼"));
    m_voice->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(m_voice);
    menu->setObjectName(QStringLiteral("VoiceMenu"));
    QAction *girl = menu->addAction(QStringLiteral("女の子の声"));
    QAction *boy = menu->addAction(QStringLiteral("男の子の声"));
    auto *group = new QActionGroup(menu);
    for (QAction *a : {girl, boy}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    girl->setChecked(true);
    connect(girl, &QAction::triggered, this, [this] { m_girls = true; });
    connect(boy, &QAction::triggered, this, [this] { m_girls = false; });
    m_voice->setMenu(menu);
    setOn(false);
}

void SoundControls::setOn(bool on) {
    m_on = on;
    if (m_button->isChecked() != on)
        m_button->setChecked(on);
    m_button->setText(on ? QStringLiteral("オン") : QStringLiteral("オフ"));
    QPalette palette;
    if (!on)
        palette.setColor(QPalette::ButtonText, QColor(128, 128, 128));
    m_button->setPalette(palette);
}

void SoundControls::setGirlsVoice(bool girls) {
    m_girls = girls;
    m_voice->menu()->actions().at(girls ? 0 : 1)->setChecked(true);
}

void SoundControls::restore(const UserStore *store, bool soundDefault) {
    setOn(store ? store->readInt(kSettings, QStringLiteral("Sound"), soundDefault ? 1 : 0) != 0
                : soundDefault);
    setGirlsVoice(!store || store->readInt(kSettings, QStringLiteral("SoundType"), 0) == 0);
}

void SoundControls::store(UserStore *store) const {
    if (!store)
        return;
    store->writeInt(kSettings, QStringLiteral("Sound"), m_on ? 1 : 0);
    store->writeInt(kSettings, QStringLiteral("SoundType"), m_girls ? 0 : 1);
}

void SoundControls::speak(int digit) const {
    if (m_on && digit >= 0 && m_player)
        m_player->play(gridkeys::digitSoundName(digit, m_girls));
}

void SoundControls::chime() const {
    if (m_on && m_player)
        m_player->play(gridkeys::kChimeSound);
}

} // namespace tavro
