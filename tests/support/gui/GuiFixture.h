#pragma once

#include "app/Startup.h"
#include "app/WorkingContext.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "support/TestDoubles.h"

#include <QApplication>
#include <QObject>
#include <QSize>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <vector>

class QWidget;

namespace tavro::test {

// The shared set-up of the widget tests: a school's data folder in a temporary directory, written with
// the program's own writers, the test doubles of the ports, and helpers to reach into windows.
class GuiFixture {
public:
    static constexpr int kNendo = 2024; // the fixed clock's school year

    GuiFixture();

    bool isValid() const { return m_dir.isValid(); }
    // Ends with a separator.
    const QString &dataFolder() const { return m_dataFolder; }

    TestPlatform doubles;
    Platform platform() { return doubles.platform(); }
    ScriptedPrompter &prompter() { return doubles.prompter; }
    MemoryUserStore &userStore() { return doubles.userStore; }
    RecordingSoundPlayer &sound() { return doubles.sound; }

    // A junior high school with named tests and evaluation kinds, classes in grades 1..3.
    static MainSettings sampleMainSettings();
    static YearSettings sampleYearSettings();
    static QStringList sampleElectives();

    bool writeMainSettings(const MainSettings &settings);
    bool writeYearSettings(const YearSettings &settings, int nendo = kNendo);
    bool writeElectives(const QStringList &lines, int nendo = kNendo);
    bool writeRoster(int grade, const std::vector<RosterEntry> &entries, int nendo = kNendo);
    // Main settings, year settings and electives of the sample school, and a short roster of grade 1.
    bool writeSampleSchool();
    // The demo school of the program (as `tavro-cli demo` writes it) for the fixture's year.
    bool writeDemoSchool();

    // The context a window starts from: DataFolder, Nendo = ThisNendo of the fixed clock.
    WorkingContext context() const;

    // The next message box is answered with `answer` (unscripted ones get their default answer).
    void answerNext(Prompter::Answer answer) { doubles.prompter.script({answer}); }
    // Text of the last message box shown; empty when none.
    QString lastMessage() const;

    // The descendant of `root` with the object name, or nullptr.
    template <class T = QWidget> static T *child(const QObject *root, const QString &name) {
        return root ? root->findChild<T *>(name) : nullptr;
    }

    // Types text into a widget as key presses, one character at a time (any script, unlike
    // QTest::keyClicks).
    static void typeText(QWidget *widget, const QString &text);

    // Shows a top-level window at `size` and waits until it is exposed.
    static bool showAt(QWidget *window, const QSize &size = QSize(1024, 768));

private:
    QTemporaryDir m_dir;
    QString m_dataFolder;
};

// Runs `act` on the modal dialog of type T as soon as it is active; the timer goes after it ran.
template <class T> QTimer *whenShown(const std::function<void(T *)> &act) {
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
    return timer;
}

} // namespace tavro::test
