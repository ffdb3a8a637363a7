// Random keys, clicks, wheel steps, pastes and answers on every window of the program, over the demo
// school; afterwards every data file of the year must still read cleanly.
//
// TAVRO_MONKEY_SEED     the seed (default 1); each window mixes its name in, so a filtered run replays
// TAVRO_MONKEY_SECONDS  seconds per window (default 2)
// TAVRO_MONKEY_WINDOWS  comma-separated parts of window names to run (default: all)
// TAVRO_MONKEY_KEEP     a folder: the data folder of a window whose files do not read cleanly is
//                       copied there (as KEEP/<window>) for inspection
#include "app/DataFolderCheck.h"
#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "app/Login.h"
#include "app/ui/MainForm.h"
#include "app/ui/PassWordCheck1Form.h"
#include "app/ui/PermissionForm1.h"
#include "app/ui/SplashWindow.h"
#include "config/ui/KantenDefForm.h"
#include "config/ui/NameEditForm.h"
#include "config/ui/SentakuMember1Form.h"
#include "config/ui/SettingsForm.h"
#include "config/ui/TantoForm.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/ui/EvaluationInputStatusForms.h"
#include "evaluation/ui/EvaluationWindow.h"
#include "evaluation/ui/Hyoutei1Form.h"
#include "evaluation/ui/HyouteiPropForm.h"
#include "evaluation/ui/HyouteiShukeiForm.h"
#include "evaluation/ui/KoumokuImportForm.h"
#include "exchange/ui/ExcelCopyForm.h"
#include "exchange/ui/TransferForm.h"
#include "exchange/ui/TransferShukeiForm.h"
#include "reports/render/PdfPrintTarget.h"
#include "reports/ui/KondanForm1.h"
#include "reports/ui/PrintHyoutei2Form.h"
#include "reports/ui/SubjectPrintWindow.h"
#include "support/gui/GuiFixture.h"
#include "testscores/TestAggregation.h"
#include "testscores/ui/InputStatusForms.h"
#include "testscores/ui/ScoreEntryWindow.h"
#include "testscores/ui/TInput1Form.h"
#include "testscores/ui/TPrintTest1Form.h"
#include "testscores/ui/TTestMantenGakuForm.h"
#include "testscores/ui/TestShukeiForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <functional>
#include <memory>

using namespace tavro;
using tavro::test::GuiFixture;

