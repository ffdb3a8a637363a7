// score-list, class-list and the notices of a test: the prints of the score-entry window and of the
// test aggregation.
#include "app/Startup.h"
#include "cli/CliPrompter.h"
#include "common/DataPaths.h"
#include "config/YearSettings.h"
#include "print/PrintSupport.h"
#include "reports/TestPrints.h"
#include "testscores/ScoreEntrySession.h"
#include "testscores/TestAggregation.h"

namespace tavro::print {

namespace {

struct TestKind {
    QString name;
    bool achievement = false;
};

// The test of --test in the year settings; false after the message.
bool findTest(const PrintArgs &args, const YearMenus &menus, TestKind &kind) {
    if (args.test.isEmpty()) {
        fail(QStringLiteral("--test でテストの記号を指定してください。"));
        return false;
    }
    kind.achievement = args.test.size() == 1 && args.test.at(0) >= u'1' && args.test.at(0) <= u'9';
    for (const YearMenus::TestKind &k : kind.achievement ? menus.gakuTestKinds : menus.testKinds)
        if (k.code == args.test)
            kind.name = k.name;
    if (kind.name.isEmpty()) {
        fail(QStringLiteral("テスト「%1」は%2年度の設定にありません。").arg(args.test).arg(args.nendo));
        return false;
    }
    return true;
}

int result(const reports::PrintOutcome &out) {
    if (!out.printed)
        return fail(out.error.isEmpty() ? QStringLiteral("印刷しませんでした。") : out.error);
    return 0;
}

int printScoreList(const PrintArgs &args, PrintTarget &target) {
    const YearMenus menus = YearMenus::load(args.dataFolder, args.nendo);
    TestKind kind;
    if (!findTest(args, menus, kind))
        return 1;
    QString reason;
    if (args.subject.isEmpty() || !paths::isSafeName(args.subject, &reason))
        return fail(QStringLiteral("score-list には --subject で教科を指定してください。%1").arg(reason));
    const YearSettings settings = YearSettings::load(args.dataFolder, args.nendo);
    std::vector<int> classes;
    if (!classList(args, std::min(9, settings.classCount[std::size_t(args.grade - 1)]), classes))
        return 1;
    ScoreEntryContext c;
    c.dataFolder = args.dataFolder;
    c.nendo = args.nendo;
    c.grade = args.grade;
    c.kyouka = args.subject;
    c.testCode = args.test;
    c.testName = kind.name;
    for (int cls : classes)
        c.chargeClasses += QString::number(cls);
    c.classType = MainSettings::load(args.dataFolder).classType;
    c.totalOnly = kind.achievement ? !menus.gTestKanten : !menus.tTestKanten;
    c.readOnly = true;
    cli::CliPrompter prompter;
    ScoreEntrySession session(c);
    if (!session.load(prompter))
        return 1;
    return result(reports::printScoreList(reports::ScoreListData::fromSession(session), target, args.now));
}

// The aggregation of --test and the classes of --classes.
bool loadAggregation(const PrintArgs &args, TestAggregation &aggregation, std::vector<int> &classes,
                     bool &means) {
    const YearMenus menus = YearMenus::load(args.dataFolder, args.nendo);
    TestKind kind;
    if (!findTest(args, menus, kind))
        return false;
    TestAggregation::Context context{args.nendo, args.grade, args.test, kind.name,
                                     MainSettings::load(args.dataFolder).classType};
    aggregation = TestAggregation::load(args.dataFolder, context);
    const YearSettings settings = YearSettings::load(args.dataFolder, args.nendo);
    const bool noKanten = kind.achievement && !menus.gTestKanten;
    means = (noKanten ? settings.gTestSSorAVG : settings.tTestSSorAVG) == 1;
    return classList(args, aggregation.classCount(), classes);
}

int printClassList(const PrintArgs &args, PrintTarget &target) {
    TestAggregation aggregation;
    std::vector<int> classes;
    bool means = false;
    if (!loadAggregation(args, aggregation, classes, means))
        return 1;
    cli::CliPrompter prompter;
    return result(reports::printClassList(aggregation, classes, target, prompter, args.now));
}

template <reports::NoticeKind kind> int printNotices(const PrintArgs &args, PrintTarget &target) {
    TestAggregation aggregation;
    std::vector<int> classes;
    bool means = false;
    if (!loadAggregation(args, aggregation, classes, means))
        return 1;
    cli::CliPrompter prompter;
    return result(reports::printNotices(aggregation, kind, means, classes, target, prompter));
}

const DocumentRegistration scoreList({QStringLiteral("score-list"), QStringLiteral("--test CODE --subject S"),
                                      printScoreList});
const DocumentRegistration classListDoc({QStringLiteral("class-list"), QStringLiteral("--test CODE"),
                                         printClassList});
const DocumentRegistration notices5({QStringLiteral("notices-5"), QStringLiteral("--test CODE"),
                                     printNotices<reports::NoticeKind::Five>});
const DocumentRegistration notices9({QStringLiteral("notices-9"), QStringLiteral("--test CODE"),
                                     printNotices<reports::NoticeKind::Nine>});
const DocumentRegistration notices100({QStringLiteral("notices-100"), QStringLiteral("--test CODE"),
                                       printNotices<reports::NoticeKind::Hundred>});
const DocumentRegistration noticesViewpoints({QStringLiteral("notices-viewpoints"),
                                              QStringLiteral("--test CODE"),
                                              printNotices<reports::NoticeKind::Viewpoints>});

} // namespace

} // namespace tavro::print
