#pragma once

#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "platform/SoundPlayer.h"

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

// Beeps through the application; named sounds are played once their assets exist.
class SystemSoundPlayer final : public SoundPlayer {
public:
    void play(const QString &name) override;
    void beep() override;
};

} // namespace tavro
