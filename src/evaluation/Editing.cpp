#include "evaluation/Editing.h"

#include "common/Cp932.h"
#include "common/FileSave.h"
#include "common/Rounding.h"
#include "evaluation/EvaluationSession.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <algorithm>

namespace tavro::editing {

namespace {

const QString kCaption = QStringLiteral("TAVRO");

bool wholeNumber(const QString &text, int &value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

// The grid rows of a pasted block from `row` on, each with its cells from `column` on.
template <class Cell>
void forEachCell(const QList<QStringList> &lines, int row, int column, int lastRow, int lastColumn,
                 Cell &&cell) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int r = row + int(i);
        if (r > lastRow)
            break;
        const QStringList &cells = lines[i];
        for (qsizetype j = 0; j < cells.size(); ++j) {
            const int c = column + int(j);
            if (c > lastColumn)
                break;
            cell(r, c, cells[j]);
        }
    }
}

int stepOf(const SymbolPattern &pattern, double value) {
    for (int j = 0; j < 10; ++j) {
        const int bound = j < 9 ? pattern.cutPoint[std::size_t(j)] : 0;
        if (bound == 0 || value >= bound)
            return j;
    }
    return 9;
}

// The achievement of the periodic-test items alone: the score (an estimate by its value, at most the
// full score, other negative codes 0) over the full score, weighted by item and viewpoint ratios.
double testOnlyAchievement(const Worksheet &w, int slot, int period, bool &any) {
    double a = 0, b = 0;
    for (int item = 1; item <= kMaxItems; ++item) {
        const WorksheetItem &it = w.item(item);
        if (it.kind != itemkind::kPeriodicTest || it.fullScore <= 0)
            continue;
        const int code = w.score(item, slot);
        double t = code >= 0 ? code : score::isEstimate(code) ? score::estimateValue(code) : 0;
        t = std::min(t, double(it.fullScore));
        for (int v = 1; v <= kViewpoints; ++v) {
            const int wv = w.itemRatio(item, period, v);
            const int r = w.viewpointRatio(period, v);
            if (wv == 0 || r == 0)
                continue;
            a += t / it.fullScore * wv * r;
            b += double(wv) * r;
        }
    }
    any = b > 0;
    return any ? a / b * 100 : 0;
}

QString lineText(const EvaluationSession &session, int slot) {
    return QString::number(classOfSlot(slot)) + QString::asprintf("%02d", numberOfSlot(slot)) + u' ' +
           session.nameOf(slot);
}

QString achievementKey(const EvaluationSession &session, int slot, float achievement) {
    return QString::asprintf("%05lld",
                             static_cast<long long>(rounding::halfEven(double(achievement) * 100))) +
           u' ' + lineText(session, slot);
}

} // namespace

CellParse parseScoreCell(const QString &text, int &code) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return CellParse::Empty;
    if (t == QLatin1String("-")) {
        code = score::kTransferred;
        return CellParse::Value;
    }
    if (t == QLatin1String("/")) {
        code = score::kNotSubmitted;
        return CellParse::Value;
    }
    if (t == QLatin1String("*")) {
        code = score::kAbsent;
        return CellParse::Value;
    }
    const bool estimate = t.startsWith(u'*');
    const QString digits = estimate ? t.mid(1) : t;
    if (digits.isEmpty() || digits.size() > 3 ||
        !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return CellParse::Refused;
    const int v = digits.toInt();
    code = estimate ? score::estimate(v) : v;
    return CellParse::Value;
}

QList<QStringList> pasteLines(const QString &text) {
    QList<QStringList> lines;
    for (const QString &line : splitTextLines(text))
        lines.append(line.split(u'\t'));
    return lines;
}

QString refusedCellsMessage(int refused, CellKind kind) {
    if (refused <= 0)
        return {};
    if (kind == CellKind::Text)
        return QStringLiteral(
                   "保存できない文字を含むセルが%1個ありました。\r\nそれらのセルは変更していません。")
            .arg(refused);
    return QStringLiteral("%1として読めないセルが%2個ありました。\r\nそれらのセルは変更していません。")
        .arg(kind == CellKind::Number ? QStringLiteral("数値") : QStringLiteral("得点"))
        .arg(refused);
}

