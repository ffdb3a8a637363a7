#include "evaluation/ItemSettings.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "config/KantenFile.h"
#include "config/YearSettings.h"
#include "evaluation/EvaluationSession.h"
#include "platform/Prompter.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <array>

namespace tavro::itemsettings {

namespace {

const QString kGikaSubject = QStringLiteral("技家");
const std::array<QString, 2> kGikaHalves = {QStringLiteral("技家I"), QStringLiteral("技家H")};

QString viewpointNumeral(int v) {
    return QString(QChar(0x2460 + v - 1)); // ①..⑥
}

} // namespace

QStringList kindNames() {
    return {QString(), QStringLiteral("平常点"), QStringLiteral("定期テスト"), QStringLiteral("集計セル"),
            QStringLiteral("学力(実力)")};
}

QStringList helpLines(int kind) {
    switch (kind) {
    case 1:
        return {QStringLiteral("項目名を入力してください。あとで見てわかりやすいものを。"),
                QStringLiteral("［保護]にチェックを入れると、この項目の編集ができません。")};
    case 2:
        return {QStringLiteral("定期テストから観点別の得点を取り込みます。"),
                QStringLiteral("得点を更新する場合は、再度この画面を呼び出してください。")};
    case 3:
        return {QStringLiteral("書式1 項目番号をカンマで区切り、羅列します。(例 1,2,3)"),
                QStringLiteral("書式2 イコールではじめる計算式を入力。(例 =[1]*2+[2]*3)")};
    case 4:
        return {QStringLiteral("学力(実力)テストから観点別の得点を取り込みます。"),
                QStringLiteral("得点を更新する場合は、再度この画面を呼び出してください。")};
    default:
        return {QStringLiteral("種別を選択してください。"), QString()};
    }
}

Fields visibleFields(int kind) {
    Fields f;
    switch (kind) {
    case 1:
        f.name = f.symbolInput = f.protection = f.fullScore = true;
        break;
    case 2:
        f.periodicList = f.protection = true;
        break;
    case 3:
        f.name = f.formula = f.fullScore = true;
        break;
    case 4:
        f.achievementList = f.protection = true;
        break;
    default:
        f.name = true;
        break;
    }
    return f;
}

int TestLists::indexOf(int kind, int link) const {
    const std::vector<TestEntry> *list = kind == 2 ? &periodic : kind == 4 ? &achievement : nullptr;
    if (!list || link == 0)
        return 0;
    for (std::size_t i = 0; i < list->size(); ++i)
        if ((*list)[i].link == link)
            return int(i) + 1;
    return 0;
}

TestLists testLists(const YearSettings &settings, const KantenNames &kanten, const QString &kyouka,
                    bool byViewpoint) {
    int viewpoints = 0;
    while (viewpoints < 6 && !kanten.shortName[std::size_t(viewpoints)].isEmpty())
        ++viewpoints;
    // The medium name reads better in an item name; the short one stands in when it is missing.
    auto viewpointText = [&](int v) {
        const QString &medium = kanten.mediumName[std::size_t(v - 1)];
        return viewpointNumeral(v) + u'[' +
               (medium.isEmpty() ? kanten.shortName[std::size_t(v - 1)] : medium) + u']';
    };
    TestLists lists;
    const bool gika = kyouka == kGikaSubject;
    for (int t = 1; t <= 5; ++t) {
        const QString &name = settings.testName[std::size_t(t - 1)];
        if (name.isEmpty())
            break;
        const int halves = gika ? 2 : 1;
        for (int h = 1; h <= halves; ++h) {
            const QString base = gika ? name + kGikaHalves[std::size_t(h - 1)] : name;
            const int half = gika ? h : 0;
            if (byViewpoint) {
                for (int v = 1; v <= viewpoints; ++v)
                    lists.periodic.push_back({base + viewpointText(v), t * 100 + v * 10 + half});
            } else {
                lists.periodic.push_back({base, t * 100 + half});
            }
        }
    }
    for (int t = 1; t <= 9; ++t) {
        const QString &name = settings.gakuNameName[std::size_t(t - 1)];
        if (name.isEmpty())
            break;
        for (int v = 1; v <= viewpoints; ++v)
            lists.achievement.push_back({name + viewpointText(v), t * 100 + v * 10 + 5});
    }
    return lists;
}

QString textProblem(const QString &text, const QString &what) {
    if (text.contains(u'\t') || text.contains(u'\r') || text.contains(u'\n'))
        return QStringLiteral("%1にタブや改行は使えません。").arg(what);
    const QString bad = cp932::firstUnencodable(text);
    if (!bad.isEmpty())
        return QStringLiteral("%1に使えない文字「%2」があります。").arg(what, bad);
    if (cp932::byteLength(text) > 255)
        return QStringLiteral("%1が長すぎます（半角255文字まで）。").arg(what);
    return {};
}

ItemEdit editOf(const Worksheet &worksheet, int item, const TestLists &lists) {
    const WorksheetItem &it = worksheet.item(item);
    ItemEdit e;
    e.kind = it.kind >= 0 && it.kind <= 4 ? it.kind : 0;
    e.name = it.name;
    e.symbolInput = it.symbolInput;
    e.protection = it.isProtected();
    e.fullScore = it.fullScore;
    e.formula = it.formula;
    e.testIndex = lists.indexOf(e.kind, it.link);
    return e;
}

bool sourceOf(int kind, int link, const TestLists &lists, const QString &kyouka, TestSource &source,
              QString *reason) {
    const int field = (link % 100) / 10;
    if (link <= 0 || field > 6 || (kind != 2 && kind != 4)) {
        if (reason)
            *reason = QStringLiteral("取り込み先の指定(%1)が正しくありません。").arg(link);
        return false;
    }
    if (lists.indexOf(kind, link) == 0) {
        if (reason)
            *reason = QStringLiteral("取り込み先のテスト(%1)がテストの一覧にありません。").arg(link);
        return false;
    }
    const int t = link / 100;
    const int half = link % 10;
    if (kind == 2) {
        source.testCode = QString(QChar(64 + t));
        source.subject = kyouka + (half == 1   ? QStringLiteral("I")
                                   : half == 2 ? QStringLiteral("H")
                                               : QString());
    } else {
        source.testCode = QString::number(t);
        source.subject = kyouka;
    }
    source.field = field;
    return true;
}

QString missingClassMessage(const QString &classLabel) {
    return classLabel + QStringLiteral("のデータがありません。");
}

ImportOutcome importTestScores(EvaluationSession &session, int item, const TestSource &source,
                               Prompter *prompter) {
    const EvaluationContext &ctx = session.context();
    ImportOutcome out;
    FullScores full;
    TestScoreFile::readFullScores(paths::resolveExisting(paths::fullScoreFile(
                                      ctx.dataFolder, ctx.nendo, source.testCode, ctx.grade, source.subject)),
                                  full);
    const int f = full.values[std::size_t(source.field)];
    out.fullScore = f >= 0 && f <= score::kMaxScore ? f : 0;
    Worksheet &ws = session.worksheet();
    for (int cls : session.classes()) {
        ClassScores scores;
        const ReadReport r = TestScoreFile::readClassScores(
            paths::resolveExisting(paths::classScoreFile(ctx.dataFolder, ctx.nendo, source.testCode,
                                                         ctx.grade, cls, source.subject)),
            scores);
        if (!r.found || r.unreadable || r.size < TestScoreFile::kClassFileSize) {
            out.missingClasses.push_back(cls);
            if (prompter)
                prompter->message(QStringLiteral("TAVRO"), missingClassMessage(session.classLabel(cls)),
                                  Prompter::Icon::Warning);
            continue;
        }
        for (int n = 1; n <= kSeatsPerClass; ++n) {
            std::int32_t &cell = ws.score(item, cls, n);
            if (cell >= 0)
                cell = score::kEmpty;
            const int v = scores.student(n)[std::size_t(source.field)];
            if (v >= 0 && v <= score::kMaxScore) {
                cell = v;
                ++out.imported;
            }
        }
    }
    ws.item(item).fullScore = out.fullScore;
    return out;
}

ApplyOutcome apply(EvaluationSession &session, int item, const ItemEdit &edit, const TestLists &lists,
                   Prompter *prompter) {
    ApplyOutcome out;
    const EvaluationSession::StepScope step(session);
    if (session.readOnly()) {
        out.error = QStringLiteral("閲覧モードでは項目を変更できません。");
        return out;
    }
    if (!isItem(item) || edit.kind < 0 || edit.kind > 4) {
        out.error = QStringLiteral("項目の指定が正しくありません。");
        return out;
    }
    const Fields fields = visibleFields(edit.kind);
    if (fields.name)
        out.error = textProblem(edit.name, QStringLiteral("項目名"));
    if (out.error.isEmpty() && fields.formula)
        out.error = textProblem(edit.formula, QStringLiteral("計算式"));
    if (out.error.isEmpty() && (edit.fullScore < 0 || edit.fullScore > score::kMaxScore))
        out.error = QStringLiteral("満点は0から999までの数で入力してください。");
    const std::vector<TestEntry> *list = edit.kind == 2   ? &lists.periodic
                                         : edit.kind == 4 ? &lists.achievement
                                                          : nullptr;
    const TestEntry *entry = nullptr;
    if (list && edit.testIndex > 0) {
        if (edit.testIndex > int(list->size()))
            out.error = QStringLiteral("テストの一覧にない項目が選ばれています。");
        else
            entry = &(*list)[std::size_t(edit.testIndex - 1)];
    }
    TestSource source;
    if (out.error.isEmpty() && entry &&
        !sourceOf(edit.kind, entry->link, lists, session.context().kyouka, source, &out.error))
        entry = nullptr;
    if (!out.error.isEmpty())
        return out;

    WorksheetItem &it = session.worksheet().item(item);
    it.kind = edit.kind;
    if (edit.protection != it.isProtected())
        it.protection = edit.protection ? 1 : 0;
    if (entry) {
        it.name = entry->text;
        it.link = entry->link;
    } else {
        if (fields.name)
            it.name = edit.name;
        it.link = 0;
    }
    if (edit.kind == itemkind::kRegular) {
        if (edit.symbolInput) {
            it.formula = QStringLiteral("K");
            it.fullScore = 5;
        } else {
            if (it.formula == QLatin1String("K"))
                it.formula.clear();
            it.fullScore = edit.fullScore;
        }
    } else if (edit.kind == itemkind::kAggregate) {
        it.formula = edit.formula;
        it.fullScore = edit.fullScore;
    }
    it.symbolInput = it.kind == itemkind::kRegular && it.formula == QLatin1String("K");
    if (entry && !session.context().elective) {
        out.import = importTestScores(session, item, source, prompter);
        out.imported = true;
    }
    session.itemsChanged(true);
    out.applied = true;
    return out;
}

} // namespace tavro::itemsettings