namespace {

const QString kCaption = QStringLiteral("成績処理TAVRO for Windows Ver.5");

int envInt(const char *name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// Answers every question with one of its own buttons, at random.
class RandomPrompter final : public Prompter {
public:
    explicit RandomPrompter(QRandomGenerator &random) : m_random(random) {}
    // Once the run is over: the default answer, so the windows close.
    bool defaults = false;
    int asked = 0;
    Answer ask(const QString &, const QString &, Buttons buttons, Answer defaultAnswer, Icon) override {
        ++asked;
        if (defaults)
            return defaultAnswer;
        QList<Answer> choices;
        switch (buttons) {
        case Buttons::Ok:
            choices = {Answer::Ok};
            break;
        case Buttons::OkCancel:
            choices = {Answer::Ok, Answer::Cancel};
            break;
        case Buttons::YesNo:
            choices = {Answer::Yes, Answer::No};
            break;
        case Buttons::YesNoCancel:
            choices = {Answer::Yes, Answer::No, Answer::Cancel};
            break;
        }
        return choices.at(int(m_random.bounded(qsizetype(choices.size()))));
    }

private:
    QRandomGenerator &m_random;
};

// Text of every sort a user or a clipboard can bring: digits, score codes, Japanese, control
// characters, grids of tabs and newlines, characters outside code page 932, lone surrogates, and huge.
QString randomText(QRandomGenerator &random) {
    static const QStringList pieces = {
        QStringLiteral("0"),          QStringLiteral("5"),      QStringLiteral("100"),
        QStringLiteral("-3"),         QStringLiteral("999"),    QStringLiteral("1.5"),
        QStringLiteral("*"),          QStringLiteral("/"),      QStringLiteral("A"),
        QStringLiteral("abc"),        QStringLiteral(" "),      QStringLiteral("\t"),
        QStringLiteral("\r\n"),       QStringLiteral("\n"),     QStringLiteral("\r"),
        QStringLiteral("\x1b"),       QStringLiteral("\x01"),   QStringLiteral("\x7f"),
        QStringLiteral("青木　一郎"), QStringLiteral("あいう"), QStringLiteral("ｱｲｳ"),
        QStringLiteral("１２３"),     QStringLiteral("①"),      QStringLiteral("髙"),
        QStringLiteral("😀"),          QStringLiteral("\u00e9"), QStringLiteral("한"),
        QStringLiteral("\u20ac"),     QStringLiteral("\\"),     QStringLiteral(".."),
        QStringLiteral("\""),         QStringLiteral(","),      QStringLiteral("%1"),
        QStringLiteral("="),          QStringLiteral("\u3000"), QStringLiteral("~"),
    };
    QString text;
    const int kind = int(random.bounded(20));
    if (kind == 0) {
        // A lone surrogate or a NUL.
        text.append(QChar(char16_t(random.bounded(2) ? 0xD800 + random.bounded(0x400) : 0)));
    } else if (kind == 1) {
        // Huge: a grid of many rows or one very long line.
        const int rows = int(random.bounded(2) ? 2000 : 1);
        const int width = rows == 1 ? 100000 : 40;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < width / 10; ++c)
                text.append(pieces.at(int(random.bounded(qsizetype(12))))).append(u'\t');
            text.append(QStringLiteral("\r\n"));
        }
        if (rows == 1)
            text = text.repeated(10).left(200000);
        return text;
    }
    const int n = 1 + int(random.bounded(kind < 10 ? 3 : 30));
    for (int i = 0; i < n; ++i)
        text.append(pieces.at(int(random.bounded(pieces.size()))));
    return text;
}

// One window under test with what it works on; the window goes first.
struct Opened {
    std::shared_ptr<void> keep;
    std::unique_ptr<QWidget> window;
};

struct Env {
    GuiFixture &f;
    Platform platform;
    PrintTarget *target;
};

using Factory = std::function<Opened(Env &)>;

template <class T> Opened only(T *window) {
    Opened o;
    o.window.reset(window);
    return o;
}

EvaluationContext evaluationContext(const GuiFixture &f, int grade = 1, const QString &kyouka = "国語") {
    EvaluationContext c;
    c.mainCaption = kCaption;
    c.dataFolder = f.dataFolder();
    c.nendo = GuiFixture::kNendo;
    c.grade = grade;
    c.kyouka = kyouka;
    c.chargeClasses = QStringLiteral("12");
    c.teacherName = DemoSchool::teacherNames().at(1);
    return c;
}

Opened evaluationPage(Env &e, int page) {
    auto *w = new THyoutei1Form(evaluationContext(e.f), e.platform);
    w->setPrintTarget(e.target);
    if (auto *pages = GuiFixture::child<QTabWidget>(w, QStringLiteral("PageControl1")))
        pages->setCurrentIndex(qMin(page, pages->count() - 1));
    return only(w);
}

std::shared_ptr<EvaluationSession> loadedSession(Env &e) {
    auto session = std::make_shared<EvaluationSession>(evaluationContext(e.f));
    session->load(*e.platform.prompter);
    return session;
}

THyouteiShukeiForm::Inputs gradeInputs(const GuiFixture &f) {
    THyouteiShukeiForm::Inputs in;
    in.mainCaption = kCaption;
    in.nendo = GuiFixture::kNendo;
    in.gakunen = QStringLiteral("1");
    in.hyouteiKind = 1;
    in.hyouteiKindName = QStringLiteral("1学期評定");
    in.dataFolder = f.dataFolder();
    in.classType = true;
    in.schoolKind = 1;
    return in;
}