QString noPermissionMessage() {
    return QStringLiteral("評定の編集権限がありません。\r\n管理者に問い合わせてください。");
}

PasteOutcome pasteScores(EvaluationSession &session, const QString &text, int row, int column) {
    const EvaluationSession::StepScope step(session);
    PasteOutcome out;
    if (session.readOnly() || row < 1 || column < 3)
        return out;
    Worksheet &w = session.worksheet();
    const int lastRow = int(session.rows().size());
    forEachCell(pasteLines(text), row, column, lastRow, kMaxItems + 2,
                [&](int r, int c, const QString &cell) {
                    const int item = c - 2;
                    const int slot = session.rows()[std::size_t(r - 1)];
                    if (out.rows.empty() || out.rows.back() != r - 1)
                        out.rows.push_back(r - 1);
                    const WorksheetItem &it = w.item(item);
                    int code = 0;
                    const CellParse parsed = parseScoreCell(cell, code);
                    if (parsed == CellParse::Refused)
                        ++out.refused;
                    if (parsed != CellParse::Value || it.isProtected() ||
                        it.kind == itemkind::kPeriodicTest || it.kind == itemkind::kAchievementTest) {
                        ++out.unchanged;
                        return;
                    }
                    w.score(item, slot) = code;
                    ++out.stored;
                });
    if (out.stored > 0) {
        std::vector<int> touched;
        for (int r : out.rows)
            touched.push_back(session.rows()[std::size_t(r)]);
        session.rowsChanged(touched);
    }
    return out;
}

PasteOutcome pasteViewpointRatios(EvaluationSession &session, const QString &text, int row, int column) {
    const EvaluationSession::StepScope step(session);
    PasteOutcome out;
    if (session.readOnly() || row < 1 || column < 1)
        return out;
    Worksheet &w = session.worksheet();
    forEachCell(pasteLines(text), row, column, kPeriods, kViewpoints, [&](int r, int c, const QString &cell) {
        const QString t = cell.trimmed();
        int value = 0;
        if (t.isEmpty()) {
            ++out.unchanged;
            return;
        }
        if (!wholeNumber(t, value))
            value = 0;
        if (value < 0 || value > 999) {
            ++out.unchanged;
            ++out.refused;
            return;
        }
        w.viewpointRatio(r, c) = value;
        ++out.stored;
    });
    if (out.stored > 0)
        session.itemsChanged(false);
    return out;
}

PasteOutcome pasteItemRatios(EvaluationSession &session, const QString &text, int row, int column) {
    const EvaluationSession::StepScope step(session);
    PasteOutcome out;
    if (session.readOnly() || row < 1 || column < 1)
        return out;
    Worksheet &w = session.worksheet();
    forEachCell(pasteLines(text), row, column, itemRatioRow(kPeriods, kViewpoints), kMaxItems,
                [&](int r, int c, const QString &cell) {
                    const QString t = cell.trimmed();
                    const int period = (r + 5) / 7;
                    const int line = (r + 5) % 7;
                    int value = 0;
                    if (r < 2 || line == 0 || t.isEmpty()) {
                        ++out.unchanged;
                        return;
                    }
                    if (!wholeNumber(t, value) || value < 0 || value > 999) {
                        ++out.unchanged;
                        ++out.refused;
                        return;
                    }
                    w.itemRatio(c, period, line) = value;
                    ++out.stored;
                });
    if (out.stored > 0)
        session.itemsChanged(false);
    return out;
}

