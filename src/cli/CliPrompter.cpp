#include "cli/CliPrompter.h"

#include "cli/CliSupport.h"

#include <QTextStream>
#include <cstdio>
#include <iterator>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace tavro::cli {

namespace {

QString answerLabel(Prompter::Answer answer) {
    switch (answer) {
    case Prompter::Answer::Ok:
        return QStringLiteral("OK");
    case Prompter::Answer::Cancel:
        return QStringLiteral("キャンセル");
    case Prompter::Answer::Yes:
        return QStringLiteral("はい");
    case Prompter::Answer::No:
        return QStringLiteral("いいえ");
    }
    return QString();
}

// Turns terminal echo off for its lifetime.
class EchoOff {
public:
    EchoOff() {
#ifdef Q_OS_WIN
        m_handle = GetStdHandle(STD_INPUT_HANDLE);
        m_changed =
            GetConsoleMode(m_handle, &m_mode) && SetConsoleMode(m_handle, m_mode & ~ENABLE_ECHO_INPUT);
#else
        if (tcgetattr(STDIN_FILENO, &m_mode) == 0) {
            termios quiet = m_mode;
            quiet.c_lflag &= ~tcflag_t(ECHO);
            m_changed = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        }
#endif
    }
    ~EchoOff() {
        if (!m_changed)
            return;
#ifdef Q_OS_WIN
        SetConsoleMode(m_handle, m_mode);
#else
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_mode);
#endif
    }

private:
    bool m_changed = false;
#ifdef Q_OS_WIN
    HANDLE m_handle = nullptr;
    DWORD m_mode = 0;
#else
    termios m_mode{};
#endif
};

QTextStream &input() {
    static QTextStream stream(stdin);
    stream.setEncoding(QStringConverter::Utf8);
    return stream;
}

} // namespace

Prompter::Answer CliPrompter::ask(const QString &caption, const QString &text, Buttons buttons,
                                  Answer defaultAnswer, Icon) {
    Q_UNUSED(caption);
    const Answer answer = m_answerer ? m_answerer(text, buttons, defaultAnswer) : defaultAnswer;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    err() << shown << "\n";
    if (buttons != Buttons::Ok)
        err() << QStringLiteral("→ %1\n").arg(answerLabel(answer));
    err().flush();
    return answer;
}

#ifdef Q_OS_WIN
namespace {

// A line typed at the console, read as UTF-16 whatever the console's code page.
bool readConsoleLine(QString &line) {
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    QString text;
    wchar_t buffer[256];
    DWORD read = 0;
    while (!text.contains(u'\n')) {
        if (!ReadConsoleW(in, buffer, DWORD(std::size(buffer)), &read, nullptr) || read == 0)
            break;
        text += QString::fromWCharArray(buffer, int(read));
    }
    if (text.isEmpty())
        return false;
    line = text.left(text.indexOf(u'\n'));
    if (line.endsWith(u'\r'))
        line.chop(1);
    return true;
}

} // namespace
#endif

bool stdinIsTerminal() {
#ifdef Q_OS_WIN
    // _isatty() also holds for NUL; only a console has a console mode.
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
#else
    return isatty(STDIN_FILENO) != 0;
#endif
}

bool readSecretLine(const QString &prompt, QString &line) {
    line.clear();
    if (!stdinIsTerminal())
        return input().readLineInto(&line);
    err() << prompt;
    err().flush();
    bool ok = false;
    {
        EchoOff quiet;
#ifdef Q_OS_WIN
        ok = readConsoleLine(line);
#else
        ok = input().readLineInto(&line);
#endif
    }
    err() << "\n";
    err().flush();
    return ok;
}

} // namespace tavro::cli
