#include "evaluation/GradeHyouteiStore.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/NumberText.h"
#include "common/TabText.h"
#include "config/Electives.h"
#include "config/YearSettings.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/GradeSubjects.h"

#include <QJsonArray>
#include <algorithm>

namespace tavro {

namespace {

const QString kDuplicate = QStringLiteral("★重複");
const QString kCircled = QStringLiteral("①②③④⑤⑥");

// Takes the entries of one period of a class result file into the store's slots.
struct RequiredSink {
    int period;
    int cls;
    std::vector<GradeHyouteiStore::Required>::iterator subject; // slot 0 of the subject
    double &calculated;
    GradeHyouteiStore::Required &at(int n) { return subject[slotOf(cls, n)]; }
    void evaluation(int k, int n, const char *d, int size) {
        if (k == period)
            at(n).evaluation = format::decodeText(d, size);
    }
    void percentage(int k, int n, float v) {
        if (k == period)
            at(n).percentage = v;
    }
    void mark(int k, int n, int v, const char *d, int size) {
        if (k == period)
            at(n).marks[std::size_t(v - 1)] = format::decodeText(d, size);
    }
    void viewpointPercentage(int k, int n, int v, float p) {
        if (k == period)
            at(n).viewpointPercentages[std::size_t(v - 1)] = p;
    }
    void comment(int, int, const char *, int) {}
    void dateTime(int k, double v) {
        if (k == period)
            calculated = v;
    }
};

QJsonArray floats(const std::array<float, kViewpoints> &values) {
    QJsonArray a;
    for (float v : values)
        a.append(double(v));
    return a;
}

QJsonArray texts(const std::array<QString, kViewpoints> &values) {
    QJsonArray a;
    for (const QString &v : values)
        a.append(v);
    return a;
}

QString percentText(float v) {
    return v < 0 ? QString() : numbertext::fixed(double(v), 0, 3);
}

} // namespace

bool GradeHyouteiStore::Required::holdsResult() const {
    if (!evaluation.isEmpty() || percentage != kNoPercentage)
        return true;
    return std::any_of(marks.begin(), marks.end(), [](const QString &m) { return !m.isEmpty(); });
}

GradeHyouteiStore::GradeHyouteiStore() {
    reset();
}

void GradeHyouteiStore::reset() {
    m_classCount = 0;
    m_ichiranHoukou = 1;
    m_names.assign(kSlots, QString());
    m_required.assign(std::size_t(kFileSubjects) * kSlots, Required());
    for (auto &subject : m_dateTimes)
        subject.fill(0);
    m_records.assign(1, Record());
    m_electives.clear();
    m_best.assign(std::size_t(kSlots) * kDisplaySubjects, 0);
    m_studentRecords.assign(kSlots, {});
    m_subjectElectives.assign(std::size_t(kSlots) * kDisplaySubjects, QString());
    m_cells.assign(kSlots, {});
    m_messages.clear();
    m_limits.clear();
    m_limitExceeded = false;
}

QString GradeHyouteiStore::limitMessage() {
    return QStringLiteral("データが上限を超えたため、すべては読み込めませんでした。");
}

void GradeHyouteiStore::load(const Inputs &inputs) {
    reset();
    m_inputs = inputs;
    m_fileSubjects = gradesubjects::fileSubjects(inputs.schoolKind);
    m_displaySubjects = gradesubjects::displaySubjects(inputs.schoolKind);
    const YearSettings settings = YearSettings::load(inputs.dataFolder, inputs.nendo);
    const bool validGrade = inputs.grade >= 1 && inputs.grade <= 6;
    m_classCount =
        validGrade ? std::clamp(settings.classCount[std::size_t(inputs.grade - 1)], 0, kMaxClasses) : 0;
    if (validGrade && settings.classCount[std::size_t(inputs.grade - 1)] > kMaxClasses)
        limitReached(QStringLiteral("学級は%1組まで").arg(kMaxClasses));
    m_ichiranHoukou = settings.ichiranHoukou;
    if (!validGrade || !isPeriod(inputs.period))
        return;
    m_names = roster::readNames(inputs.dataFolder, inputs.nendo, inputs.grade);
    m_names.resize(kSlots);
    loadRequired();
    loadElectives();
    if (m_limitExceeded)
        m_messages.append(limitMessage() + QStringLiteral("\r\n") + m_limits.join(QStringLiteral("、")));
}

void GradeHyouteiStore::limitReached(const QString &what) {
    m_limitExceeded = true;
    if (!m_limits.contains(what))
        m_limits.append(what);
}

void GradeHyouteiStore::loadRequired() {
    bool warned = false;
    for (int s = 0; s < kFileSubjects; ++s)
        for (int cls = 1; cls <= m_classCount; ++cls) {
            const QString path = paths::resolveExisting(paths::classResultFile(
                m_inputs.dataFolder, m_inputs.nendo, m_inputs.grade, cls, m_fileSubjects[s]));
            QByteArray bytes;
            if (!paths::fileExists(path) || !readWholeFile(path, bytes))
                continue;
            ReadReport report;
            RequiredSink sink{m_inputs.period, cls, m_required.begin() + std::ptrdiff_t(s) * kSlots,
                              m_dateTimes[std::size_t(s)][std::size_t(cls - 1)]};
            format::parseClassResult(bytes, sink, report);
            if (report.tooNew && !warned) {
                m_messages.append(tooNewVersionMessage());
                warned = true;
            }
        }
}

int GradeHyouteiStore::subjectSlotOf(const QString &name) const {
    for (int d = 0; d < kDisplaySubjects; ++d)
        if (name.indexOf(m_displaySubjects[d]) > 0)
            return d + 1;
    return 0;
}

void GradeHyouteiStore::loadElectives() {
    const QStringList lines = electives::readLines(m_inputs.dataFolder, m_inputs.nendo);
    QStringList unsafe;
    for (const QString &line : lines) {
        if (electives::gradeOf(line) != m_inputs.grade)
            continue;
        const QString name = electives::nameOf(line);
        if (!paths::isSafeName(name)) {
            unsafe.append(name);
            continue;
        }
        if (int(m_electives.size()) >= kMaxElectives) {
            limitReached(QStringLiteral("選択教科は%1まで").arg(kMaxElectives));
            break;
        }
        Elective e;
        e.number = int(m_electives.size()) + 1;
        e.name = name;
        e.displayName = cp932::midBytes(name, 4);
        e.subjectSlot = subjectSlotOf(name);
        m_electives.push_back(e);

        QStringList memberLines;
        memberlist::read(m_inputs.dataFolder, m_inputs.nendo, m_inputs.grade, name, memberLines);
        QList<int> seen;
        for (int code : memberlist::members(memberLines)) {
            const int cls = code / 100;
            if (cls > m_classCount || seen.contains(code))
                continue;
            seen.append(code);
            addMember(slotOf(cls, code % 100), e);
        }
        if (!loadElectiveResults(m_electives.back(), name))
            break;
    }
    if (!unsafe.isEmpty())
        m_messages.append(electives::skippedNamesMessage(unsafe));
}

void GradeHyouteiStore::addMember(int slot, const Elective &e) {
    std::vector<ElectiveCell> &cells = m_cells[std::size_t(slot)];
    if (int(cells.size()) < kRecordsPerStudent)
        cells.push_back({e.displayName, QString()});
    else
        limitReached(QStringLiteral("一人の選択教科は%1まで").arg(kRecordsPerStudent));
    if (e.subjectSlot > 0) {
        QString &cell = m_subjectElectives[std::size_t(slot * kDisplaySubjects + e.subjectSlot - 1)];
        cell = cell.isEmpty() ? e.displayName : kDuplicate;
    }
}

bool GradeHyouteiStore::loadElectiveResults(Elective &e, const QString &name) {
    const QString path = paths::resolveExisting(
        paths::electiveResultFile(m_inputs.dataFolder, m_inputs.nendo, m_inputs.grade, name));
    QByteArray bytes;
    if (!paths::fileExists(path) || !readWholeFile(path, bytes))
        return true;

    struct Sink {
        GradeHyouteiStore &store;
        Elective &e;
        const QString &name;
        void record(int k, int cls, int n, const SentakuRecord &rec) {
            if (k == store.m_inputs.period)
                store.addRecord(e, name, cls, n, rec);
        }
        void comment(int, int, int, const char *, int) {}
        void dateTime(int k, double v) {
            if (k == store.m_inputs.period)
                e.dateTime = v;
        }
    } sink{*this, e, name};
    ReadReport report;
    format::parseElectiveResult(bytes, sink, report);
    if (report.tooNew) {
        m_messages.append(tooNewVersionMessage());
        return false;
    }
    e.loaded = true;
    return true;
}

void GradeHyouteiStore::addRecord(const Elective &e, const QString &name, int cls, int n,
                                  const SentakuRecord &rec) {
    const int slot = slotOf(cls, n);
    std::vector<int> &list = m_studentRecords[std::size_t(slot)];
    // A student listed twice in one file keeps the first record.
    for (int index : list)
        if (m_records[std::size_t(index)].elective == e.number)
            return;
    if (int(m_records.size()) > kMaxRecords) {
        limitReached(QStringLiteral("選択教科の評定は%1件まで").arg(kMaxRecords));
        return;
    }
    if (int(list.size()) >= kRecordsPerStudent) {
        limitReached(QStringLiteral("一人の選択教科は%1まで").arg(kRecordsPerStudent));
        return;
    }
    Record r;
    r.subjectSlot = e.subjectSlot;
    r.percentage = rec.percentage;
    r.evaluation = format::decodeText(rec.evaluation);
    for (int v = 0; v < kViewpoints; ++v) {
        r.viewpointPercentages[std::size_t(v)] = rec.viewpointPercentages[std::size_t(v)];
        r.marks[std::size_t(v)] = format::decodeText(rec.marks[std::size_t(v)]);
    }
    r.elective = e.number;
    r.cls = cls;
    r.number = n;
    const int index = int(m_records.size());
    m_records.push_back(std::move(r));
    const Record &added = m_records.back();
    for (int d = 0; d < kDisplaySubjects; ++d) {
        if (name.indexOf(m_displaySubjects[d]) <= 0)
            continue;
        int &best = m_best[std::size_t(slot * kDisplaySubjects + d)];
        // Strictly greater: on a tie the earlier elective stays, and no achievement never wins.
        if (added.percentage > m_records[std::size_t(best)].percentage)
            best = index;
    }
    list.push_back(index);
    for (ElectiveCell &cell : m_cells[std::size_t(slot)])
        if (cell.name == e.displayName)
            cell.evaluation = added.evaluation;
}

const GradeHyouteiStore::Required &GradeHyouteiStore::displayRequired(int d, int slot) const {
    const int pe = gradesubjects::physicalEducation(m_inputs.schoolKind);
    if (d == pe) {
        const Required &boys = required(pe, slot);
        return boys.holdsResult() ? boys : required(pe + 1, slot);
    }
    return required(gradesubjects::fileOfDisplay(m_inputs.schoolKind, d), slot);
}

QString GradeHyouteiStore::composite(int slot) const {
    int count = 0, sum = 0;
    for (int s = 0; s < kFileSubjects; ++s) {
        const QString &e = required(s, slot).evaluation;
        if (!e.isEmpty() && e.at(0) >= u'1' && e.at(0) <= u'5') {
            ++count;
            sum += e.at(0).unicode() - u'0';
        }
    }
    if (count != 9)
        return QString();
    return u' ' + QString(QChar(char16_t(65 + int((315 - 7 * sum) / 20.0))));
}

int GradeHyouteiStore::gridColumns(int grid) {
    return grid == 1 ? 24 : grid == 2 ? 21 : 103;
}

QString GradeHyouteiStore::gridText(int grid, int row, int column) const {
    if (row < 0 || row >= gridRows() || column < 0 || column >= gridColumns(grid))
        return QString();
    if (row == 0) {
        switch (column) {
        case 0:
            return QStringLiteral("学級");
        case 1:
            return QStringLiteral("番号");
        case 2:
            return QStringLiteral("氏    名");
        default:
            break;
        }
        const int i = (column - 1) / 2; // subject or column pair from 1
        const bool first = column % 2 == 1;
        if (grid == 1) {
            if (column == 23)
                return QString();
            return first ? m_fileSubjects[i - 1].left(2) : QStringLiteral("％");
        }
        if (grid == 2)
            return first ? m_displaySubjects[i - 1] : QStringLiteral("評定");
        return first ? QStringLiteral("教科名") : QStringLiteral("評定");
    }
    const int slot = row - 1;
    switch (column) {
    case 0:
        return roster::classLabel(slot, m_inputs.classType);
    case 1:
        return roster::numberLabel(slot);
    case 2:
        return m_names[std::size_t(slot)];
    default:
        break;
    }
    const int i = (column - 1) / 2;
    const bool first = column % 2 == 1;
    if (grid == 1) {
        if (column == 23)
            return composite(slot);
        const Required &r = required(i - 1, slot);
        return first ? r.evaluation : percentText(r.percentage);
    }
    if (grid == 2) {
        if (first)
            return subjectElective(slot, i - 1);
        return m_records[std::size_t(best(slot, i - 1))].evaluation;
    }
    const std::vector<ElectiveCell> &cells = m_cells[std::size_t(slot)];
    if (i > int(cells.size()))
        return QString();
    return first ? cells[std::size_t(i - 1)].name : cells[std::size_t(i - 1)].evaluation;
}

QString GradeHyouteiStore::copyText(bool viewpoints) const {
    TabText t(TabText::Style::Terminated);
    t.cell(QString()).cell(QString()).cell(m_inputs.periodName).cell(QString::number(m_inputs.grade) + u'年');
    t.endRow();
    t.cell(QStringLiteral("組")).cell(QStringLiteral("番")).cell(QStringLiteral("氏名"));
    auto labels = [&] {
        if (viewpoints)
            for (QChar c : kCircled)
                t.cell(QString(c));
    };
    for (const QString &d : m_displaySubjects) {
        t.cell(d);
        labels();
    }
    for (const QString &d : m_displaySubjects) {
        t.cell(u'選' + d.left(1));
        labels();
    }
    t.endRow();
    for (int cls = 1; cls <= m_classCount; ++cls)
        for (int n = 1; n <= kSeatsPerClass; ++n) {
            const int slot = slotOf(cls, n);
            t.cell(m_inputs.classType ? QString::number(cls) : QString(QChar(char16_t(64 + cls))));
            t.cell(n);
            t.cell(m_names[std::size_t(slot)]);
            for (int d = 0; d < kDisplaySubjects; ++d) {
                const Required &r = displayRequired(d, slot);
                t.cell(r.evaluation);
                if (viewpoints)
                    for (const QString &m : r.marks)
                        t.cell(m);
            }
            for (int d = 0; d < kDisplaySubjects; ++d) {
                const int b = best(slot, d);
                if (b == 0) {
                    t.emptyCells(viewpoints ? 1 + kViewpoints : 1);
                    continue;
                }
                const Record &r = m_records[std::size_t(b)];
                t.cell(r.evaluation);
                if (viewpoints)
                    for (const QString &m : r.marks)
                        t.cell(m);
            }
            t.endRow();
        }
    return t.text();
}

QJsonObject GradeHyouteiStore::toJson() const {
    QJsonObject o;
    o.insert(QStringLiteral("grade"), m_inputs.grade);
    o.insert(QStringLiteral("period"), m_inputs.period);
    o.insert(QStringLiteral("periodName"), m_inputs.periodName);
    o.insert(QStringLiteral("schoolKind"), m_inputs.schoolKind);
    o.insert(QStringLiteral("classCount"), m_classCount);
    o.insert(QStringLiteral("fileSubjects"), QJsonArray::fromStringList(m_fileSubjects));
    o.insert(QStringLiteral("displaySubjects"), QJsonArray::fromStringList(m_displaySubjects));
    QJsonArray students;
    for (int slot = 0; slot < m_classCount * kSeatsPerClass; ++slot) {
        QJsonObject s;
        s.insert(QStringLiteral("class"), classOfSlot(slot));
        s.insert(QStringLiteral("number"), numberOfSlot(slot));
        s.insert(QStringLiteral("name"), m_names[std::size_t(slot)]);
        QJsonArray required;
        for (int f = 0; f < kFileSubjects; ++f) {
            const Required &r = this->required(f, slot);
            QJsonObject j;
            j.insert(QStringLiteral("evaluation"), r.evaluation);
            j.insert(QStringLiteral("percentage"), double(r.percentage));
            j.insert(QStringLiteral("marks"), texts(r.marks));
            j.insert(QStringLiteral("viewpointPercentages"), floats(r.viewpointPercentages));
            required.append(j);
        }
        s.insert(QStringLiteral("required"), required);
        s.insert(QStringLiteral("composite"), composite(slot).trimmed());
        QJsonArray best;
        for (int d = 0; d < kDisplaySubjects; ++d)
            best.append(this->best(slot, d) > 0 ? this->best(slot, d) : -1);
        s.insert(QStringLiteral("best"), best);
        students.append(s);
    }
    o.insert(QStringLiteral("students"), students);
    QJsonArray electives;
    for (const Elective &e : m_electives) {
        QJsonObject j;
        j.insert(QStringLiteral("number"), e.number);
        j.insert(QStringLiteral("name"), e.name);
        j.insert(QStringLiteral("subject"),
                 e.subjectSlot > 0 ? m_displaySubjects[e.subjectSlot - 1] : QString());
        j.insert(QStringLiteral("dateTime"), e.dateTime);
        j.insert(QStringLiteral("loaded"), e.loaded);
        electives.append(j);
    }
    o.insert(QStringLiteral("electives"), electives);
    QJsonArray records;
    for (std::size_t i = 1; i < m_records.size(); ++i) {
        const Record &r = m_records[i];
        QJsonObject j;
        j.insert(QStringLiteral("index"), int(i));
        j.insert(QStringLiteral("elective"), r.elective);
        j.insert(QStringLiteral("class"), r.cls);
        j.insert(QStringLiteral("number"), r.number);
        j.insert(QStringLiteral("slot"), r.subjectSlot);
        j.insert(QStringLiteral("percentage"), double(r.percentage));
        j.insert(QStringLiteral("evaluation"), r.evaluation);
        j.insert(QStringLiteral("viewpointPercentages"), floats(r.viewpointPercentages));
        j.insert(QStringLiteral("marks"), texts(r.marks));
        records.append(j);
    }
    o.insert(QStringLiteral("records"), records);
    o.insert(QStringLiteral("messages"), QJsonArray::fromStringList(m_messages));
    o.insert(QStringLiteral("limitExceeded"), m_limitExceeded);
    return o;
}

} // namespace tavro