PasteOutcome pastePercentages(EvaluationSession &session, const QString &text, int row, int column,
                              int period, Prompter &prompter, const Clock &clock) {
    const EvaluationSession::StepScope step(session);
    PasteOutcome out;
    if (session.readOnly() || !isPeriod(period) || row < 1)
        return out;
    if (!session.periodPermitted(period)) {
        prompter.message(kCaption, noPermissionMessage(), Prompter::Icon::Warning);
        out.stopped = true;
        return out;
    }
    const bool percentages = session.settings().toutatuPaste;
    const bool comments = session.settings().commentPaste;
    EvaluationResults &results = session.results();
    forEachCell(
        pasteLines(text), row, column, int(session.rows().size()), 9, [&](int r, int c, const QString &cell) {
            StudentResult &res = results.at(period, session.rows()[std::size_t(r - 1)]);
            if (cell.isEmpty() || c < 3 || (c <= 8 && !percentages) || (c == 9 && !comments)) {
                ++out.unchanged;
                return;
            }
            if (c <= 8) {
                QString kept;
                for (QChar ch : cell)
                    if ((ch >= u'0' && ch <= u'9') || ch == u'.')
                        kept.append(ch);
                bool ok = false;
                const double v = kept.toDouble(&ok);
                res.viewpointPercentages[std::size_t(c - 3)] =
                    ok && !kept.isEmpty() ? float(std::min(v, 100.0)) : -1.0f;
                ++out.stored;
                return;
            }
            if (!cp932::canEncode(cell)) {
                ++out.unchanged;
                ++out.refused;
                return;
            }
            res.comment = cell == QLatin1String("0") ? QString() : cp932::leftBytes(cell, kCommentBytes);
            if (res.comment.size() < cell.size() && cell != QLatin1String("0"))
                ++out.cutComments;
            ++out.stored;
        });
    if (out.stored > 0) {
        session.markResultsPending();
        if (percentages)
            session.phase2(period, prompter, clock);
    }
    return out;
}

void deleteViewpointRatios(EvaluationSession &session, int top, int left, int bottom, int right) {
    const EvaluationSession::StepScope step(session);
    if (session.readOnly())
        return;
    bool any = false;
    for (int r = std::max(top, 1); r <= std::min(bottom, kPeriods); ++r)
        for (int c = std::max(left, 1); c <= std::min(right, kViewpoints); ++c) {
            session.worksheet().viewpointRatio(r, c) = 0;
            any = true;
        }
    if (any)
        session.itemsChanged(false);
}

void deleteItemRatios(EvaluationSession &session, int top, int left, int bottom, int right) {
    const EvaluationSession::StepScope step(session);
    if (session.readOnly())
        return;
    bool any = false;
    for (int r = std::max(top, 2); r <= std::min(bottom, itemRatioRow(kPeriods, kViewpoints)); ++r) {
        const int line = (r + 5) % 7;
        if (line == 0)
            continue;
        for (int c = std::max(left, 1); c <= std::min(right, kMaxItems); ++c) {
            session.worksheet().itemRatio(c, (r + 5) / 7, line) = 0;
            any = true;
        }
    }
    if (any)
        session.itemsChanged(false);
}

bool deletePercentages(EvaluationSession &session, int period, int top, int left, int bottom, int right,
                       Prompter &prompter, const Clock &clock) {
    const EvaluationSession::StepScope step(session);
    if (session.readOnly() || !isPeriod(period))
        return false;
    if (!session.periodPermitted(period)) {
        prompter.message(kCaption, noPermissionMessage(), Prompter::Icon::Warning);
        return false;
    }
    EvaluationResults &results = session.results();
    for (int r = std::max(top, 1); r <= std::min(bottom, int(session.rows().size())); ++r) {
        StudentResult &res = results.at(period, session.rows()[std::size_t(r - 1)]);
        for (int c = std::max(left, 3); c <= std::min(right, 9); ++c) {
            if (c <= 8)
                res.viewpointPercentages[std::size_t(c - 3)] = -1.0f;
            else
                res.comment.clear();
        }
    }
    session.markResultsPending();
    session.phase2(period, prompter, clock);
    return true;
}

QString clearQuestion() {
    return QStringLiteral("すでに評定が算出されています。\r\n\r\n本当に評定クリアを実行しますか?");
}

bool clearPeriod(EvaluationSession &session, int period, Prompter &prompter, const Clock &clock,
                 QString *status, QString *error) {
    if (session.readOnly() || !isPeriod(period) || !session.periodPermitted(period))
        return false;
    EvaluationResults &results = session.results();
    if (!(results.dateTime(period) > 0))
        return false;
    if (prompter.ask(kCaption, clearQuestion(), Prompter::Buttons::YesNo, Prompter::Answer::No,
                     Prompter::Icon::Question) != Prompter::Answer::Yes)
        return false;
    for (int slot : session.rows()) {
        StudentResult &res = results.at(period, slot);
        res.viewpointPercentages.fill(-1.0f);
        for (QString &m : res.marks)
            m.clear();
        res.evaluation.clear();
        res.percentage = -1.0f;
    }
    results.dateTime(period) = 0;
    QString why;
    const bool saved = session.saveResults(&why);
    if (!saved && error)
        *error = calculation::resultsSaveFailedMessage(why);
    session.resultsCleared();
    if (status)
        *status = QStringLiteral("評定をクリアしました。(%1)")
                      .arg(clock.now().toString(QStringLiteral("yyyy/MM/dd h:mm:ss")));
    return saved;
}

