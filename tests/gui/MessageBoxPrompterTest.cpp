#include "app/SharedLock.h"
#include "platform/qt/ui/QtWidgetPorts.h"
#include "support/gui/GuiFixture.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace tavro;
using namespace tavro::test;

class MessageBoxPrompterTest : public QObject {
    Q_OBJECT
private slots:
    // The lock question keeps each of its lines whole: the box is as wide as its longest line.
    void boxSizesToItsLines() {
        MessageBoxPrompter prompter(nullptr);
        const QString text = SharedLock::inUseMessage();
        int wrapped = -1;
        int narrowest = 0;
        int longest = 0;
        whenShown<QMessageBox>([&](QMessageBox *box) {
            auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label);
            const QFontMetrics metrics(label->font());
            for (QString line : text.split(u'\n')) {
                line.remove(u'\r');
                longest = std::max(longest, metrics.horizontalAdvance(line));
            }
            narrowest = label->width();
            // A label wrapping its text is taller than its lines at one line each.
            wrapped = label->height() > metrics.lineSpacing() * int(text.count(u'\n') + 1) + 4 ? 1 : 0;
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(prompter.ask(QStringLiteral("TAVRO"), text, Prompter::Buttons::YesNo, Prompter::Answer::Yes,
                              Prompter::Icon::Question),
                 Prompter::Answer::No);
        QVERIFY2(narrowest >= longest, qPrintable(QStringLiteral("%1 < %2").arg(narrowest).arg(longest)));
        QCOMPARE(wrapped, 0);
    }
};

QTEST_MAIN(MessageBoxPrompterTest)
#include "MessageBoxPrompterTest.moc"