InputStatusInputs statusInputs(const GuiFixture &f, bool test) {
    InputStatusInputs in;
    in.mainCaption = kCaption;
    in.nendo = GuiFixture::kNendo;
    in.gakunen = QStringLiteral("1");
    in.testCode = test ? QStringLiteral("A") : QString();
    in.kindName = test ? QStringLiteral("1学期中間テスト") : QStringLiteral("1学期評定");
    in.kind = 1;
    in.dataFolder = f.dataFolder();
    return in;
}

Opened mainForm(Env &e, bool admin) {
    auto *w = new TMainForm(e.platform, e.f.context());
    const Platform p = e.platform;
    QWidget *parent = w;
    w->setDataWindowOpener(DataPage::PeriodicTest, [p, parent](const WorkingContext &c) {
        openScoreEntryWindow(p, c, false, parent);
    });
    w->setDataWindowOpener(DataPage::AchievementTest, [p, parent](const WorkingContext &c) {
        openScoreEntryWindow(p, c, true, parent);
    });
    w->setDataWindowOpener(DataPage::Compulsory, [p, parent](const WorkingContext &c) {
        openEvaluationWindow(p, c, false, parent);
    });
    w->setDataWindowOpener(DataPage::Elective, [p, parent](const WorkingContext &c) {
        openEvaluationWindow(p, c, true, parent);
    });
    if (auto *pages = GuiFixture::child<QTabWidget>(w, QStringLiteral("PageControl1")); pages && admin) {
        pages->setCurrentIndex(pages->count() - 1);
        if (auto *edit = GuiFixture::child<QLineEdit>(w, QStringLiteral("LockPasswordEdit"))) {
            edit->setText(QStringLiteral("admin"));
            if (auto *button = GuiFixture::child<QAbstractButton>(w, QStringLiteral("NinsyouButton")))
                button->click();
        }
    }
    return only(w);
}

