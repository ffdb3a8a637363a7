#include "platform/qt/ui/QtWidgetPorts.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace tavro {

namespace {

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

} // namespace tavro
