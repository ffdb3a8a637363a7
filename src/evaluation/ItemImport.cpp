#include "evaluation/ItemImport.h"

#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "config/TeacherFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/WorksheetFile.h"
#include "platform/Prompter.h"

#include <algorithm>

namespace tavro::itemimport {

namespace {

constexpr bool inRange(std::int32_t v) {
    return v >= 0 && v <= 999;
}

// Keeps the definitions of sections 1..7 with their values in range; section 8 and the scores are
// passed over.
struct DefinitionSink {
    ColleagueItems &c;
    WorksheetItem &at(int item) { return c.items[std::size_t(item - 1)]; }
    void name(int item, const char *data, int size) { at(item).name = format::decodeText(data, size); }
    void kind(int item, std::int32_t v) {
        if (v >= itemkind::kNone && v <= itemkind::kAchievementTest)
            at(item).kind = v;
    }
    void link(int item, std::int32_t v) {
        if (inRange(v))
            at(item).link = v;
    }
    void formula(int item, const char *data, int size) { at(item).formula = format::decodeText(data, size); }
    void protection(int item, std::uint8_t v) { at(item).protection = v; }
    void fullScore(int item, std::int32_t v) {
        if (inRange(v))
            at(item).fullScore = v;
    }
    void itemRatio(int item, int period, int viewpoint, std::int32_t v) {
        if (inRange(v))
            c.ratios[Worksheet::itemRatioIndex(item, period, viewpoint)] = v;
    }
    void viewpointRatio(int, int, std::int32_t) {}
    void score(int, int, int, std::int32_t) {}
};

} // namespace

QStringList colleagues(const QStringList &teacherLines, const QString &kyouka, const QString &teacherName) {
    QStringList names;
    for (const QString &line : teacherLines) {
        if (!line.startsWith(QLatin1String("MT")))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() < 3 || fields[1] != kyouka)
            continue;
        const QString &name = fields[2];
        if (name == teacherName || names.contains(name) || !paths::isSafeName(name))
            continue;
        names.append(name);
    }
    return names;
}

QStringList colleagues(const EvaluationContext &context) {
    return colleagues(TeacherFile::load(context.dataFolder, context.nendo).lines(), context.kyouka,
                      context.teacherName);
}

LoadResult loadColleague(const EvaluationContext &context, const QString &colleague, ColleagueItems &items,
                         Prompter *prompter) {
    items = ColleagueItems();
    LoadResult result;
    if (!paths::isSafeName(colleague, &result.message)) {
        result.status = LoadStatus::Refused;
        return result;
    }
    result.path =
        paths::worksheetFile(context.dataFolder, colleague, context.nendo, context.grade, context.kyouka);
    if (!paths::fileExists(result.path))
        return result;
    QByteArray bytes;
    if (!readWholeFile(result.path, bytes)) {
        result.status = LoadStatus::Unreadable;
        result.report.unreadable = true;
        result.message = QStringLiteral("ファイルを読み込めません: ") + result.path;
        return result;
    }
    result.report.found = true;
    DefinitionSink sink{items};
    format::parseWorksheet(bytes, sink, result.report);
    if (result.report.tooNew) {
        items = ColleagueItems();
        result.status = LoadStatus::TooNew;
        result.message = tooNewVersionMessage();
        if (prompter)
            prompter->message(QStringLiteral("TAVRO"), result.message, Prompter::Icon::Warning);
        return result;
    }
    result.status = LoadStatus::Loaded;
    return result;
}

QString kindLabel(int kind) {
    switch (kind) {
    case itemkind::kRegular:
        return QStringLiteral("平常");
    case itemkind::kPeriodicTest:
        return QStringLiteral("定期");
    case itemkind::kAggregate:
        return QStringLiteral("集計");
    case itemkind::kAchievementTest:
        return QStringLiteral("学力");
    default:
        return QString();
    }
}

QStringList itemLines(const ColleagueItems &items) {
    QStringList lines;
    for (int i = 1; i <= kMaxItems; ++i) {
        const WorksheetItem &it = items.item(i);
        if (it.kind > 0)
            lines.append(QStringLiteral("%1 [%2] %3").arg(i).arg(kindLabel(it.kind), it.name));
    }
    return lines;
}

int itemNumberOfLine(const QString &line) {
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    bool ok = false;
    const int number = line.left(blank).toInt(&ok);
    return ok ? number : 0;
}

ImportOutcome importItems(EvaluationSession &session, const ColleagueItems &items,
                          const std::vector<int> &numbers, const Options &options) {
    ImportOutcome out;
    if (session.readOnly()) {
        out.error = QStringLiteral("閲覧モードでは項目を変更できません。");
        return out;
    }
    const EvaluationSession::StepScope step(session);
    Worksheet &w = session.worksheet();
    for (int number : numbers) {
        if (!isItem(number))
            continue;
        const WorksheetItem &from = items.item(number);
        WorksheetItem &to = w.item(number);
        to.name = from.name;
        to.kind = from.kind;
        to.link = from.link;
        to.formula = from.formula;
        if (options.protection)
            to.protection = from.protection;
        if (options.fullScoresAndRatios) {
            to.fullScore = from.fullScore;
            const std::size_t first = Worksheet::itemRatioIndex(number, 1, 1);
            const std::size_t count = std::size_t(kPeriods) * kViewpoints;
            std::copy_n(items.ratios.begin() + std::ptrdiff_t(first), count,
                        w.itemRatios.begin() + std::ptrdiff_t(first));
        }
        ++out.imported;
    }
    if (out.imported > 0) {
        w.updateSymbolFlags();
        session.itemsChanged(true);
    }
    out.applied = true;
    return out;
}

QString finishedMessage() {
    return QStringLiteral("取り込みが終わりました。");
}

} // namespace tavro::itemimport