const QList<QPair<QString, Factory>> &windows() {
    static const QList<QPair<QString, Factory>> list = {
        {"main-grade", [](Env &e) { return mainForm(e, false); }},
        {"main-admin", [](Env &e) { return mainForm(e, true); }},
        {"version", [](Env &e) { return only(new TSplashWindow(e.platform)); }},
        {"login",
         [](Env &e) {
             LoginInputs in{
                 kCaption, GuiFixture::kNendo, QStringLiteral("1"), QStringLiteral("国語"), e.f.dataFolder(),
                 false};
             return only(new TPassWordCheck1Form(e.platform, in));
         }},
        {"permissions",
         [](Env &e) { return only(new TPermissionForm1(e.platform, GuiFixture::kNendo, e.f.dataFolder())); }},
        {"roster",
         [](Env &e) {
             return only(new TNameEditForm(e.platform, kCaption, GuiFixture::kNendo, QStringLiteral("1"),
                                           e.f.dataFolder(), true));
         }},
        {"settings",
         [](Env &e) {
             return only(new TSettingsForm(e.platform, kCaption, GuiFixture::kNendo, e.f.dataFolder()));
         }},
        {"teachers",
         [](Env &e) {
             return only(new TTantoForm(e.platform, kCaption, GuiFixture::kNendo, e.f.dataFolder(), 1));
         }},
        {"electives",
         [](Env &e) {
             return only(new TSentakuMember1Form(e.platform, kCaption, GuiFixture::kNendo, e.f.dataFolder(),
                                                 QStringLiteral("1")));
         }},
        {"viewpoints",
         [](Env &e) {
             return only(new TKantenDefForm(e.platform, kCaption, GuiFixture::kNendo, e.f.dataFolder(), 1));
         }},
        {"score-entry",
         [](Env &e) {
             ScoreEntryContext c;
             c.mainCaption = kCaption;
             c.dataFolder = e.f.dataFolder();
             c.nendo = GuiFixture::kNendo;
             c.grade = 1;
             c.kyouka = QStringLiteral("国語");
             c.testCode = QStringLiteral("A");
             c.testName = QStringLiteral("1学期中間テスト");
             c.chargeClasses = QStringLiteral("12");
             auto *w = new TInput1Form(c, e.platform);
             w->setPrintTarget(e.target);
             return only(w);
         }},
        {"test-full-score", [](Env &) { return only(new TTestMantenGakuForm(100)); }},
        {"test-aggregation",
         [](Env &e) {
             TTestShukeiForm::Inputs in;
             in.mainCaption = kCaption;
             in.nendo = GuiFixture::kNendo;
             in.gakunen = QStringLiteral("1");
             in.testCode = QStringLiteral("A");
             in.testName = QStringLiteral("1学期中間テスト");
             in.dataFolder = e.f.dataFolder();
             auto *w = new TTestShukeiForm(e.platform, in);
             w->setPrintTarget(e.target);
             return only(w);
         }},
        {"test-prints",
         [](Env &e) {
             auto a = std::make_shared<TestAggregation>(
                 TestAggregation::load(e.f.dataFolder(), {GuiFixture::kNendo, 1, QStringLiteral("A"),
                                                          QStringLiteral("1学期中間テスト"), true}));
             Opened o;
             o.window.reset(new TPrintTest1Form(*a, true, e.platform, e.target));
             o.keep = a;
             return o;
         }},
        {"test-status", [](Env &e) { return only(new TView1Form(e.platform, statusInputs(e.f, true))); }},
        {"evaluation-scores", [](Env &e) { return evaluationPage(e, 0); }},
        {"evaluation-viewpoints", [](Env &e) { return evaluationPage(e, 1); }},
        {"evaluation-items", [](Env &e) { return evaluationPage(e, 2); }},
        {"evaluation-results", [](Env &e) { return evaluationPage(e, 3); }},
        {"evaluation-paste", [](Env &e) { return evaluationPage(e, 4); }},
        {"evaluation-analysis", [](Env &e) { return evaluationPage(e, 5); }},
        {"item-dialog",
         [](Env &e) {
             auto session = loadedSession(e);
             Opened o;
             o.window.reset(new THyouteiPropForm(*session, 1, *e.platform.prompter));
             o.keep = session;
             return o;
         }},
        {"item-import",
         [](Env &e) {
             auto session = loadedSession(e);
             Opened o;
             o.window.reset(new TKoumokuImportForm(*session, *e.platform.prompter));
             o.keep = session;
             return o;
         }},
        {"evaluation-status",
         [](Env &e) { return only(new TView2Form(e.platform, statusInputs(e.f, false))); }},
        {"evaluation-status-grade",
         [](Env &e) { return only(new TView3Form(e.platform, statusInputs(e.f, false))); }},
        {"subject-prints",
         [](Env &e) {
             auto session = loadedSession(e);
             Opened o;
             o.window.reset(new TPrintHyoutei1Form(*session, 1, e.platform, e.target));
             o.keep = session;
             return o;
         }},
        {"subject-prints-grade",
         [](Env &e) {
             auto session = loadedSession(e);
             Opened o;
             o.window.reset(new TPrintHyoutei3Form(*session, 1, e.platform, e.target));
             o.keep = session;
             return o;
         }},
        {"transfers",
         [](Env &e) {
             auto session = loadedSession(e);
             Opened o;
             o.window.reset(new TTransferForm(*session, 1, e.platform));
             o.keep = session;
             return o;
         }},
        {"grade-aggregation",
         [](Env &e) {
             auto *w = new THyouteiShukeiForm(e.platform, gradeInputs(e.f));
             w->setPrintTarget(e.target);
             return only(w);
         }},
        {"grade-documents",
         [](Env &e) {
             auto aggregation = std::make_shared<THyouteiShukeiForm>(e.platform, gradeInputs(e.f));
             Opened o;
             o.window.reset(new TPrintHyoutei2Form(aggregation->store(), kCaption, e.platform, e.target));
             o.keep = aggregation;
             return o;
         }},
        {"grade-transfers",
         [](Env &e) {
             auto aggregation = std::make_shared<THyouteiShukeiForm>(e.platform, gradeInputs(e.f));
             Opened o;
             o.window.reset(new TTransferShukeiForm(aggregation->store(), kCaption, e.platform));
             o.keep = aggregation;
             return o;
         }},
        {"spreadsheet",
         [](Env &e) {
             const ExcelCopyContext c{kCaption, e.f.dataFolder(),       GuiFixture::kNendo, 1, true, 1,
                                      1,        QStringLiteral("1学期")};
             return only(new TexcelcopyForm(c, e.platform));
         }},
        {"conference",
         [](Env &e) {
             KondanContext c;
             c.mainCaption = kCaption;
             c.dataFolder = e.f.dataFolder();
             c.nendo = GuiFixture::kNendo;
             c.grade = 1;
             c.period = 1;
             c.periodCaption = QStringLiteral("1学期");
             c.schoolName = QStringLiteral("市立さくら台中学校");
             return only(new TKondanForm1(c, e.platform, e.target));
         }},
    };
    return list;
}

