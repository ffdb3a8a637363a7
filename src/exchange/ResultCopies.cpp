#include "exchange/ResultCopies.h"

#include "common/NumberText.h"
#include "common/Rounding.h"
#include "common/TabText.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/WorksheetViews.h"

namespace tavro::exchange {

namespace {

QString classText(const EvaluationSession &session, int cls) {
    return session.context().classType ? QString::number(cls) : QString(QChar(64 + cls));
}

// Line 1 (the period's name behind two tabs) and the heading line, cells separated by tabs.
QString headingLines(const QString &periodName, std::initializer_list<const char *> headings) {
    QStringList cells;
    for (const char *h : headings)
        cells.append(QString::fromUtf8(h));
    return QStringLiteral("\t\t") + periodName + QStringLiteral("\r\n") + cells.join(u'\t') +
           QStringLiteral("\r\n");
}

QString percentage2(float v) {
    return v > -1.0f ? numbertext::fixed(double(v), 2, 3) : QString();
}

QString scaled(float v, int factor) {
    return v > -1.0f ? QString::number(rounding::halfEven(double(v) * factor)) : QString();
}

} // namespace

QString resultsAllText(const EvaluationSession &session, int period) {
    TabText t;
    if (!isPeriod(period))
        return {};
    const QString head = headingLines(session.periodName(period),
                                      {"組", "番", "氏名", "到①", "観①", "到②", "観②", "到③", "観③", "到④",
                                       "観④", "到⑤", "観⑤", "到⑥", "観⑥", "到達度", "評定", "コメント"});
    const bool elective = session.context().elective;
    int position = 0;
    for (int slot : session.rows()) {
        ++position;
        const StudentResult &r = session.results().at(period, slot);
        t.cell(classText(session, classOfSlot(slot)))
            .cell(elective ? position : numberOfSlot(slot))
            .cell(session.nameOf(slot));
        for (int v = 0; v < kViewpoints; ++v)
            t.cell(percentage2(r.viewpointPercentages[std::size_t(v)])).cell(r.marks[std::size_t(v)]);
        t.cell(percentage2(r.percentage)).cell(r.evaluation).cell(r.comment).endRow();
    }
    return head + t.text();
}

QString achievementsText(const EvaluationSession &session, int period, int factor) {
    TabText t;
    if (!isPeriod(period))
        return {};
    const QString head =
        headingLines(session.periodName(period), {"組", "番", "氏名", "到①", "到②", "到③", "到④", "到⑤",
                                                  "到⑥", "到達度", "評定", "コメント"});
    for (int cls : session.classes())
        for (int n = 1; n <= kSeatsPerClass; ++n) {
            const int slot = slotOf(cls, n);
            const QString &name = session.nameOf(slot);
            if (name.isEmpty() || name == QLatin1String("*") || name == QStringLiteral("＊"))
                continue;
            const StudentResult &r = session.results().at(period, slot);
            t.cell(classText(session, cls)).cell(n).cell(name);
            for (float p : r.viewpointPercentages)
                t.cell(scaled(p, factor));
            t.cell(scaled(r.percentage, factor)).cell(r.evaluation).cell(r.comment).endRow();
        }
    return head + t.text();
}

QString analysisAllText(const QString &heading1, const QString &heading2,
                        const std::vector<views::AnalysisRow> &rows) {
    TabText t(TabText::Style::Separated);
    t.emptyCells(2).cell(heading1 + u' ' + heading2).endRow();
    t.cell(QStringLiteral("項目"))
        .cell(QStringLiteral("種類"))
        .cell(QStringLiteral("項目名"))
        .cell(QStringLiteral("得点"))
        .cell(QStringLiteral("満点"))
        .cell(QStringLiteral("偏差値"))
        .endRow();
    for (const views::AnalysisRow &r : rows) {
        if (r.kind.isEmpty())
            continue;
        t.cell(r.item).cell(r.kind).cell(r.name).cell(r.score).cell(r.full).cell(r.standardScore).endRow();
    }
    return t.text();
}

QString analysisHeading1(const EvaluationSession &session, int slot) {
    return session.classLabel(classOfSlot(slot)) + QString::number(numberOfSlot(slot)) + QStringLiteral("番");
}

QString analysisHeading2(const EvaluationSession &session, int slot) {
    const QString &reading = session.readingOf(slot);
    return reading.isEmpty() ? session.nameOf(slot)
                             : session.nameOf(slot) + QStringLiteral(" (") + reading + u')';
}

QString copiedMessage() {
    return QStringLiteral("コピーが終わりました。");
}

QString rangeText(const QList<QStringList> &cells) {
    TabText t(TabText::Style::Separated);
    for (const QStringList &row : cells) {
        for (const QString &c : row)
            t.cell(c);
        t.endRow();
    }
    return t.text();
}

} // namespace tavro::exchange
