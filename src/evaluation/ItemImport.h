#pragma once

#include "common/DataFile.h"
#include "evaluation/Worksheet.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// The item import of the evaluation window ("項目設定の取り込み"): the colleagues teaching the same
// subject, a colleague's item definitions read from their worksheet, the check list of those items and
// the copy of the checked items into the open worksheet. Scores are never copied.
namespace tavro {

class EvaluationSession;
class Prompter;
struct EvaluationContext;

namespace itemimport {

// The colleagues named by the "MT" lines of the teacher file whose subject field is `kyouka`: the
// teacher field of each, in file order, once each, without `teacherName`. Subject and teacher are
// compared as whole fields; the grade is not compared. Names that cannot be a file name are left out.
QStringList colleagues(const QStringList &teacherLines, const QString &kyouka, const QString &teacherName);
// The same from the teacher file of the context's year; empty when the file is missing.
QStringList colleagues(const EvaluationContext &context);

// A colleague's item definitions, index item - 1; `ratios` holds the 30 ratios of each item
// (period-major, as Worksheet::itemRatioIndex).
struct ColleagueItems {
    std::vector<WorksheetItem> items = std::vector<WorksheetItem>(kMaxItems);
    std::vector<std::int32_t> ratios = std::vector<std::int32_t>(Worksheet::kItemRatioCount, 0);

    const WorksheetItem &item(int item) const { return items[std::size_t(item - 1)]; }
    std::int32_t ratio(int item, int period, int viewpoint) const {
        return ratios[Worksheet::itemRatioIndex(item, period, viewpoint)];
    }
};

enum class LoadStatus {
    Loaded,
    Missing,    // no worksheet of this year, grade and subject: nothing to list
    Refused,    // the name cannot be a file name
    TooNew,     // version 600 or more: nothing read
    Unreadable, // the file exists but could not be read
};

struct LoadResult {
    LoadStatus status = LoadStatus::Missing;
    QString path;
    QString message; // why nothing was read (Refused, TooNew, Unreadable)
    ReadReport report;
};

// Reads the item sections of `colleague`'s worksheet of the context's year, grade and subject into
// `items`, which is reset first. Values out of their range (kind outside 0..4, link, full score or
// ratio outside 0..999) are left at 0. A too-new file shows its message through `prompter` (when
// given).
LoadResult loadColleague(const EvaluationContext &context, const QString &colleague, ColleagueItems &items,
                         Prompter *prompter);

// The label of a kind in the item list: "平常", "定期", "集計", "学力"; empty for other kinds.
QString kindLabel(int kind);
// The check list: "item [label] name" for every item with a kind, in item order.
QStringList itemLines(const ColleagueItems &items);
// The item number of a check-list line: the number before the first blank; 0 when there is none.
int itemNumberOfLine(const QString &line);

struct Options {
    bool fullScoresAndRatios = true; // "満点・割合も取り込む"
    bool protection = false;         // "保護設定も取り込む"
};

struct ImportOutcome {
    bool applied = false;
    int imported = 0;
    QString error; // why nothing was stored
};
// Copies the items `numbers` of `items` into the session's worksheet: name, kind, test link and
// formula, the protection and the full score with the 30 ratios when asked. Numbers outside 1..999 are
// skipped. The aggregate items are recomputed and the worksheet is marked changed. Refused in
// read-only mode.
ImportOutcome importItems(EvaluationSession &session, const ColleagueItems &items,
                          const std::vector<int> &numbers, const Options &options);

// "取り込みが終わりました。" (caption "TAVRO", OK).
QString finishedMessage();

} // namespace itemimport
} // namespace tavro