bool wanted(const QString &name) {
    const QString filter = qEnvironmentVariable("TAVRO_MONKEY_WINDOWS");
    if (filter.isEmpty())
        return true;
    for (const QString &part : filter.split(u',', Qt::SkipEmptyParts))
        if (name.contains(part.trimmed()))
            return true;
    return false;
}

// Sends random input to the active window from a timer chain, so it keeps going inside the event
// loops of modal windows, and closes modal windows after a few events.
class Monkey {
public:
    Monkey(QRandomGenerator &random, test::MemoryClipboard &clipboard)
        : m_random(random), m_clipboard(clipboard) {}

    int events = 0;
    int modalsClosed = 0;

    // Runs until `deadline`; `reopen` gives the window again once it has closed.
    void run(QDeadlineTimer deadline, const std::function<QWidget *()> &reopen) {
        m_deadline = deadline;
        m_reopen = reopen;
        m_window = reopen();
        QEventLoop loop;
        m_loop = &loop;
        QTimer::singleShot(0, [this] { step(); });
        loop.exec();
        m_loop = nullptr;
    }

private:
    int pick(int n) { return n <= 0 ? 0 : int(m_random.bounded(n)); }

    // The widget receiving input now: an open menu, the modal window, or the window under test.
    QWidget *activeTop() {
        if (QWidget *popup = QApplication::activePopupWidget())
            return popup;
        if (QWidget *modal = QApplication::activeModalWidget())
            return modal;
        return m_window;
    }

