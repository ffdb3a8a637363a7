#include "reports/Conference.h"

#include "common/Cp932.h"
#include "evaluation/Worksheet.h"
#include "platform/Prompter.h"

#include <QJsonArray>

#include <algorithm>

namespace tavro::reports {

namespace {

const QString kMovedAwayOnly = QStringLiteral("＊");
constexpr int kStudentsPerPage = 45;

} // namespace

ConferenceData ConferenceData::load(const QString &dataFolder, int nendo, int grade, int schoolKind,
                                    int period, const QString &periodCaption, const QString &schoolName,
                                    bool classType, Prompter *prompter) {
    ConferenceData d;
    d.nendo = nendo;
    d.grade = grade;
    d.period = period;
    d.periodCaption = periodCaption;
    d.schoolName = schoolName;
    d.classType = classType;
    QString error;
    if (!GradePeriodResults::load(dataFolder, nendo, grade, schoolKind, period, d.results, prompter,
                                  &error) &&
        prompter)
        prompter->message(QStringLiteral("TAVRO"), error, Prompter::Icon::Warning);
    d.classCount = d.results.classCount;
    d.displaySubjects = d.results.displaySubjects;
    d.names = d.results.names;
    d.names.resize(kSlots);
    return d;
}

QString ConferenceData::classLabel(int cls) const {
    return classType ? QString::number(cls) : QString(QChar(64 + cls));
}

QString ConferenceData::comment(int display, int slot) const {
    const int pe = results.physicalEducation;
    if (results.entries.empty())
        return {};
    if (display == pe) {
        const QString &boys = results.entry(display, slot).comment;
        return boys.isEmpty() ? results.entry(display + 1, slot).comment : boys;
    }
    return results.entry(display < pe ? display : display + 1, slot).comment;
}

std::vector<int> ConferenceData::listedNumbers(int cls) const {
    std::vector<int> numbers;
    for (int n = 1; n <= kSeatsPerClass; ++n)
        if (!names[std::size_t(slotOf(cls, n))].isEmpty())
            numbers.push_back(n);
    return numbers;
}

int ConferenceData::pageCount(const std::vector<int> &classes) const {
    int pages = 0;
    for (int cls : classes)
        pages += std::max(1, (int(listedNumbers(cls).size()) + kStudentsPerPage - 1) / kStudentsPerPage);
    return pages;
}

int ConferenceData::printableCount(const std::vector<int> &classes) const {
    int count = 0;
    for (int cls : classes)
        for (int n = 1; n <= kSeatsPerClass; ++n) {
            const QString &name = names[std::size_t(slotOf(cls, n))];
            count += !name.isEmpty() && name != kMovedAwayOnly;
        }
    return count;
}

QString selectClassMessage() {
    return QStringLiteral("学級を選択してください。");
}

CommentLines splitComment(const PageCanvas &canvas, const QString &comment, int limit) {
    CommentLines lines;
    int cut = int(comment.size());
    for (int i = 1; i <= comment.size(); ++i)
        if (canvas.textWidth(comment.left(i)) > limit) {
            cut = i;
            break;
        }
    lines.first = comment.left(cut);
    QString rest = comment.mid(cut);
    if (canvas.textWidth(rest) > limit) {
        const QString ellipsis = QStringLiteral("…");
        while (!rest.isEmpty() && canvas.textWidth(rest + ellipsis) > limit)
            rest.chop(1);
        rest += ellipsis;
    }
    lines.rest = rest;
    return lines;
}

PrintOutcome printConference(const ConferenceData &data, const std::vector<int> &classes, PrintTarget &target,
                             Prompter &prompter, const QDateTime &now) {
    PrintOutcome outcome;
    if (classes.empty()) {
        prompter.message(QStringLiteral("TAVRO"), selectClassMessage());
        return outcome;
    }
    const int count = data.printableCount(classes);
    if (count == 0) {
        outcome.error = QStringLiteral("印刷する生徒がいません。");
        return outcome;
    }
    PrintTarget::Job job;
    job.title = jobTitle(QStringLiteral("懇談資料A"));
    job.orientation = PageCanvas::Orientation::Landscape;
    job.fromPage = 1;
    job.toPage = data.pageCount(classes);
    const PrintTarget::Opened opened = beginPrint(target, job, outcome);
    if (!opened.canvas)
        return outcome;
    const int fromPage = opened.fromPage > 0 ? opened.fromPage : 1;
    const int toPage = opened.fromPage > 0 ? std::min(opened.toPage, job.toPage) : job.toPage;
    int pageNumber = 0;
    PageCanvas &canvas = *opened.canvas;
    Page page(canvas, PageGrid::fromUnits(canvas, 50, 50, 55, 22));
    const int dpiX = canvas.dpiX();
    const int limit = pixels(17 * 22, dpiX);
    bool first = true;
    for (int cls : classes) {
        const std::vector<int> students = data.listedNumbers(cls);
        // A page per 45 students, at least one per class.
        const std::size_t pages =
            std::max<std::size_t>(1, (students.size() + kStudentsPerPage - 1) / kStudentsPerPage);
        for (std::size_t p = 0; p < pages; ++p) {
            ++pageNumber;
            if (pageNumber < fromPage || pageNumber > toPage)
                continue;
            const std::size_t from = p * kStudentsPerPage;
            if (!first && !nextPrintPage(canvas, outcome))
                return outcome;
            first = false;
            ++outcome.pages;
            page.font(kGothic, 10);
            page.text(0, 0, data.periodCaption + QStringLiteral(" 懇談資料"));
            page.text(90, 0,
                      QStringLiteral("%1 %2年度 %3年 %4組 ")
                          .arg(data.schoolName)
                          .arg(data.nendo)
                          .arg(data.grade)
                          .arg(data.classLabel(cls)));
            page.font(kMincho, 8);
            page.text(140, 1, QStringLiteral("印刷日時： ") + eraDateTime(now));
            for (int j = 0; j < int(data.displaySubjects.size()); ++j)
                page.text(18 * (j + 1) + 8, 3, data.displaySubjects[j]);
            const std::size_t to = std::min(students.size(), from + kStudentsPerPage);
            for (std::size_t i = from; i < to; ++i) {
                const int k = int(i - from) + 1;
                const int n = students[i];
                const int slot = slotOf(cls, n);
                page.font(kMincho, 8);
                page.text(1, k + 3,
                          (n < 10 ? QStringLiteral(" ") : QString()) + QString::number(n) + u' ' +
                              data.names[std::size_t(slot)]);
                page.font(kMincho, 4);
                for (int j = 0; j < int(data.displaySubjects.size()); ++j) {
                    const QString c = data.comment(j, slot);
                    if (c.isEmpty())
                        continue;
                    const CommentLines lines = splitComment(canvas, c, limit);
                    page.text(18 * (j + 1) + 3, k + 3, lines.first);
                    if (!lines.rest.isEmpty())
                        canvas.text(page.grid().x(18 * (j + 1) + 3),
                                    page.grid().y(k + 3) + page.grid().rowHeight / 2, lines.rest);
                }
            }
            for (int row = 3; row <= 49; ++row) {
                const int k = row - 3;
                const bool thick =
                    k >= 1 && std::size_t(k) <= to - from && students[from + std::size_t(k - 1)] % 5 == 1;
                if (thick)
                    page.thick();
                page.horizontalLine(0, 183, row);
                if (thick)
                    page.thin();
            }
            page.verticalLine(0, 3, 49);
            for (int m = 0; m <= 9; ++m)
                page.verticalLine(21 + 18 * m, 3, 49);
        }
    }
    endPrint(canvas, outcome);
    return outcome;
}

QJsonObject conferenceJson(const ConferenceData &data, const std::vector<int> &classes) {
    QJsonArray list;
    for (int cls : classes) {
        QJsonArray students;
        for (int n = 1; n <= kSeatsPerClass; ++n) {
            const int slot = slotOf(cls, n);
            const QString &name = data.names[std::size_t(slot)];
            if (name.isEmpty())
                continue;
            QJsonArray comments;
            for (int j = 0; j < int(data.displaySubjects.size()); ++j)
                comments.append(data.comment(j, slot));
            students.append(QJsonObject{{QStringLiteral("number"), n},
                                        {QStringLiteral("name"), name},
                                        {QStringLiteral("comments"), comments}});
        }
        list.append(QJsonObject{{QStringLiteral("class"), cls},
                                {QStringLiteral("label"), data.classLabel(cls) + QStringLiteral("組")},
                                {QStringLiteral("students"), students}});
    }
    return QJsonObject{{QStringLiteral("pageRange"), QJsonArray{1, data.pageCount(classes)}},
                       {QStringLiteral("classes"), list}};
}

} // namespace tavro::reports
