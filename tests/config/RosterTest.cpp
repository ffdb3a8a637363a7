#include "config/Roster.h"
#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

namespace {
// Writes a roster whose slots hold the given names (slot -> name).
void writeRoster(const QString &folder, int nendo, int grade, const QMap<int, QString> &names) {
    std::vector<RosterEntry> entries(names.isEmpty() ? 0 : names.lastKey() + 1);
    for (auto it = names.begin(); it != names.end(); ++it)
        entries[it.key()].name = it.value();
    paths::ensureYearFolder(folder, nendo);
    QString error;
    QVERIFY2(roster::write(paths::rosterFile(folder, nendo, grade), entries, true, &error),
             qPrintable(error));
}
} // namespace

class RosterTest : public QObject {
    Q_OBJECT
private slots:
    void readerIsDefensive();
    void writerFormat();
    void historyMatchesIgnoringSpaces();
    void furigana();
};

void RosterTest::readerIsDefensive() {
    QTemporaryDir tmp;
    const std::vector<QString> none = roster::readNames(tmp.path(), 2024, 1);
    QCOMPARE(none.size(), size_t(720));
    QVERIFY(none[0].isEmpty());
    QVERIFY(roster::readEntries(tmp.filePath("missing.tvp")).empty());

    const QByteArray bytes = cp932::encodeLossy(" 1\t 1\t山田\tやまだ\t\t101\t\r\n"
                                                " 1\t 2\n" // too few fields, LF only
                                                "garbage\r\n"
                                                " 1\t 4\t鈴木") + // no final TAB or line end
                             QByteArray("\r\n\x82\t\x81\t\xff\x82\xa0\t\x82");
    const std::vector<QString> names = roster::parseNames(bytes);
    QCOMPARE(names[0], QString("山田"));
    QVERIFY(names[1].isEmpty() && names[2].isEmpty());
    QCOMPARE(names[3], QString("鈴木"));
    QCOMPARE(names[4], QString(QChar::ReplacementCharacter) + "あ");

    const std::vector<RosterEntry> entries = roster::parseEntries(bytes, 2);
    QCOMPARE(entries.size(), size_t(2));
    QCOMPARE(entries[0].furigana, QString("やまだ"));
    QCOMPARE(entries[0].history[1], QString("101"));

    // More than 720 lines: the rest is not read.
    QByteArray many;
    for (int i = 0; i < 800; ++i)
        many += " 1\t 1\tx\t\t\t\t\t\t\t\t\r\n";
    QCOMPARE(roster::parseEntries(many, 9999).size(), size_t(720));
}

void RosterTest::writerFormat() {
    std::vector<RosterEntry> entries(62);
    entries[0].name = "山田　太郎";
    entries[0].furigana = "やまだ";
    entries[0].history[0] = "305";
    entries[61].name = "a\tb";
    QByteArray bytes;
    QVERIFY(roster::serialize(entries, false, bytes));
    const QList<QByteArray> lines = bytes.split('\n');
    QCOMPARE(lines.size(), 63);
    QCOMPARE(lines[0], cp932::encodeLossy(" A\t 1\t山田　太郎\tやまだ\t305\t\t\t\t\t\t\r"));
    QCOMPARE(lines[61], QByteArray(" B\t 2\ta b\t\t\t\t\t\t\t\t\r"));

    QTemporaryDir tmp;
    const QString path = tmp.filePath("2024NA1.tvp");
    QVERIFY(roster::write(path, entries, true));
    const std::vector<RosterEntry> back = roster::readEntries(path);
    QCOMPARE(back.size(), size_t(62));
    QCOMPARE(back[0].name, entries[0].name);

    entries[61].furigana = QString::fromUtf8("😀");
    QString error;
    QVERIFY(!roster::write(path, entries, true, &error));
    QVERIFY(error.contains("2組2番"));
    QCOMPARE(roster::readEntries(path).size(), size_t(62)); // old file kept
}

void RosterTest::historyMatchesIgnoringSpaces() {
    QTemporaryDir tmp;
    const QString data = tmp.path();
    // Grade 2 in 2023: 山田 sits at class 3 position 5 and, later in the file, class 12 position 1.
    writeRoster(data, 2023, 2, {{124, "山田 太郎"}, {200, "鈴木花子"}, {660, "＊山田太郎"}});
    // Grade 1 in 2022.
    writeRoster(data, 2022, 1, {{4, "山田太郎"}});

    std::vector<RosterEntry> entries(70);
    entries[0].name = "山田　太郎";
    entries[0].history[0] = "old";
    entries[1].name = "佐藤";
    entries[65].name = "鈴木 花子";
    QStringList progress;
    QVERIFY(roster::buildHistory(entries, data, 2024, 3, [&](const QString &t) { progress << t; }));
    QCOMPARE(entries[0].history[1], QString("1201")); // last match wins
    QCOMPARE(entries[0].history[0], QString("105"));
    QCOMPARE(entries[65].history[1], QString("421"));
    QVERIFY(entries[1].history[1].isEmpty()); // no match: nothing written
    QCOMPARE(progress.size(), 6);             // three names, two old files
    QCOMPARE(progress.first(), QString("2023年度2年生のファイルを処理中... ■□□□□□□□□□□□"));
    QCOMPARE(progress.at(2), QString("2023年度2年生のファイルを処理中... ■■□□□□□□□□□□"));
    // Grade 1 has no earlier grades; a missing old roster is not found either.
    QVERIFY(!roster::buildHistory(entries, data, 2024, 1));
    QVERIFY(!roster::buildHistory(entries, data, 2030, 2));
    QCOMPARE(roster::historyProgressText(2022, 1, 720),
             QString("2022年度1年生のファイルを処理中... ■■■■■■■■■■■■"));
}

void RosterTest::furigana() {
    QCOMPARE(roster::furiganaToHiragana("ﾔﾏﾀﾞ ﾀﾛｳ"), QString("やまだ たろう"));
    QCOMPARE(roster::furiganaToHiragana("ガッコウ ﾊﾟﾝ"), QString("がっこう ぱん"));
    // ゔ has no code page 932 form: ヴ stays so the roster can be saved.
    QCOMPARE(roster::furiganaToHiragana("ｳﾞｧｲｵﾘﾝ"), QString("ヴぁいおりん"));
}

QTEST_GUILESS_MAIN(RosterTest)
#include "RosterTest.moc"