    bool closeModal() {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            popup->close();
            return true;
        }
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == m_window)
            return false;
        ++modalsClosed;
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
        return true;
    }

    void step() {
        if (m_deadline.hasExpired()) {
            // Unwind every modal window; the outer loop ends once none is left.
            if (closeModal() || m_depth > 0) {
                QTimer::singleShot(1, [this] { step(); });
                return;
            }
            m_loop->quit();
            return;
        }
        // The next event is due even while this one runs a modal window's loop.
        QTimer::singleShot(0, [this] { step(); });
        QWidget *top = activeTop();
        if (top != m_lastTop) {
            m_lastTop = top;
            m_eventsInTop = 0;
        }
        if (top != m_window && ++m_eventsInTop > 5 + pick(40)) {
            closeModal();
            return;
        }
        if (!m_window || !m_window->isVisible()) {
            if (QApplication::activeModalWidget() && QApplication::activeModalWidget() != m_window.data()) {
                closeModal();
                return;
            }
            // Only from the outer loop: no handler of the old window is running any more.
            if (m_depth == 0)
                m_window = m_reopen();
            return;
        }
        if (!top || !top->isVisible())
            return;
        ++events;
        ++m_depth;
        act(top);
        --m_depth;
    }

    QWidget *randomChild(QWidget *top) {
        QList<QWidget *> visible{top};
        const QList<QWidget *> all = top->findChildren<QWidget *>();
        for (QWidget *w : all)
            if (w->isVisible() && w->isEnabled() && !w->size().isEmpty())
                visible.append(w);
        return visible.at(pick(int(visible.size())));
    }

    QPoint randomPoint(const QWidget *w) { return QPoint(pick(w->width()), pick(w->height())); }

    void key(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             const QString &text = QString()) {
        QPointer<QWidget> guard(target);
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(target, &press);
        if (!guard)
            return;
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(target, &release);
    }

    void act(QWidget *top) {
        QWidget *focus = QApplication::focusWidget();
        if (!focus || (focus != top && !top->isAncestorOf(focus)))
            focus = top;
        static const Qt::Key keys[] = {
            Qt::Key_Tab,  Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Delete, Qt::Key_Backspace,
            Qt::Key_Left, Qt::Key_Right,   Qt::Key_Up,     Qt::Key_Down,  Qt::Key_PageUp, Qt::Key_PageDown,
            Qt::Key_Home, Qt::Key_End,     Qt::Key_Escape, Qt::Key_Space, Qt::Key_F2,     Qt::Key_Insert,
            Qt::Key_F1,   Qt::Key_F5,      Qt::Key_Menu,
        };
        switch (pick(16)) {
        case 0:
        case 1:
        case 2: { // a named key, now and then with Shift or Ctrl
            const Qt::Key k = keys[pick(int(std::size(keys)))];
            const int m = pick(6);
            key(focus, k, m == 0 ? Qt::ShiftModifier : m == 1 ? Qt::ControlModifier : Qt::NoModifier);
            break;
        }
        case 3:
        case 4: { // digits and letters as typed
            const QString text = randomText(m_random).left(pick(3) ? 4 : 64);
            for (const QChar c : text) {
                if (!focus)
                    break;
                key(focus, Qt::Key_unknown, Qt::NoModifier, QString(c));
            }
            break;
        }
        case 5: { // Japanese through the input method
            QInputMethodEvent preedit(QStringLiteral("あ"), {});
            QPointer<QWidget> guard(focus);
            QApplication::sendEvent(focus, &preedit);
            if (!guard)
                break;
            QInputMethodEvent commit;
            commit.setCommitString(randomText(m_random).left(200));
            QApplication::sendEvent(focus, &commit);
            break;
        }
        case 6: { // the edit shortcuts
            static const Qt::Key edits[] = {Qt::Key_C, Qt::Key_V, Qt::Key_X, Qt::Key_Z, Qt::Key_Y, Qt::Key_A};
            key(focus, edits[pick(int(std::size(edits)))], Qt::ControlModifier);
            break;
        }
        case 7: { // a paste of random clipboard text
            const QString text = randomText(m_random);
            m_clipboard.setText(text);
            QApplication::clipboard()->setText(text);
            key(focus, Qt::Key_V, Qt::ControlModifier);
            break;
        }
        case 8:
        case 9:
        case 10:
        case 11: { // a click, now and then a double or right click
            QWidget *target = randomChild(top);
            const QPoint at = randomPoint(target);
            const int how = pick(8);
            if (how == 0)
                QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, at);
            else if (how == 1)
                QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, at);
            else
                QTest::mouseClick(target, Qt::LeftButton, pick(10) ? Qt::NoModifier : Qt::ShiftModifier, at);
            break;
        }
        case 12: { // a button, as a user would press one
            const QList<QAbstractButton *> buttons = top->findChildren<QAbstractButton *>();
            QList<QAbstractButton *> usable;
            for (QAbstractButton *b : buttons)
                if (b->isVisible() && b->isEnabled())
                    usable.append(b);
            if (!usable.isEmpty())
                usable.at(pick(int(usable.size())))->click();
            break;
        }
        case 13: { // a wheel step
            QWidget *target = randomChild(top);
            const QPoint at = randomPoint(target);
            QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, pick(2) ? 120 : -120),
                              Qt::NoButton, pick(5) ? Qt::NoModifier : Qt::ControlModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(target, &wheel);
            break;
        }
        case 14: // a menu entry of an open menu
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                const QList<QAction *> actions = menu->actions();
                if (!actions.isEmpty()) {
                    QAction *a = actions.at(pick(int(actions.size())));
                    menu->close();
                    if (a->isEnabled())
                        a->trigger();
                }
            } else {
                key(focus, Qt::Key_Tab);
            }
            break;
        default: // focus somewhere else
            if (QWidget *w = randomChild(top); w->focusPolicy() != Qt::NoFocus)
                w->setFocus(Qt::OtherFocusReason);
            break;
        }
    }

    QRandomGenerator &m_random;
    test::MemoryClipboard &m_clipboard;
    QDeadlineTimer m_deadline;
    std::function<QWidget *()> m_reopen;
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_lastTop;
    int m_eventsInTop = 0;
    int m_depth = 0; // events running (a modal window's loop inside one)
    QEventLoop *m_loop = nullptr;
};

