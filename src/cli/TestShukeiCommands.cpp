// tavro-cli clip test-grid / test-viewpoints / test-means, stats and status: the test aggregation and
// the input-status views over the same core as their windows.
#include "app/Startup.h"
#include "cli/CliSupport.h"
#include "common/DataFile.h"
#include "common/DataPaths.h"
#include "evaluation/EvaluationInputStatus.h"
#include "testscores/InputStatus.h"
#include "testscores/TestAggregation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <charconv>

namespace tavro::cli {

namespace {

const QString kTestSynopsis = QStringLiteral("--data DIR [--year N] --grade G --test CODE");

struct TestOptions {
    QCommandLineOption data = dataOption();
    QCommandLineOption year = yearOption();
    QCommandLineOption grade = gradeOption();
    QCommandLineOption test{QStringLiteral("test"), QStringLiteral("テストのコード (A..E, 1..9)"),
                            QStringLiteral("CODE")};
};

bool readGrade(const QCommandLineParser &parser, const QCommandLineOption &option, int &grade, int &status) {
    bool ok = false;
    grade = parser.value(option).toInt(&ok);
    if (!parser.isSet(option) || !ok || grade < 1 || grade > 6) {
        status = usage(QStringLiteral("--grade には 1..6 を指定してください。"));
        return false;
    }
    return true;
}

// The test name of a code from the year settings ("A".. periodic, "1".. achievement tests).
bool testNameOf(const QString &folder, int year, const QString &code, QString &name) {
    const YearMenus menus = YearMenus::load(paths::withTrailingSeparator(folder), year);
    for (const QList<YearMenus::TestKind> *kinds : {&menus.testKinds, &menus.gakuTestKinds})
        for (const YearMenus::TestKind &kind : *kinds)
            if (kind.code == code) {
                name = kind.name;
                return true;
            }
    return false;
}

// Parses the options of a test command and loads the aggregation.
bool loadTest(const QStringList &args, QCommandLineParser &parser, TestAggregation &aggregation,
              int &status) {
    TestOptions o;
    parser.addOptions({o.data, o.year, o.grade, o.test});
    if (!parse(parser, args, status))
        return false;
    if (!parser.positionalArguments().isEmpty()) {
        status = usage(QStringLiteral("余分な引数があります: %1")
                           .arg(parser.positionalArguments().join(QLatin1Char(' '))));
        return false;
    }
    int year = 0, grade = 0;
    QString folder;
    if (!readYear(parser, o.year, year, status) || !readDataFolder(parser, o.data, folder, status) ||
        !readGrade(parser, o.grade, grade, status))
        return false;
    TestAggregation::Context context;
    context.nendo = year;
    context.grade = grade;
    context.testCode = parser.value(o.test);
    if (!testNameOf(folder, year, context.testCode, context.testName)) {
        status = userError(QStringLiteral("テストのコードがありません: %1").arg(context.testCode));
        return false;
    }
    folder = paths::withTrailingSeparator(folder);
    context.classType = MainSettings::load(folder).classType;
    aggregation = TestAggregation::load(folder, context);
    if (!aggregation.damagedFiles().isEmpty())
        err() << aggregation.damagedFilesMessage().replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
              << '\n';
    return true;
}

template <QString (TestAggregation::*text)() const> int runClip(const QStringList &args) {
    QCommandLineParser parser;
    parser.addOption(sjisOption());
    TestAggregation a;
    int status = kOk;
    if (!loadTest(args, parser, a, status))
        return status;
    return writeClipText((a.*text)(), parser.isSet(sjisOption()));
}

// A single as the shortest decimal that reads back to the same single.
QJsonValue single(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QByteArray(buffer, result.ptr - buffer).toDouble();
}

QJsonArray pair(int a, const QJsonValue &b) {
    return QJsonArray{a, b};
}

int runStats(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption jsonOpt(QStringLiteral("json"), QStringLiteral("JSON で出力します"));
    parser.addOption(jsonOpt);
    TestAggregation a;
    int status = kOk;
    if (!loadTest(args, parser, a, status))
        return status;
    if (!parser.isSet(jsonOpt))
        return usage(QStringLiteral("--json を指定してください。"));

    QJsonObject full;
    for (int s = 0; s < shukei::kSubjects; ++s) {
        QJsonArray values;
        for (int v : a.fullScores[std::size_t(s)].values)
            values.append(v);
        full.insert(shukei::subjectNames()[s], values);
    }
    QJsonArray series;
    for (int i = 0; i < shukei::kSeries; ++i) {
        const SeriesStatistics &st = a.statistics(i);
        QJsonArray gradeRanks, standardScores, classMeans;
        QJsonObject classRanks;
        for (int score : st.occurringScores()) {
            gradeRanks.append(pair(score, *st.gradeRankOf(score)));
            if (st.hasStandardScores())
                standardScores.append(pair(score, *st.standardScore(score)));
        }
        for (int c = 1; c <= a.classCount(); ++c) {
            QJsonArray ranks;
            for (int score : st.occurringScores(c))
                ranks.append(pair(score, *st.classRankOf(c, score)));
            classRanks.insert(QString::number(c), ranks);
            if (const std::optional<float> mean = st.classMeans[std::size_t(c - 1)])
                classMeans.append(pair(c, single(*mean)));
        }
        series.append(QJsonObject{
            {QStringLiteral("name"), shukei::seriesNames()[i]},
            {QStringLiteral("count"), st.count},
            {QStringLiteral("sum"), double(st.sum)},
            {QStringLiteral("sumOfSquares"), double(st.sumOfSquares)},
            {QStringLiteral("mean"), single(st.mean)},
            {QStringLiteral("sd"), single(st.sd)},
            {QStringLiteral("gradeRanks"), gradeRanks},
            {QStringLiteral("classRanks"), classRanks},
            {QStringLiteral("standardScores"), standardScores},
            {QStringLiteral("classMeans"), classMeans},
        });
    }
    const QJsonObject o{
        {QStringLiteral("grade"), a.context().grade},
        {QStringLiteral("testCode"), a.context().testCode},
        {QStringLiteral("testName"), a.context().testName},
        {QStringLiteral("classCount"), a.classCount()},
        {QStringLiteral("fullScores"), full},
        {QStringLiteral("series"), series},
    };
    out() << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented));
    return kOk;
}

