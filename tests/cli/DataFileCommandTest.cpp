#include "common/ByteRecords.h"
#include "common/FileSave.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include "support/CliRun.h"

using namespace tavro;

namespace {

using Run = tavro::test::CliRun;
using tavro::test::cli;

QByteArray header(const char *version = "500") {
    return QByteArray("TAVRO_") + version + QByteArray("\r\n", 2) + '\0';
}

void text(ByteWriter &w, const QByteArray &bytes) {
    w.writeInt32(std::int32_t(bytes.size() + 1));
    w.writeBytes(bytes);
    w.writeUInt8(0);
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray contents(const QString &path) {
    QByteArray bytes;
    readWholeFile(path, bytes);
    return bytes;
}

QJsonObject json(const char *text) {
    return QJsonDocument::fromJson(QByteArray(text)).object();
}

} // namespace

class DataFileCommandTest : public QObject {
    Q_OBJECT
private slots:
    void dumpAndLoad_data();
    void dumpAndLoad();
    void loadRefusesBadInput();
    void checkFindsDamage();

private:
    QTemporaryDir m_dir;
};

// Files written here byte by byte, without the program's writers.
void DataFileCommandTest::dumpAndLoad_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QJsonObject>("expected");

    ByteWriter w;
    w.writeBytes(header());
    w.writeInt32(3), text(w, "\x8f\xac\x83\x65\x83\x58\x83\x67"), w.writeInt32(0); // 小テスト
    w.writeInt32(3), w.writeInt32(2), w.writeInt32(0);
    w.writeInt32(3), w.writeInt32(120), w.writeInt32(0);
    w.writeInt32(9), text(w, "1,3"), w.writeInt32(0);
    w.writeInt32(3), w.writeUInt8(1), w.writeInt32(0);
    w.writeInt32(3), w.writeInt32(40), w.writeInt32(0);
    for (int v : {3, 2, 2, 7, 0, 1, 2, 50, 0, 3, 1, 1, 35, 3, 1, 2, -2, 9, 12, 60, -1017, 0})
        w.writeInt32(v);
    QTest::newRow("worksheet") << QStringLiteral("山田/20241国語.dat") << w.bytes()
                               << json(R"({"kind":"worksheet","version":500,
        "items":[{"item":3,"name":"小テスト","kind":2,"link":120,"formula":"","protected":1,"fullScore":40},
                 {"item":9,"name":"","kind":0,"link":0,"formula":"1,3","protected":0,"fullScore":0}],
        "itemRatios":[{"item":3,"period":2,"viewpoint":2,"ratio":7}],
        "viewpointRatios":[{"period":1,"viewpoint":2,"ratio":50}],
        "scores":[{"item":3,"class":1,"number":1,"score":35},{"item":3,"class":1,"number":2,"score":-2},
                  {"item":9,"class":12,"number":60,"score":-1017}]})");

    ByteWriter c;
    c.writeBytes(header());
    c.writeInt32(1), c.writeInt32(4), text(c, "5"), c.writeInt32(0);
    c.writeInt32(1), c.writeInt32(4), c.writeSingle(0.1f), c.writeInt32(0);
    c.writeInt32(2), c.writeInt32(60), c.writeInt32(6), text(c, "\x82\x60"), c.writeInt32(0); // Ａ
    c.writeInt32(1), c.writeInt32(4), c.writeInt32(1), c.writeSingle(87.33333f), c.writeInt32(0);
    c.writeInt32(5), c.writeInt32(1), text(c, "\x88\xea\x90\xb6\x8c\x9c\x96\xbd"),
        c.writeInt32(0); // 一生懸命
    for (int k = 1; k <= 5; ++k)
        c.writeInt32(k), c.writeDouble(k == 1 ? 45455.395833333336 : 0.0);
    c.writeInt32(0);
    QTest::newRow("class-result") << QStringLiteral("2024/Hyoutei/103国語.dat") << c.bytes()
                                  << json(R"({"kind":"class-result","version":500,
        "evaluations":[{"period":1,"number":4,"text":"5"}],
        "percentages":[{"period":1,"number":4,"value":0.1}],
        "marks":[{"period":2,"number":60,"viewpoint":6,"text":"Ａ"}],
        "viewpointPercentages":[{"period":1,"number":4,"viewpoint":1,"value":87.33333}],
        "comments":[{"period":5,"number":1,"text":"一生懸命"}],
        "dateTimes":[45455.395833333336,0,0,0,0]})");

    ByteWriter e;
    e.writeBytes(header());
    for (int k = 1; k <= 5; ++k) {
        e.writeInt32(k), e.writeInt32(2), e.writeInt32(7);
        e.writeInt32(0), e.writeSingle(k == 1 ? 66.5f : -1.0f);
        e.writeUInt8(k == 1 ? 2 : 0), e.writeFixed(k == 1 ? QByteArray("\x82\x54") : QByteArray(), 7); // ５
        for (int v = 0; v < 6; ++v)
            e.writeSingle(k == 1 && v == 0 ? 70.0f : -1.0f);
        for (int v = 0; v < 6; ++v)
            e.writeUInt8(k == 1 && v == 0 ? 1 : 0), e.writeFixed(k == 1 && v == 0 ? "A" : "", 5);
    }
    e.writeInt32(0);
    e.writeInt32(2), e.writeInt32(2), e.writeInt32(7), text(e, "ok"), e.writeInt32(0);
    for (int k = 1; k <= 5; ++k)
        e.writeInt32(k), e.writeDouble(k == 1 ? 45000.5 : 0.0);
    e.writeInt32(0);
    QTest::newRow("elective-result") << QStringLiteral("2024/Sentaku/1選択英語.dat") << e.bytes()
                                     << json(R"({"kind":"elective-result","version":500,"records":[
        {"period":1,"class":2,"number":7,"percentage":66.5,"evaluation":"５","viewpointPercentages":[70,-1,-1,-1,-1,-1],"marks":["A","","","","",""]},
        {"period":2,"class":2,"number":7,"percentage":-1,"evaluation":"","viewpointPercentages":[-1,-1,-1,-1,-1,-1],"marks":["","","","","",""]},
        {"period":3,"class":2,"number":7,"percentage":-1,"evaluation":"","viewpointPercentages":[-1,-1,-1,-1,-1,-1],"marks":["","","","","",""]},
        {"period":4,"class":2,"number":7,"percentage":-1,"evaluation":"","viewpointPercentages":[-1,-1,-1,-1,-1,-1],"marks":["","","","","",""]},
        {"period":5,"class":2,"number":7,"percentage":-1,"evaluation":"","viewpointPercentages":[-1,-1,-1,-1,-1,-1],"marks":["","","","","",""]}],
        "comments":[{"period":2,"class":2,"number":7,"text":"ok"}],"dateTimes":[45000.5,0,0,0,0]})");

    ByteWriter t;
    t.writeBytes(header());
    QJsonArray records;
    for (int n = 1; n <= 60; ++n) {
        QJsonArray r;
        for (int f = 0; f < 7; ++f) {
            const int v = n == 1              ? (f == 0   ? 90
                                                 : f <= 3 ? 30
                                                          : -1)
                          : n == 31           ? -2
                          : n == 60 && f == 6 ? 9
                                              : -1;
            t.writeInt32(v);
            r.append(v);
        }
        records.append(r);
    }
    QTest::newRow("test-scores") << QStringLiteral("2024/Test/A103国語.dat") << t.bytes()
                                 << QJsonObject{{"kind", "test-scores"}, {"records", records}};

    ByteWriter f;
    for (int v : {100, 40, 40, 20, 0, 0, 0})
        f.writeInt32(v);
    QTest::newRow("full-scores") << QStringLiteral("2024/Test/A100国語.def") << f.bytes()
                                 << json(R"({"kind":"full-scores","values":[100,40,40,20,0,0,0]})");
}

