#include "exchange/Transfers.h"

#include "common/NumberText.h"
#include "common/TabText.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/GradePeriodResults.h"

namespace tavro::exchange {

namespace {

QString classText(bool classType, int cls) {
    return classType ? QString::number(cls) : QString(QChar(64 + cls));
}

} // namespace

std::vector<bool> defaultChecks(const EvaluationSession &session, int cls) {
    std::vector<bool> checks(kSeatsPerClass, false);
    if (!isClass(cls))
        return checks;
    for (int n = 1; n <= kSeatsPerClass; ++n) {
        const QString &name = session.nameOf(slotOf(cls, n));
        checks[std::size_t(n - 1)] = !name.isEmpty() && name != QStringLiteral("＊");
    }
    return checks;
}

QString marksText(const EvaluationSession &session, int period, int cls, const std::vector<int> &numbers,
                  bool addAchievement) {
    if (!isPeriod(period) || !isClass(cls))
        return {};
    QString text;
    for (int n : numbers) {
        if (!isNumber(n))
            continue;
        const StudentResult &r = session.results().at(period, cls, n);
        for (int v = 0; v < 3; ++v)
            text += TabText::cleanCell(r.marks[std::size_t(v)]) + u'\t';
        text += TabText::cleanCell(r.evaluation) + QStringLiteral("\t\t");
        if (addAchievement && r.percentage > -1.0f)
            text += numbertext::fixed(double(r.percentage), 1, 5) + QStringLiteral("%|");
        text += TabText::cleanCell(r.comment) + QStringLiteral("\r\n");
    }
    return text;
}

QString excelText(const GradePeriodResults &results, const std::vector<int> &classes,
                  const QString &periodCaption, bool classType) {
    TabText t;
    t.emptyCells(2).cell(periodCaption).cell(QString::number(results.grade) + QStringLiteral("年")).endRow();
    t.cell(QStringLiteral("組")).cell(QStringLiteral("番")).cell(QStringLiteral("氏名"));
    for (int block = 0; block < 3; ++block)
        for (const QString &subject : results.displaySubjects)
            t.cell(subject);
    t.endRow();
    if (results.entries.empty())
        return t.text();
    const int subjects = int(results.displaySubjects.size());
    for (int cls : classes) {
        if (!isClass(cls))
            continue;
        for (int n = 1; n <= kSeatsPerClass; ++n) {
            const int slot = slotOf(cls, n);
            t.cell(classText(classType, cls)).cell(n).cell(results.names[std::size_t(slot)]);
            for (int d = 0; d < subjects; ++d)
                t.cell(results.entry(results.fileSubjectFor(d, slot), slot).evaluation);
            for (int d = 0; d < subjects; ++d) {
                const float p = results.entry(results.fileSubjectFor(d, slot), slot).percentage;
                t.cell(p > -1.0f ? generalNumber(double(p)) : QString());
            }
            for (int d = 0; d < subjects; ++d)
                t.cell(results.entry(results.fileSubjectFor(d, slot), slot).comment);
            t.endRow();
        }
    }
    return t.text();
}

QString generalNumber(double value) {
    QString s = numbertext::general(value, 15);
    const qsizetype e = s.indexOf(u'E');
    if (e < 0)
        return s;
    // "1E+15" → "1E15", "1E-05" → "1E-5".
    QString mantissa = s.left(e);
    QString exponent = s.mid(e + 1);
    const bool negative = exponent.startsWith(u'-');
    if (exponent.startsWith(u'+') || negative)
        exponent.remove(0, 1);
    while (exponent.size() > 1 && exponent.startsWith(u'0'))
        exponent.remove(0, 1);
    return mantissa + u'E' + (negative ? QStringLiteral("-") : QString()) + exponent;
}

QString clipboardCopiedMessage() {
    return QStringLiteral("クリップボードへのコピーが終わりました。");
}

QString transferredMessage() {
    return QStringLiteral("転送が終わりました");
}

} // namespace tavro::exchange