namespace {

// Characters of `text` counted as the user sees them (a surrogate pair is one).
int characterCount(QStringView text) {
    int n = 0;
    for (QChar c : text)
        if (!c.isLowSurrogate())
            ++n;
    return n;
}

} // namespace

CommentFit fitComment(const QString &before, const QString &after, int cursor) {
    CommentFit fit{after, std::clamp(cursor, 0, int(after.size())), 0, 0};
    // The inserted run lies between what the texts have in common at their start and at their end.
    qsizetype prefix = 0;
    const qsizetype shorter = std::min(before.size(), after.size());
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    if (prefix > 0 && after[prefix - 1].isHighSurrogate()) // never start inside a pair
        --prefix;
    const QString head = after.left(prefix);
    const QString tail = after.right(suffix);
    const QString inserted = after.mid(prefix, after.size() - prefix - suffix);
    fit.inserted = characterCount(inserted);
    if (inserted.isEmpty() || cp932::byteLength(after) <= kCommentBytes)
        return fit;
    const int room = kCommentBytes - cp932::byteLength(head) - cp932::byteLength(tail);
    QString kept = room > 0 ? cp932::leftBytes(inserted, room) : QString();
    if (!kept.isEmpty() && kept.back().isHighSurrogate())
        kept.chop(1);
    fit.dropped = fit.inserted - characterCount(kept);
    fit.text = head + kept + tail;
    fit.cursor = int(head.size() + kept.size());
    return fit;
}

QString commentCutMessage(int dropped) {
    return QStringLiteral("コメントは全角25文字（76バイト）までです。\r\n"
                          "貼り付けた文字のうち、後ろの%1文字は入りませんでした。")
        .arg(dropped);
}

QString cutCommentsMessage(int comments) {
    if (comments <= 0)
        return {};
    return QStringLiteral("76バイト（全角25文字）を超えるコメントが%1件あり、76バイトまでで切りました。")
        .arg(comments);
}

bool setComment(EvaluationSession &session, int period, int slot, const QString &text, QString *reason) {
    if (session.readOnly() || !isPeriod(period) || slot < 0 || slot >= kSlots)
        return false;
    QString clean = text;
    for (QChar &ch : clean)
        if (ch == u'\t' || ch == u'\r' || ch == u'\n')
            ch = u' ';
    const QString bad = cp932::firstUnencodable(clean);
    if (!bad.isEmpty()) {
        if (reason)
            *reason = QStringLiteral("コメントに使えない文字「%1」があります。").arg(bad);
        return false;
    }
    session.storeComment(period, slot, cp932::leftBytes(clean, kCommentBytes));
    return true;
}

void protectUpTo(EvaluationSession &session, int item, bool on) {
    const EvaluationSession::StepScope step(session);
    if (session.readOnly())
        return;
    bool any = false;
    for (int i = 1; i <= std::min(item, kMaxItems); ++i) {
        WorksheetItem &it = session.worksheet().item(i);
        if (it.isProtected() != on) {
            it.protection = on ? 1 : 0;
            any = true;
        }
    }
    if (any)
        session.markModified();
}

bool copyYearEndRatios(EvaluationSession &session) {
    const EvaluationSession::StepScope step(session);
    const int last = session.settings().consistencyItem[0];
    if (session.readOnly() || last < 2 || last > kPeriods)
        return false;
    Worksheet &w = session.worksheet();
    for (int item = 1; item <= kMaxItems; ++item)
        for (int v = 1; v <= kViewpoints; ++v) {
            int value = 0;
            for (int k = 1; k < last; ++k)
                if (w.itemRatio(item, k, v) >= 1)
                    value = w.itemRatio(item, k, v);
            w.itemRatio(item, last, v) = value;
        }
    session.itemsChanged(false);
    return true;
}