int runStatus(const QStringList &args) {
    QCommandLineParser parser;
    TestOptions o;
    const QCommandLineOption periodOpt(QStringLiteral("period"), QStringLiteral("評定の番号 (1..5)"),
                                       QStringLiteral("K"));
    const QCommandLineOption jsonOpt(QStringLiteral("json"), QStringLiteral("JSON で出力します"));
    parser.addOptions({o.data, o.year, o.grade, o.test, periodOpt, jsonOpt});
    parser.addPositionalArgument(QStringLiteral("VIEW"), QStringLiteral("tests | evaluations | electives"));
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usage(QStringLiteral("tests, evaluations, electives のどれかを指定してください。"));
    int year = 0, grade = 0;
    QString folder;
    if (!readYear(parser, o.year, year, status) || !readDataFolder(parser, o.data, folder, status) ||
        !readGrade(parser, o.grade, grade, status))
        return status;
    folder = paths::withTrailingSeparator(folder);
    const MainSettings settings = MainSettings::load(folder);
    const QString &view = positional.first();
    InputStatusTable table;
    if (view == QLatin1String("tests")) {
        if (!parser.isSet(o.test))
            return usage(QStringLiteral("--test CODE を指定してください。"));
        table = inputstatus::tests(folder, year, grade, parser.value(o.test), settings.classType);
    } else if (view == QLatin1String("evaluations") || view == QLatin1String("electives")) {
        bool ok = false;
        const int period = parser.value(periodOpt).toInt(&ok);
        if (!ok || period < 1 || period > 5)
            return usage(QStringLiteral("--period には 1..5 を指定してください。"));
        table = view == QLatin1String("electives")
                    ? inputstatus::electives(folder, year, grade, period, settings.classType)
                    : inputstatus::evaluations(folder, year, grade, period,
                                               compulsorySubjects(settings.schoolKind), settings.classType);
    } else {
        return usage(
            QStringLiteral("tests, evaluations, electives のどれかを指定してください: %1").arg(view));
    }
    if (table.tooNew)
        err() << tooNewVersionMessage().replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
    if (!table.unsafeNames.isEmpty())
        err() << table.unsafeNamesMessage().replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
    if (!table.damaged.isEmpty())
        err() << table.damagedMessage().replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
    const QList<QStringList> cells = table.cells();
    if (parser.isSet(jsonOpt)) {
        QJsonArray rows;
        for (const QStringList &row : cells)
            rows.append(QJsonArray::fromStringList(row));
        out() << QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Indented));
    } else {
        for (const QStringList &row : cells)
            out() << row.join(u'\t') << '\n';
    }
    return kOk;
}

const ClipRegistration gridRegistration(
    {QStringLiteral("test-grid"), QStringLiteral("test-grid ") + kTestSynopsis + QStringLiteral(" [--sjis]"),
     QStringLiteral("テスト一覧の「コピー」→「観点なし」"), runClip<&TestAggregation::gridCopy>});
const ClipRegistration viewpointsRegistration({QStringLiteral("test-viewpoints"),
                                               QStringLiteral("test-viewpoints ") + kTestSynopsis +
                                                   QStringLiteral(" [--sjis]"),
                                               QStringLiteral("テスト一覧の「コピー」→「観点あり」"),
                                               runClip<&TestAggregation::viewpointCopy>});
const ClipRegistration meansRegistration({QStringLiteral("test-means"),
                                          QStringLiteral("test-means ") + kTestSynopsis +
                                              QStringLiteral(" [--sjis]"),
                                          QStringLiteral("テスト一覧の「コピー」→「平均点一覧」"),
                                          runClip<&TestAggregation::meansCopy>});
const Registration statsRegistration({QStringLiteral("stats"),
                                      QStringLiteral("stats ") + kTestSynopsis + QStringLiteral(" --json"),
                                      QStringLiteral("テストの学年集計 (平均、標準偏差、順位、偏差値)"),
                                      runStats});
const Registration
    statusRegistration({QStringLiteral("status"),
                        QStringLiteral("status tests|evaluations|electives --data DIR [--year N] --grade G "
                                       "[--test CODE | --period K] [--json]"),
                        QStringLiteral("入力状況の表示 (人数の表)"), runStatus});

} // namespace

} // namespace tavro::cli