void DataFileCommandTest::dumpAndLoad() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QJsonObject, expected);
    const QString path = m_dir.filePath(QStringLiteral("dump/") + name);
    writeFile(path, bytes);
    const Run dump = cli({QStringLiteral("dump"), path});
    QCOMPARE(dump.status, 0);
    QVERIFY2(dump.err.isEmpty(), qPrintable(dump.err));
    const QJsonObject got = QJsonDocument::fromJson(dump.bytes).object();
    if (got != expected)
        qWarning("%s", dump.bytes.constData());
    QCOMPARE(got, expected);

    const QString jsonPath = m_dir.filePath(QStringLiteral("dump.json"));
    writeFile(jsonPath, dump.bytes);
    const QString target = m_dir.filePath(QStringLiteral("load/") + name);
    QVERIFY(QDir().mkpath(QFileInfo(target).path()));
    const Run load = cli({QStringLiteral("load"), jsonPath, target});
    QVERIFY2(load.status == 0, qPrintable(load.err));
    QCOMPARE(contents(target).toHex(' '), bytes.toHex(' '));
}

void DataFileCommandTest::loadRefusesBadInput() {
    const QString target = m_dir.filePath(QStringLiteral("refused.dat"));
    const QString jsonPath = m_dir.filePath(QStringLiteral("bad.json"));
    const QList<QPair<QByteArray, QString>> cases{
        {"{\"kind\":\"worksheet\",", QStringLiteral("JSON を読めません")},
        {"{\"kind\":\"roster\"}", QStringLiteral("kind")},
        {R"({"kind":"worksheet","scores":[{"item":1,"class":13,"number":1,"score":5}]})",
         QStringLiteral("scores[0].class")},
        {R"({"kind":"worksheet","scores":[{"item":1,"class":1,"number":1,"score":-7}]})",
         QStringLiteral("scores[0].score")},
        {R"({"kind":"worksheet","version":600})", QStringLiteral("version")},
        {R"({"kind":"class-result","comments":[{"period":1,"number":1,"text":"😀"}]})",
         QStringLiteral("comments[0].text")},
        {R"({"kind":"elective-result","records":[{"period":1,"class":1,"number":1,"percentage":1,"evaluation":"123456","viewpointPercentages":[1,1,1,1,1,1],"marks":["","","","","",""]}]})",
         QStringLiteral("records[0].evaluation")},
        {R"({"kind":"full-scores","values":[100,40,40,20,0,0]})", QStringLiteral("values")},
        // A zero character would end the text in the file and lose what follows it.
        {R"({"kind":"class-result","evaluations":[{"period":1,"number":1,"text":"A\u0000B"}]})",
         QStringLiteral("evaluations[0].text")},
        {R"({"kind":"worksheet","items":[{"item":1,"name":"\u0000","kind":1}]})",
         QStringLiteral("items[0].name")},
    };
    for (const auto &[text, where] : cases) {
        writeFile(jsonPath, text);
        const Run r = cli({QStringLiteral("load"), jsonPath, target});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(where), qPrintable(r.err));
        QVERIFY(!QFile::exists(target));
    }
}