std::vector<StudentLine> studentsByClass(const EvaluationSession &session) {
    std::vector<StudentLine> lines;
    for (int slot : session.rows())
        if (!session.nameOf(slot).isEmpty())
            lines.push_back({slot, lineText(session, slot)});
    return lines;
}

namespace {

std::vector<StudentLine> byAchievement(const EvaluationSession &session, int period,
                                       const std::function<bool(int)> &match) {
    std::vector<std::pair<QString, StudentLine>> keyed;
    if (!isPeriod(period))
        return {};
    for (int slot : session.rows()) {
        if (session.nameOf(slot).isEmpty() || !match(slot))
            continue;
        const float a = session.results().at(period, slot).percentage;
        keyed.push_back({achievementKey(session, slot, std::max(a, 0.0f)), {slot, lineText(session, slot)}});
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &x, const auto &y) { return x.first > y.first; });
    std::vector<StudentLine> lines;
    for (auto &k : keyed)
        lines.push_back(std::move(k.second));
    return lines;
}

} // namespace

std::vector<StudentLine> studentsByAchievement(const EvaluationSession &session, int period) {
    return byAchievement(session, period,
                         [&](int slot) { return session.results().at(period, slot).percentage > -1.0f; });
}

std::vector<StudentLine> filteredStudents(const EvaluationSession &session, int period, Filter filter) {
    if (!isPeriod(period))
        return {};
    const checks::CheckSymbols &symbols = session.symbols();
    const Worksheet &w = session.worksheet();
    const SymbolPattern *pattern = session.evaluationPattern(period);
    const int borderRound = session.settings().borderRound;
    return byAchievement(session, period, [&](int slot) {
        switch (filter) {
        case Filter::Consistency: {
            const int y = symbols.yearEndPeriod();
            if (y < 1)
                return false;
            const QString &c = symbols.at(y, slot).consistency;
            return c == QStringLiteral("★") || c == QStringLiteral("☆");
        }
        case Filter::Up: {
            const QString &c = symbols.at(period, slot).change;
            return c == QStringLiteral("▲") || c == QStringLiteral("△");
        }
        case Filter::Down: {
            const QString &c = symbols.at(period, slot).change;
            return c == QStringLiteral("▼") || c == QStringLiteral("▽");
        }
        case Filter::Border: {
            const QString &c = symbols.at(period, slot).border;
            return c == QLatin1String("+") || c == QLatin1String("-");
        }
        case Filter::Conversion: {
            const QString &c = symbols.at(period, slot).conversion;
            return c.size() == 1 && c[0] >= u'1' && c[0] <= u'5';
        }
        case Filter::Estimate:
            for (int item = 1; item <= kMaxItems; ++item) {
                const int code = w.score(item, slot);
                if (code == score::kAbsent || code < -999)
                    return true;
            }
            return false;
        case Filter::TestOnly: {
            const float own = session.results().at(period, slot).percentage;
            bool any = false;
            const double tests = testOnlyAchievement(w, slot, period, any);
            if (!pattern || !any || own <= -1.0f)
                return false;
            return stepOf(*pattern, calculation::borderRounded(float(tests), borderRound)) <
                   stepOf(*pattern, calculation::borderRounded(own, borderRound));
        }
        }
        return false;
    });
}

QString noMatchMessage() {
    return QStringLiteral("該当するデータはありません。");
}

QString legendText() {
    return QStringLiteral(
        "+- → ボーダーライン付近(+=上のほう -=下のほう)\r\n\r\n▲△▼△ → 評定の変動(▲▼=2段階以上の変動 "
        "△▽=1段階の変動)\r\n\r\n★☆ → 学年末の整合性(★=評定の整合性 ☆=観点ごとの整合性)\r\n\r\n54321 → "
        "観点換算方式との整合性(AAAAなのに5になっていない場合に、観点換算方式の評定を表示)");
}

QString closeQuestion() {
    return QStringLiteral(
        "保存してメインメニューに戻りますか?\r\n「いいえ」を選択すると修正は破棄されます。");
}

QString closeCaption(const EvaluationSession &session) {
    return QStringLiteral("TAVRO - ") + session.headerText();
}

} // namespace tavro::editing
