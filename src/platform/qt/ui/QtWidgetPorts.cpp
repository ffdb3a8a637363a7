#include "platform/qt/ui/QtWidgetPorts.h"

#include <QApplication>
#include <QAudioDevice>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMediaDevices>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSoundEffect>
#include <QUrl>

#include <algorithm>
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

// Makes the text label of `box` as wide as its longest line, so that a Japanese sentence (no spaces to
// break at) is not wrapped in the middle of a word; up to the widest box Qt allows on the screen.
void widenToText(QMessageBox &box) {
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    box.ensurePolished();
    const QFontMetrics metrics(label->font());
    int longest = 0;
    for (QString line : box.text().split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        longest = std::max(longest, metrics.horizontalAdvance(line));
    }
    const QScreen *screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    // QMessageBox wraps anywhere beyond this width; the icon and the margins take the rest.
    const int hardLimit = screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
    label->setMinimumWidth(std::min(longest + 2, std::max(0, hardLimit - 120)));
}

} // namespace

Prompter::Answer MessageBoxPrompter::ask(const QString &caption, const QString &text, Buttons buttons,
                                         Answer defaultAnswer, Icon icon) {
    QMessageBox box(m_parent);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    struct Choice {
        Answer answer;
        QMessageBox::StandardButton button;
        const char *label;
    };
    static const Choice ok{Answer::Ok, QMessageBox::Ok, "OK"};
    static const Choice cancel{Answer::Cancel, QMessageBox::Cancel, "キャンセル"};
    static const Choice yes{Answer::Yes, QMessageBox::Yes, "はい(&Y)"};
    static const Choice no{Answer::No, QMessageBox::No, "いいえ(&N)"};
    QList<Choice> choices;
    switch (buttons) {
    case Buttons::Ok:
        choices = {ok};
        break;
    case Buttons::OkCancel:
        choices = {ok, cancel};
        break;
    case Buttons::YesNo:
        choices = {yes, no};
        break;
    case Buttons::YesNoCancel:
        choices = {yes, no, cancel};
        break;
    }
    for (const Choice &c : choices) {
        QPushButton *b = box.addButton(c.button);
        b->setText(QString::fromUtf8(c.label));
        if (c.answer == defaultAnswer)
            box.setDefaultButton(b);
    }
    // Escape answers Cancel when offered, else No, else OK.
    box.setEscapeButton(box.button(choices.size() == 2 && buttons == Buttons::YesNo ? QMessageBox::No
                                   : buttons == Buttons::Ok                         ? QMessageBox::Ok
                                                                                    : QMessageBox::Cancel));
    widenToText(box);
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        break;
    }
    return buttons == Buttons::YesNo ? Answer::No : buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

QString SystemClipboard::text() const {
    return QGuiApplication::clipboard()->text();
}

void SystemClipboard::setText(const QString &text) {
    QGuiApplication::clipboard()->setText(text);
}

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
