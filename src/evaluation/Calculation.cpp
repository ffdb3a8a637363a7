#include "evaluation/Calculation.h"

#include "common/Rounding.h"
#include "common/Width.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <cmath>

namespace tavro {

namespace {

const QString kCaption = QStringLiteral("TAVRO");
const QChar kMovedAway(0xFF0A); // ＊

} // namespace

bool EvaluationSheet::excluded(int slot) const {
    if (slot < 0 || std::size_t(slot) >= names.size())
        return true;
    const QString &name = names[std::size_t(slot)];
    return name.isEmpty() || name.startsWith(kMovedAway);
}

bool ResultTarget::save(const EvaluationResults &results, QString *error) const {
    if (elective)
        return ElectiveResultFile::save(paths::electiveResultFile(dataFolder, nendo, grade, kyouka), results,
                                        memberSlots, error);
    return ClassResultFile::saveClasses(dataFolder, nendo, grade, kyouka, chargeClasses, results, error);
}

namespace calculation {

QString resultsSaveFailedMessage(const QString &error) {
    return QStringLiteral("評定の保存ができませんでした。評定ファイルはどれも変更していません。\r\n") + error;
}

QString alreadyCalculatedText() {
    return QStringLiteral(
        "すでに評定が算出されています。\r\n\r\n提出資料の印刷後に再度評定計算を実行する場合は、"
        "\r\n日付の入った提出資料は、すべて印刷し直す必要があります。\r\n\r\n本当に評定計算を"
        "実行しますか?");
}
QString estimateRequiredText() {
    return QStringLiteral(
        "『要見込み点』が解消されていません。\r\n［得点入力］で、見込み点を設定してください。"
        "\r\n\r\n評定算出を中止します。");
}
QString fullScoreMissingText() {
    return QStringLiteral(
        "満点を設定していない項目があります。\r\n［満点・項目割合］で、満点を設定してください。"
        "\r\n\r\n評定算出を中止します。");
}
QString aboveFullScoreText() {
    return QStringLiteral(
        "満点を超えた得点があります。\r\n満点を超えた得点には［+］の記号がついています。\r\n"
        "項目の得点を確認してください。\r\n\r\nそれでも評定算出を続けますか?");
}
QString viewpointRatioMissingText() {
    return QStringLiteral("観点の割合が設定されていません。\r\n［観点割合］で、観点の割合を設定してください。"
                          "\r\n\r\n評定算出を中止します。");
}
QString itemRatioMissingText() {
    return QStringLiteral(
        "項目の割合が設定されていません。\r\n［満点・項目割合］で、項目の割合を設定してください。"
        "\r\n\r\n評定算出を中止します。");
}

double borderRounded(float percentage, int borderRound) {
    switch (borderRound) {
    case 1:
        return std::trunc(double(percentage) + 0.5);
    case 2:
        return std::ceil(double(percentage));
    case 3: {
        // In single precision, as the percentage is held: 79.95 reaches 80, 79.94 does not.
        const float shifted = percentage + 0.05f;
        return std::trunc(double(shifted));
    }
    default:
        return percentage;
    }
}

QString symbolFor(const SymbolPattern &pattern, double compared) {
    for (int j = 1; j <= 10; ++j) {
        const int bound = j <= 9 ? pattern.cutPoint[std::size_t(j - 1)] : 0;
        if (bound == 0 || compared >= bound)
            return pattern.kigou[std::size_t(j - 1)];
    }
    return QString();
}

void phase1(EvaluationSheet &sheet, int k) {
    const Worksheet &w = sheet.worksheet;
    const std::size_t count = sheet.rows.size();
    std::vector<std::array<float, kViewpoints>> sums(count);
    std::vector<std::array<std::int64_t, kViewpoints>> weights(count);
    std::vector<char> skip(count, 0), any(count, 0);
    for (auto &s : sums)
        s.fill(0.0f);
    for (auto &s : weights)
        s.fill(0);
    for (int item = 1; item <= kMaxItems; ++item) {
        const std::int64_t full = w.item(item).fullScore;
        int active[kViewpoints];
        std::int64_t ratio[kViewpoints];
        int activeCount = 0;
        for (int v = 1; v <= kViewpoints; ++v) {
            const std::int64_t r = w.itemRatio(item, k, v);
            if (r >= 1 && full >= 1) {
                active[activeCount] = v - 1;
                ratio[activeCount++] = r;
            }
        }
        const std::int32_t *scores = w.itemScores(item);
        for (std::size_t r = 0; r < count; ++r) {
            std::int64_t t = scores[sheet.rows[r]];
            if (t == score::kEmpty && activeCount == 0)
                continue;
            if (t != score::kEmpty)
                any[r] = 1;
            if (t <= score::kEstimateBase)
                t = -t + score::kEstimateBase;
            if (t > full)
                t = full;
            if (t == score::kTransferred) {
                skip[r] = 1;
                continue;
            }
            if (t == score::kEmpty || t == score::kAbsent || t == score::kNotSubmitted)
                t = 0;
            if (t < 0)
                continue;
            for (int a = 0; a < activeCount; ++a) {
                float &sum = sums[r][std::size_t(active[a])];
                sum = float(double(sum) + double(t) * double(ratio[a]) / double(full));
                weights[r][std::size_t(active[a])] += ratio[a];
            }
        }
    }
    for (std::size_t r = 0; r < count; ++r) {
        const int slot = sheet.rows[r];
        StudentResult &result = sheet.results.at(k, slot);
        const bool none = skip[r] || !any[r] || sheet.excluded(slot);
        for (int v = 0; v < kViewpoints; ++v) {
            const std::int64_t weight = weights[r][std::size_t(v)];
            if (none || weight < 1) {
                result.viewpointPercentages[std::size_t(v)] = kNoPercentage;
                result.marks[std::size_t(v)].clear();
                continue;
            }
            const double p = double(sums[r][std::size_t(v)]) * 100.0 / double(weight);
            result.viewpointPercentages[std::size_t(v)] = p > 100.0 ? 100.0f : float(p);
        }
    }
}

void assign(EvaluationSheet &sheet, int k) {
    const YearSettings &s = sheet.settings;
    const int h = sheet.patterns().hyouteiPatern[std::size_t(k - 1)];
    const int q = sheet.patterns().kantenPatern[std::size_t(k - 1)];
    const int round = s.borderRound;
    for (int slot : sheet.rows) {
        StudentResult &res = sheet.results.at(k, slot);
        const bool excluded = sheet.excluded(slot);
        for (int v = 0; v < kViewpoints; ++v) {
            float &p = res.viewpointPercentages[std::size_t(v)];
            QString &mark = res.marks[std::size_t(v)];
            if (p > kNoPercentage && !excluded) {
                // Without a viewpoint pattern no mark is assigned, and none from an earlier calculation
                // is left standing.
                if (q >= 1 && q <= 5)
                    mark = symbolFor(s.patterns[std::size_t(q - 1)], borderRounded(p, round));
                else
                    mark.clear();
            } else {
                p = kNoPercentage;
                mark.clear();
            }
        }
        double total = 0;
        std::int64_t weight = 0;
        if (h == 6) {
            std::int64_t points = 0;
            for (int v = 0; v < kViewpoints; ++v) {
                const float p = res.viewpointPercentages[std::size_t(v)];
                if (!(p > kNoPercentage))
                    continue;
                const std::int64_t ratio = sheet.worksheet.viewpointRatio(k, v + 1);
                const std::int64_t u = ratio != 0 ? ratio : 1;
                total += double(u) * double(p);
                const QString first = width::toHalfWidth(res.marks[std::size_t(v)]).left(1);
                if (first == QLatin1String("A"))
                    points += u * (sheet.elective ? 3 : 5);
                else if (first == QLatin1String("B"))
                    points += u * (sheet.elective ? 2 : 3);
                else if (first == QLatin1String("C"))
                    points += u;
                weight += u;
            }
            if (points < 1 || weight == 0) {
                res.evaluation.clear();
                res.percentage = kNoPercentage;
                continue;
            }
            res.percentage = float(total / double(weight));
            std::int64_t g = 0;
            if (s.kanHyouHenkan == 0)
                g = rounding::addHalfTruncate(double(points) / double(weight));
            else
                g = rounding::halfEven(double(points) * 10.0 / double(weight)) / 10;
            res.evaluation = sheet.elective ? QString(QChar(char16_t(68 - g))) : QString::number(g);
            continue;
        }
        for (int v = 0; v < kViewpoints; ++v) {
            const float p = res.viewpointPercentages[std::size_t(v)];
            if (!(p > kNoPercentage))
                continue;
            const std::int64_t ratio = sheet.worksheet.viewpointRatio(k, v + 1);
            if (ratio != 0) {
                total += double(ratio) * double(p);
                weight += ratio;
            } else {
                total += double(p);
                weight += 1;
            }
        }
        if (weight < 1 || h < 1 || h > 5) {
            res.evaluation.clear();
            res.percentage = kNoPercentage;
            continue;
        }
        res.percentage = float(total / double(weight));
        res.evaluation = symbolFor(s.patterns[std::size_t(h - 1)], borderRounded(res.percentage, round));
    }
}

namespace {

Report stampAndSave(EvaluationSheet &sheet, int k, Prompter &prompter, const Clock &clock,
                    const ResultTarget *target) {
    Report report;
    sheet.results.dateTime(k) = toDayCount(clock.now());
    report.dateTime = sheet.results.dateTime(k);
    report.outcome = Outcome::Calculated;
    if (target && !target->save(sheet.results, &report.saveError)) {
        report.outcome = Outcome::SaveFailed;
        prompter.message(kCaption, resultsSaveFailedMessage(report.saveError), Prompter::Icon::Error);
    }
    return report;
}

} // namespace

Report calculate(EvaluationSheet &sheet, int k, Prompter &prompter, const Clock &clock,
                 const ResultTarget *target) {
    Report stopped;
    if (!isPeriod(k))
        return stopped;
    if (sheet.results.dateTime(k) > 0 &&
        prompter.ask(kCaption, alreadyCalculatedText(), Prompter::Buttons::YesNo, Prompter::Answer::No,
                     Prompter::Icon::Question) != Prompter::Answer::Yes)
        return stopped;

    const Worksheet &w = sheet.worksheet;
    bool absent = false, fullMissing = false, aboveFull = false;
    std::int64_t itemRatioSum = 0;
    for (int item = 1; item <= kMaxItems; ++item) {
        bool counts = false;
        for (int v = 1; v <= kViewpoints; ++v) {
            const std::int32_t r = w.itemRatio(item, k, v);
            itemRatioSum += r;
            counts = counts || r >= 1;
        }
        if (!counts)
            continue;
        const int full = w.item(item).fullScore;
        if (full == 0)
            fullMissing = true;
        const std::int32_t *scores = w.itemScores(item);
        for (int slot : sheet.rows) {
            const std::int32_t t = scores[slot];
            if (t == score::kAbsent)
                absent = true;
            else if (full >= 1 && t > full)
                aboveFull = true;
        }
    }
    if (absent) {
        prompter.message(kCaption, estimateRequiredText(), Prompter::Icon::Warning);
        return stopped;
    }
    if (fullMissing) {
        prompter.message(kCaption, fullScoreMissingText(), Prompter::Icon::Warning);
        return stopped;
    }
    if (aboveFull && prompter.ask(kCaption, aboveFullScoreText(), Prompter::Buttons::OkCancel,
                                  Prompter::Answer::Cancel, Prompter::Icon::Warning) != Prompter::Answer::Ok)
        return stopped;
    std::int64_t viewpointRatioSum = 0;
    for (int v = 1; v <= kViewpoints; ++v)
        viewpointRatioSum += w.viewpointRatio(k, v);
    if (sheet.patterns().hyouteiPatern[std::size_t(k - 1)] < 6 && viewpointRatioSum == 0 &&
        prompter.ask(kCaption, viewpointRatioMissingText(), Prompter::Buttons::YesNo, Prompter::Answer::Yes,
                     Prompter::Icon::Warning) != Prompter::Answer::No)
        return stopped;
    if (itemRatioSum == 0 &&
        prompter.ask(kCaption, itemRatioMissingText(), Prompter::Buttons::YesNo, Prompter::Answer::Yes,
                     Prompter::Icon::Warning) != Prompter::Answer::No)
        return stopped;

    phase1(sheet, k);
    assign(sheet, k);
    return stampAndSave(sheet, k, prompter, clock, target);
}

Report phase2(EvaluationSheet &sheet, int k, Prompter &prompter, const Clock &clock,
              const ResultTarget *target) {
    if (!isPeriod(k))
        return Report{};
    assign(sheet, k);
    return stampAndSave(sheet, k, prompter, clock, target);
}

} // namespace calculation
} // namespace tavro
