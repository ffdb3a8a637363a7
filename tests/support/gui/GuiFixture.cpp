#include "support/gui/GuiFixture.h"

#include "app/DemoSchool.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

namespace tavro::test {

GuiFixture::GuiFixture() : m_dataFolder(paths::withTrailingSeparator(m_dir.path())) {}

bool GuiFixture::writeDemoSchool() {
    QString error;
    if (!DemoSchool::write(m_dataFolder, kNendo, &error)) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    return true;
}

MainSettings GuiFixture::sampleMainSettings() {
    MainSettings s;
    s.schoolName = QStringLiteral("みどり市立みどり中学校");
    s.classType = true;
    s.schoolKind = 1;
    return s;
}

YearSettings GuiFixture::sampleYearSettings() {
    YearSettings y;
    y.testName = {QStringLiteral("1学期中間テスト"), QStringLiteral("1学期期末テスト"),
                  QStringLiteral("2学期中間テスト"), QStringLiteral("2学期期末テスト"),
                  QStringLiteral("学年末テスト")};
    for (int n = 1; n <= 9; ++n)
        y.gakuNameName[n - 1] = YearSettings::defaultGakuNameName(n);
    y.hyouteiName = {QStringLiteral("1学期評定"), QStringLiteral("2学期評定"), QStringLiteral("3学期評定"),
                     QStringLiteral("学年評定"), QStringLiteral("中間評定")};
    y.classCount = {5, 5, 4, 0, 0, 0};
    y.teikiTest = {true, true, false, false, false};
    y.gakuTest[0] = true;
    return y;
}

QStringList GuiFixture::sampleElectives() {
    return {QStringLiteral("3年選択英語G"), QStringLiteral("1年選択国語A"), QStringLiteral("3年選択数学"),
            QStringLiteral("2年選択音楽")};
}

bool GuiFixture::writeMainSettings(const MainSettings &settings) {
    return settings.save(m_dataFolder);
}

bool GuiFixture::writeYearSettings(const YearSettings &settings, int nendo) {
    return settings.save(m_dataFolder, nendo);
}

bool GuiFixture::writeElectives(const QStringList &lines, int nendo) {
    paths::ensureYearFolder(m_dataFolder, nendo);
    return writeTextLines(paths::sentakuFile(m_dataFolder, nendo), lines);
}

bool GuiFixture::writeRoster(int grade, const std::vector<RosterEntry> &entries, int nendo) {
    paths::ensureYearFolder(m_dataFolder, nendo);
    return roster::write(paths::rosterFile(m_dataFolder, nendo, grade), entries, true);
}

bool GuiFixture::writeSampleSchool() {
    std::vector<RosterEntry> entries(3);
    entries[0].name = QStringLiteral("青木　一郎");
    entries[0].furigana = QStringLiteral("あおき　いちろう");
    entries[1].name = QStringLiteral("石田　花子");
    entries[1].furigana = QStringLiteral("いしだ　はなこ");
    entries[2].name = QStringLiteral("＊上野　次郎");
    return writeMainSettings(sampleMainSettings()) && writeYearSettings(sampleYearSettings()) &&
           writeElectives(sampleElectives()) && writeRoster(1, entries);
}

WorkingContext GuiFixture::context() const {
    WorkingContext c;
    c.dataFolder = m_dataFolder;
    c.thisNendo = schoolYearOf(doubles.clock.now().date());
    c.nendo = c.thisNendo;
    return c;
}

QString GuiFixture::lastMessage() const {
    const auto &shown = doubles.prompter.shown();
    return shown.isEmpty() ? QString() : shown.last().text;
}

void GuiFixture::typeText(QWidget *widget, const QString &text) {
    for (const uint code : text.toUcs4()) {
        const QString character = QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, character);
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

bool GuiFixture::showAt(QWidget *window, const QSize &size) {
    window->resize(size);
    window->show();
    return QTest::qWaitForWindowExposed(window);
}

} // namespace tavro::test