void DataFileCommandTest::checkFindsDamage() {
    const QString folder = m_dir.filePath(QStringLiteral("school"));
    QCOMPARE(cli({QStringLiteral("demo"), folder, QStringLiteral("--year"), QStringLiteral("2024")}).status,
             0);
    Run r = cli({QStringLiteral("check"), QStringLiteral("--data"), folder, QStringLiteral("--year"),
                 QStringLiteral("2024")});
    QVERIFY2(r.status == 0, r.bytes.constData());

    const QString scores = folder + QStringLiteral("/2024/Test/B203数学.dat");
    QByteArray bytes = contents(scores);
    QCOMPARE(bytes.size(), 1692);
    writeFile(scores, bytes.left(1000));
    const QString worksheet = folder + QStringLiteral("/内田健二/20242国語.dat");
    bytes = contents(worksheet);
    QVERIFY(bytes.size() > 48);
    bytes.replace(0, 12, header("600"));
    writeFile(worksheet, bytes);

    r = cli({QStringLiteral("check"), QStringLiteral("--data"), folder, QStringLiteral("--year"),
             QStringLiteral("2024")});
    QCOMPARE(r.status, 1);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines[0].contains(QStringLiteral("B203数学.dat")) &&
                 lines[0].contains(QStringLiteral("途中で切れています")),
             qPrintable(lines[0]));
    QVERIFY2(lines[1].contains(QStringLiteral("20242国語.dat")) && lines[1].contains(QStringLiteral("600")),
             qPrintable(lines[1]));
    QVERIFY(lines[2].contains(QStringLiteral("問題のあるファイル: 2")));

    const Run dump = cli({QStringLiteral("dump"), worksheet});
    QCOMPARE(dump.status, 1);
    QVERIFY(dump.err.contains(QStringLiteral("バージョン600")));
    const Run shortDump = cli({QStringLiteral("dump"), scores});
    QCOMPARE(shortDump.status, 0);
    QVERIFY(shortDump.err.contains(QStringLiteral("途中で切れています")));
}

QTEST_GUILESS_MAIN(DataFileCommandTest)
#include "DataFileCommandTest.moc"