QtMessageHandler g_testHandler = nullptr;

// The offscreen platform's notes on what it cannot do come with nearly every window; they would use up
// the test's warnings and hide the run's own lines.
void dropPlatformNotes(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (type == QtWarningMsg &&
        (text.startsWith(QLatin1String("This plugin does not support")) ||
         text.startsWith(QLatin1String("QPageSetupDialog: Cannot be used on non-native printers"))))
        return;
    if (g_testHandler)
        g_testHandler(type, context, text);
}

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { g_testHandler = qInstallMessageHandler(dropPlatformNotes); }
    void cleanupTestCase() { qInstallMessageHandler(g_testHandler); }

    void window_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < windows().size(); ++i)
            if (wanted(windows().at(i).first))
                QTest::newRow(qPrintable(windows().at(i).first)) << i;
    }

    // Random input on one window for the given seconds; every data file still reads afterwards.
    void window() {
        QFETCH(int, index);
        const QString name = windows().at(index).first;
        const quint32 seed = quint32(envInt("TAVRO_MONKEY_SEED", 1));
        const int seconds = envInt("TAVRO_MONKEY_SECONDS", 2);
        qInfo("monkey: window %s seed %u seconds %d", qPrintable(name), seed, seconds);

        GuiFixture f;
        QVERIFY(f.writeDemoSchool());
        QString error;
        QVERIFY2(demo::calculateFirstPeriod(f.dataFolder(), GuiFixture::kNendo, f.doubles.clock, &error),
                 qPrintable(error));
        QVERIFY2(demo::writeGradeResults(f.dataFolder(), GuiFixture::kNendo, f.doubles.clock, &error),
                 qPrintable(error));
        QTemporaryDir prints;
        QVERIFY(prints.isValid());

        QRandomGenerator random(seed ^ qHash(name));
        RandomPrompter prompter(random);
        Platform platform = f.platform();
        platform.prompter = &prompter;
        PdfPrintTarget target(prints.filePath(QStringLiteral("print.pdf")), 150);
        Env env{f, platform, &target};

        Opened current;
        int opened = 0;
        Monkey monkey(random, f.doubles.clipboard);
        monkey.run(QDeadlineTimer(qint64(seconds) * 1000), [&]() -> QWidget * {
            // Closing the window may ask; from here on the answers come from the same random stream.
            current = Opened();
            current = windows().at(index).second(env);
            ++opened;
            current.window->resize(1024, 768);
            current.window->show();
            current.window->activateWindow();
            return current.window.get();
        });
        prompter.defaults = true;
        if (current.window)
            current.window->close();
        current = Opened();
        qInfo("monkey: %d events, %d questions, %d modal windows closed, opened %d times", monkey.events,
              prompter.asked, monkey.modalsClosed, opened);

        const std::vector<CheckedFile> files = checkDataFolder(f.dataFolder(), GuiFixture::kNendo);
        QVERIFY(!files.empty());
        QStringList damaged;
        for (const CheckedFile &file : files)
            if (!file.report.isClean())
                damaged.append(file.path + QStringLiteral(": ") + file.report.problems().join(u','));
        const QString keep = qEnvironmentVariable("TAVRO_MONKEY_KEEP");
        if (!damaged.isEmpty() && !keep.isEmpty()) {
            const QString target = QDir(keep).filePath(name);
            QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), f.dataFolder(), target});
            qInfo("monkey: the data folder is kept in %s", qPrintable(target));
        }
        QVERIFY2(damaged.isEmpty(), qPrintable(damaged.join(u'\n')));
    }
};

QTEST_MAIN(MonkeyTest)
#include "MonkeyTest.moc"
