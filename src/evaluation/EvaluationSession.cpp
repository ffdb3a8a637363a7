#include "evaluation/EvaluationSession.h"

#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/Rounding.h"
#include "common/SessionMessages.h"
#include "config/Electives.h"
#include "config/Roster.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/WorksheetFile.h"
#include "platform/Prompter.h"

#include <QDir>

#include <algorithm>
#include <utility>

namespace tavro {

namespace {

const QString kCaption = QStringLiteral("TAVRO");

// Damage that leaves part of a file unread, so writing memory back would lose data.
bool lostData(const ReadReport &r) {
    return r.unreadable || r.badHeader || r.tooNew || r.truncated || r.badText;
}

} // namespace

EvaluationSession::EvaluationSession(EvaluationContext context)
    : m_context(std::move(context)), m_worksheet(std::make_unique<Worksheet>()),
      m_results(std::make_unique<EvaluationResults>()), m_symbols(std::make_unique<checks::CheckSymbols>()),
      m_statistics(std::make_unique<ItemStatistics>()), m_names(kSlots), m_readings(kSlots) {
    m_context.dataFolder = paths::withTrailingSeparator(m_context.dataFolder);
    m_readOnly = m_context.readOnly;
    m_sheet = std::make_unique<EvaluationSheet>(
        EvaluationSheet{*m_worksheet, *m_results, m_settings, m_context.elective, {}, m_names});
    m_recalculator = std::make_unique<formula::Recalculator>(*m_worksheet);
}

EvaluationSession::~EvaluationSession() = default;

void EvaluationSession::noteProblem(const QString &path, const QStringList &problems) {
    QString line = QDir::toNativeSeparators(path);
    if (!problems.isEmpty())
        line += QStringLiteral("（%1）").arg(problems.join(u'、'));
    m_loadProblems.append(line);
}

void EvaluationSession::load(Prompter &prompter) {
    const QString &folder = m_context.dataFolder;
    m_settings = YearSettings::load(folder, m_context.nendo);
    m_kanten = kanten::load(folder, m_context.nendo,
                            m_context.elective ? kanten::sectionForElective(m_context.kyouka)
                                               : kanten::sectionForSubject(m_context.kyouka));
    m_periods.clear();
    for (int k = 1; k <= kPeriods; ++k) {
        const QString &name = m_settings.hyouteiName[std::size_t(k - 1)];
        if (!name.isEmpty())
            m_periods.push_back({k, name, int(m_periods.size())});
    }

    loadRows(prompter);

    const ReadReport sheet = WorksheetFile::load(worksheetPath(), *m_worksheet, &prompter);
    if (lostData(sheet))
        noteProblem(worksheetPath(),
                    sheet.tooNew ? QStringList{QStringLiteral("新しい版のファイル")} : sheet.problems());
    loadResults(prompter);
    if (!m_context.elective && m_context.grade >= 2)
        m_earlier =
            EarlierGrades::load(folder, m_context.nendo, m_context.grade, m_context.kyouka, &prompter);

    if (!m_loadProblems.isEmpty()) {
        if (!m_readOnly)
            prompter.message(kCaption, readOnlyFileMessage(m_loadProblems), Prompter::Icon::Warning);
        m_readOnly = true;
    }
    m_recalculator = std::make_unique<formula::Recalculator>(*m_worksheet);
    m_statisticsStale = true;
    m_sharesStale.fill(true);
    m_symbols->refresh(*m_sheet);
}

void EvaluationSession::loadRows(Prompter &prompter) {
    const QString &folder = m_context.dataFolder;
    // An unreadable roster would give every student an empty name: view mode, like a damaged file.
    const QString rosterPath =
        paths::resolveExisting(paths::rosterFile(folder, m_context.nendo, m_context.grade));
    QByteArray rosterBytes;
    if (!readWholeFile(rosterPath, rosterBytes) && paths::fileExists(rosterPath))
        noteProblem(rosterPath, {QStringLiteral("読み込めません")});
    const std::vector<RosterEntry> entries = roster::parseEntries(rosterBytes);
    std::fill(m_names.begin(), m_names.end(), QString());
    std::fill(m_readings.begin(), m_readings.end(), QString());
    for (std::size_t i = 0; i < entries.size() && i < std::size_t(kSlots); ++i) {
        m_names[i] = entries[i].name;
        m_readings[i] = entries[i].furigana;
    }
    m_rows.clear();
    m_classes.clear();
    const int classCount =
        std::clamp(m_settings.classCount[std::size_t(m_context.grade - 1)], 0, kMaxClasses);
    if (m_context.elective) {
        for (int cls = 1; cls <= classCount; ++cls)
            m_classes.push_back(cls);
        QStringList lines;
        QString error;
        if (!memberlist::read(folder, m_context.nendo, m_context.grade, m_context.kyouka, lines, &error))
            prompter.message(kCaption, error, Prompter::Icon::Warning);
        for (int code : memberlist::members(lines)) {
            const int slot = slotOfCode(code);
            if (slot >= 0 && std::find(m_rows.begin(), m_rows.end(), slot) == m_rows.end())
                m_rows.push_back(slot);
        }
    } else {
        m_classes = chargeClassNumbers(m_context.chargeClasses);
        for (int cls : m_classes)
            for (int n = 1; n <= kSeatsPerClass; ++n)
                m_rows.push_back(slotOf(cls, n));
    }
    m_rowNames.clear();
    for (int slot : m_rows)
        m_rowNames.push_back(m_names[std::size_t(slot)]);
    m_sheet->rows = m_rows;
    m_sheet->names = m_names;
}

void EvaluationSession::loadResults(Prompter &prompter) {
    const QString &folder = m_context.dataFolder;
    m_results->reset();
    m_loadedClasses.clear();
    if (m_context.elective) {
        const QString path =
            paths::electiveResultFile(folder, m_context.nendo, m_context.grade, m_context.kyouka);
        const ReadReport r = ElectiveResultFile::load(path, *m_results, &prompter);
        if (lostData(r))
            noteProblem(path, r.tooNew ? QStringList{QStringLiteral("新しい版のファイル")} : r.problems());
        return;
    }
    // Every class of the grade for the distribution, and every class in charge, whatever the class
    // count says, so no class in charge is ever written from empty memory.
    std::vector<int> classes;
    const int classCount =
        std::clamp(m_settings.classCount[std::size_t(m_context.grade - 1)], 0, kMaxClasses);
    for (int cls = 1; cls <= classCount; ++cls)
        classes.push_back(cls);
    for (int cls : m_classes)
        if (std::find(classes.begin(), classes.end(), cls) == classes.end())
            classes.push_back(cls);
    for (int cls : classes) {
        const QString path =
            paths::classResultFile(folder, m_context.nendo, m_context.grade, cls, m_context.kyouka);
        const bool charge = std::find(m_classes.begin(), m_classes.end(), cls) != m_classes.end();
        const ReadReport r = ClassResultFile::load(path, cls, *m_results, charge, &prompter);
        if (r.found)
            m_loadedClasses.push_back(cls);
        if (lostData(r) && charge)
            noteProblem(path, r.tooNew ? QStringList{QStringLiteral("新しい版のファイル")} : r.problems());
        if (r.tooNew)
            break;
    }
}

int EvaluationSession::viewpointCount() const {
    int n = 0;
    while (n < kViewpoints && !m_kanten.shortName[std::size_t(n)].isEmpty())
        ++n;
    return n;
}

const SymbolPattern *EvaluationSession::evaluationPattern(int period) const {
    const int p = m_sheet->patterns().hyouteiPatern[std::size_t(period - 1)];
    return p >= 1 && p <= 5 ? &m_settings.patterns[std::size_t(p - 1)] : nullptr;
}

const SymbolPattern *EvaluationSession::viewpointPattern(int period) const {
    const int p = m_sheet->patterns().kantenPatern[std::size_t(period - 1)];
    return p >= 1 && p <= 5 ? &m_settings.patterns[std::size_t(p - 1)] : nullptr;
}

int EvaluationSession::rowOfSlot(int slot) const {
    const auto it = std::find(m_rows.begin(), m_rows.end(), slot);
    return it == m_rows.end() ? -1 : int(it - m_rows.begin());
}

QString EvaluationSession::classLabel(int cls) const {
    return (m_context.classType ? QString::number(cls) : QString(QChar(64 + cls))) + QStringLiteral("組");
}

QString EvaluationSession::headerText() const {
    QString text =
        QStringLiteral("%1年度 %2年生 %3").arg(m_context.nendo).arg(m_context.grade).arg(m_context.kyouka);
    if (m_readOnly)
        text += QStringLiteral("【閲覧モード】");
    return text;
}

QString EvaluationSession::caption() const {
    return m_context.mainCaption + QStringLiteral(" - ") + headerText();
}

QString EvaluationSession::worksheetPath() const {
    return paths::worksheetFile(m_context.dataFolder, m_context.teacherName, m_context.nendo, m_context.grade,
                                m_context.kyouka);
}

QString EvaluationSession::periodName(int period) const {
    return isPeriod(period) ? m_settings.hyouteiName[std::size_t(period - 1)] : QString();
}

bool EvaluationSession::periodPermitted(int period) const {
    for (const Period &p : m_periods)
        if (p.number == period) {
            const auto &flags = m_context.elective ? m_settings.hyouteiS : m_settings.hyoutei;
            return p.position < int(flags.size()) && flags[std::size_t(p.position)];
        }
    return false;
}

void EvaluationSession::markModified() {
    changed();
}

void EvaluationSession::changed() {
    m_modified = true;
    m_calculated = false;
    m_statisticsStale = true;
}

void EvaluationSession::recalculateRow(int slot) {
    m_recalculator->recalculateRow(*m_worksheet, slot);
}

gridkeys::KeyResult EvaluationSession::scoreKey(int row, int item, const gridkeys::KeyPress &key) {
    if (row < 0 || row >= int(m_rows.size()) || !isItem(item))
        return {};
    const int slot = m_rows[std::size_t(row)];
    const WorksheetItem &it = m_worksheet->item(item);
    gridkeys::ScoreCell cell{m_worksheet->score(item, slot), it.kind, it.isProtected(), it.fullScore};
    gridkeys::KeyResult r = gridkeys::scoreKey(cell, key);
    if (m_readOnly) {
        r.changed = false;
        r.value = cell.value;
        r.digit = -1;
        return r;
    }
    if (r.changed) {
        const int before = cell.value;
        setScore(item, slot, r.value);
        recordValue(Target::Score, Worksheet::scoreIndex(item, slot), before, r.value,
                    key.key == gridkeys::Key::Character || key.key == gridkeys::Key::Backspace);
    }
    return r;
}

void EvaluationSession::setScore(int item, int slot, int value) {
    if (m_readOnly)
        return;
    m_worksheet->score(item, slot) = value;
    recalculateRow(slot);
    changed();
}

void EvaluationSession::rowsChanged(const std::vector<int> &touched) {
    if (m_readOnly)
        return;
    m_recalculator->recalculateRows(*m_worksheet, touched);
    changed();
}

gridkeys::KeyResult EvaluationSession::numberKey(Target target, std::size_t index, int period,
                                                 const gridkeys::KeyPress &key) {
    Worksheet &w = *m_worksheet;
    std::int32_t &value = target == Target::ItemRatio        ? w.itemRatios[index]
                          : target == Target::ViewpointRatio ? w.viewpointRatios[index]
                                                             : w.items[index].fullScore;
    gridkeys::KeyResult r = gridkeys::ratioKey(value, key);
    if (m_readOnly) {
        r.changed = false;
        r.value = value;
        r.digit = -1;
        return r;
    }
    if (r.handled) {
        m_calculated = false;
        if (r.changed) {
            recordValue(target, index, value, r.value,
                        key.key == gridkeys::Key::Character || key.key == gridkeys::Key::Backspace);
            value = r.value;
            if (isPeriod(period))
                m_sharesStale[std::size_t(period - 1)] = true;
            changed();
        }
    }
    return r;
}

gridkeys::KeyResult EvaluationSession::viewpointRatioKey(int period, int viewpoint,
                                                         const gridkeys::KeyPress &key) {
    if (!isPeriod(period) || !isViewpoint(viewpoint))
        return {};
    return numberKey(Target::ViewpointRatio, Worksheet::viewpointRatioIndex(period, viewpoint), period, key);
}

gridkeys::KeyResult EvaluationSession::itemRatioKey(int item, int period, int viewpoint,
                                                    const gridkeys::KeyPress &key) {
    if (!isItem(item) || !isPeriod(period) || !isViewpoint(viewpoint))
        return {};
    return numberKey(Target::ItemRatio, Worksheet::itemRatioIndex(item, period, viewpoint), period, key);
}

gridkeys::KeyResult EvaluationSession::fullScoreKey(int item, const gridkeys::KeyPress &key) {
    if (!isItem(item))
        return {};
    return numberKey(Target::FullScore, std::size_t(item - 1), 0, key);
}

void EvaluationSession::itemsChanged(bool recalculateAll) {
    if (m_scopeDepth > 0) {
        m_scopeRedefined = true;
        m_scopeRecalculateAll = m_scopeRecalculateAll || recalculateAll;
    }
    m_recalculator = std::make_unique<formula::Recalculator>(*m_worksheet);
    if (recalculateAll && !m_readOnly)
        m_recalculator->recalculateRows(*m_worksheet, m_rows);
    m_sharesStale.fill(true);
    changed();
}

std::vector<int> weightedShares(const Worksheet &worksheet, int period) {
    std::vector<int> shares(kMaxItems, 0);
    std::array<double, kViewpoints> sums{};
    int count = 0;
    double ratioSum = 0;
    for (int v = 1; v <= kViewpoints; ++v) {
        const int r = worksheet.viewpointRatio(period, v);
        if (r < 1)
            continue;
        ++count;
        ratioSum += r;
        for (int item = 1; item <= kMaxItems; ++item)
            sums[std::size_t(v - 1)] += worksheet.itemRatio(item, period, v);
    }
    if (count == 0)
        return shares;
    for (int item = 1; item <= kMaxItems; ++item) {
        double share = 0;
        for (int v = 1; v <= kViewpoints; ++v) {
            const int r = worksheet.viewpointRatio(period, v);
            const int w = worksheet.itemRatio(item, period, v);
            const double s = sums[std::size_t(v - 1)];
            if (r >= 1 && w >= 1 && s > 0)
                share += 100.0 * w / s * r * count / ratioSum;
        }
        shares[std::size_t(item - 1)] = int(rounding::halfAwayFromZero(share));
    }
    return shares;
}

const std::vector<int> &EvaluationSession::weightedShares(int period) const {
    const std::size_t k = std::size_t(period - 1);
    if (m_sharesStale[k]) {
        m_shares[k] = tavro::weightedShares(*m_worksheet, period);
        m_sharesStale[k] = false;
    }
    return m_shares[k];
}

ResultTarget EvaluationSession::resultTarget() const {
    return ResultTarget{m_context.dataFolder, m_context.nendo, m_context.grade, m_context.kyouka,
                        m_context.elective,   m_classes,       m_rows};
}

void EvaluationSession::afterCalculation(const calculation::Report &report) {
    if (report.outcome == calculation::Outcome::Stopped)
        return;
    clearHistory();
    m_calculated = true;
    m_resultsPending = report.outcome == calculation::Outcome::SaveFailed;
    m_resultsSaveFailed = m_resultsPending;
    m_symbols->refresh(*m_sheet);
}

calculation::Report EvaluationSession::calculate(int period, Prompter &prompter, const Clock &clock) {
    if (m_readOnly || !isPeriod(period))
        return {};
    const ResultTarget target = resultTarget();
    const calculation::Report report = calculation::calculate(*m_sheet, period, prompter, clock, &target);
    afterCalculation(report);
    return report;
}

calculation::Report EvaluationSession::phase2(int period, Prompter &prompter, const Clock &clock) {
    if (m_readOnly || !isPeriod(period))
        return {};
    const ResultTarget target = resultTarget();
    const calculation::Report report = calculation::phase2(*m_sheet, period, prompter, clock, &target);
    afterCalculation(report);
    return report;
}

void EvaluationSession::markResultsPending() {
    if (!m_readOnly)
        m_resultsPending = true;
}

bool EvaluationSession::saveResults(QString *error) {
    if (m_readOnly)
        return true;
    if (!resultTarget().save(*m_results, error)) {
        m_resultsPending = true;
        m_resultsSaveFailed = true;
        return false;
    }
    m_resultsPending = false;
    m_resultsSaveFailed = false;
    return true;
}

void EvaluationSession::resultsCleared() {
    clearHistory();
    m_calculated = true;
    m_symbols->refresh(*m_sheet);
}

std::vector<int> EvaluationSession::autoEstimate() {
    if (m_readOnly)
        return {};
    const StepScope step(*this);
    const std::vector<int> changedRows =
        estimate::run(*m_worksheet, m_rows, estimate::methodOf(m_settings.mikomiPatern), *m_statistics);
    m_statisticsStale = false;
    if (!changedRows.empty()) {
        m_modified = true;
        m_calculated = false;
    }
    return changedRows;
}

const ItemStatistics &EvaluationSession::statistics() const {
    if (m_statisticsStale) {
        m_statistics->compute(*m_worksheet, m_rows);
        m_statisticsStale = false;
    }
    return *m_statistics;
}

void EvaluationSession::refreshChecks() {
    m_symbols->refresh(*m_sheet);
}

bool EvaluationSession::save(QString *error) {
    if (m_readOnly)
        return true;
    QStringList errors;
    if (m_modified) {
        QString why;
        if (WorksheetFile::save(worksheetPath(), *m_worksheet, &why))
            m_modified = false;
        else
            errors.append(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(worksheetPath()), why));
    }
    if (m_resultsPending) {
        QString why;
        if (!saveResults(&why))
            errors.append(why);
    }
    if (error)
        *error = errors.join(QStringLiteral("\r\n"));
    return errors.isEmpty();
}

bool EvaluationSession::saveForClose(Prompter &prompter, bool discard) {
    if (m_readOnly || discard)
        return true;
    for (;;) {
        QString error;
        if (save(&error))
            return true;
        switch (prompter.ask(kCaption, saveFailedQuestion(error), Prompter::Buttons::YesNoCancel,
                             Prompter::Answer::Yes, Prompter::Icon::Warning)) {
        case Prompter::Answer::Yes:
            continue;
        case Prompter::Answer::No:
            return true;
        default:
            return false;
        }
    }
}

// ---- Undo ----

QString undoHistoryClearedMessage() {
    return QStringLiteral("評定ファイルを書き込んだため、それより前の操作は元に戻せなくなりました。");
}

EvaluationSession::StepScope::StepScope(EvaluationSession &session) : m_session(session) {
    m_session.beginStep();
}

EvaluationSession::StepScope::~StepScope() {
    m_session.endStep();
}

void EvaluationSession::beginStep() {
    if (m_scopeDepth++ > 0 || m_readOnly)
        return;
    const Worksheet &w = *m_worksheet;
    m_before = std::make_unique<Snapshot>();
    m_before->scores = w.scores;
    m_before->itemRatios = w.itemRatios;
    m_before->viewpointRatios = w.viewpointRatios;
    m_before->items = w.items;
    m_before->comments.reserve(m_results->entries.size());
    for (const StudentResult &r : m_results->entries)
        m_before->comments.push_back(r.comment);
    m_scopeRedefined = false;
    m_scopeRecalculateAll = false;
    m_scopeCleared = false;
}

namespace {

template <typename Values, typename Change>
void diffValues(const Values &before, const Values &after, std::vector<Change> &out) {
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i] != after[i])
            out.push_back({std::uint32_t(i), before[i], after[i]});
}

bool sameItem(const WorksheetItem &a, const WorksheetItem &b) {
    return a.name == b.name && a.kind == b.kind && a.link == b.link && a.formula == b.formula &&
           a.protection == b.protection && a.fullScore == b.fullScore && a.symbolInput == b.symbolInput;
}

} // namespace

void EvaluationSession::endStep() {
    if (--m_scopeDepth > 0 || !m_before)
        return;
    const std::unique_ptr<Snapshot> before = std::move(m_before);
    m_typing = false;
    // A write of the result files inside the action ended the history: the action is behind it.
    if (m_scopeCleared)
        return;
    const Worksheet &w = *m_worksheet;
    Step step;
    diffValues(before->scores, w.scores, step.scores);
    diffValues(before->itemRatios, w.itemRatios, step.itemRatios);
    diffValues(before->viewpointRatios, w.viewpointRatios, step.viewpointRatios);
    for (std::size_t i = 0; i < w.items.size(); ++i)
        if (!sameItem(before->items[i], w.items[i]))
            step.items.push_back({int(i) + 1, before->items[i], w.items[i]});
    for (std::size_t i = 0; i < before->comments.size(); ++i)
        if (before->comments[i] != m_results->entries[i].comment)
            step.comments.push_back({std::uint32_t(i), before->comments[i], m_results->entries[i].comment});
    step.redefined = m_scopeRedefined;
    step.recalculateAll = m_scopeRecalculateAll;
    pushStep(std::move(step));
}

void EvaluationSession::recordValue(Target target, std::size_t index, std::int32_t before, std::int32_t after,
                                    bool typing) {
    if (m_scopeDepth > 0 || m_readOnly)
        return;
    const bool extends = typing && m_typing && !m_undo.empty() && m_undo.back().typing &&
                         m_undo.back().target == target && m_undo.back().index == index;
    m_typing = typing;
    if (extends) {
        Step &last = m_undo.back();
        auto &changes = target == Target::Score       ? last.scores
                        : target == Target::ItemRatio ? last.itemRatios
                                                      : last.viewpointRatios;
        if (target == Target::FullScore)
            last.items.front().after.fullScore = after;
        else
            changes.front().after = after;
        m_redo.clear();
        return;
    }
    Step step;
    step.typing = typing;
    step.target = target;
    step.index = index;
    const ValueChange change{std::uint32_t(index), before, after};
    switch (target) {
    case Target::Score:
        step.scores.push_back(change);
        break;
    case Target::ItemRatio:
        step.itemRatios.push_back(change);
        break;
    case Target::ViewpointRatio:
        step.viewpointRatios.push_back(change);
        break;
    case Target::FullScore: {
        ItemChange item{int(index) + 1, m_worksheet->items[index], m_worksheet->items[index]};
        item.before.fullScore = before;
        item.after.fullScore = after;
        step.items.push_back(std::move(item));
        break;
    }
    case Target::Comment:
        break;
    }
    pushStep(std::move(step));
    m_typing = typing;
}

void EvaluationSession::storeComment(int period, int slot, const QString &text) {
    if (m_readOnly || !isPeriod(period) || slot < 0 || slot >= kSlots)
        return;
    QString &comment = m_results->at(period, slot).comment;
    if (comment == text)
        return;
    const std::size_t index = EvaluationResults::index(period, slot);
    if (m_scopeDepth == 0) {
        if (m_typing && !m_undo.empty() && m_undo.back().typing && m_undo.back().target == Target::Comment &&
            m_undo.back().index == index) {
            m_undo.back().comments.front().after = text;
            m_redo.clear();
        } else {
            Step step;
            step.typing = true;
            step.target = Target::Comment;
            step.index = index;
            step.comments.push_back({std::uint32_t(index), comment, text});
            pushStep(std::move(step));
            m_typing = true;
        }
    }
    comment = text;
    markResultsPending();
}

void EvaluationSession::pushStep(Step step) {
    if (step.empty())
        return;
    m_redo.clear();
    m_undo.push_back(std::move(step));
}

void EvaluationSession::apply(const Step &step, bool forward) {
    Worksheet &w = *m_worksheet;
    std::vector<int> touched;
    for (const ValueChange &c : step.scores) {
        w.scores[c.index] = forward ? c.after : c.before;
        const int slot = int(c.index % kSlots);
        touched.push_back(slot);
    }
    for (const ValueChange &c : step.itemRatios)
        w.itemRatios[c.index] = forward ? c.after : c.before;
    for (const ValueChange &c : step.viewpointRatios)
        w.viewpointRatios[c.index] = forward ? c.after : c.before;
    for (const ItemChange &c : step.items)
        w.item(c.item) = forward ? c.after : c.before;
    for (const CommentChange &c : step.comments)
        m_results->entries[c.index].comment = forward ? c.after : c.before;
    m_typing = false;
    m_undone = {!step.scores.empty(), !step.itemRatios.empty() || !step.viewpointRatios.empty(),
                !step.items.empty(), !step.comments.empty()};
    if (!step.comments.empty())
        markResultsPending();
    if (step.scores.empty() && step.itemRatios.empty() && step.viewpointRatios.empty() && step.items.empty())
        return;
    if (step.redefined) {
        m_recalculator = std::make_unique<formula::Recalculator>(w);
    }
    if (step.recalculateAll) {
        m_recalculator->recalculateRows(w, m_rows);
    } else if (!touched.empty()) {
        std::sort(touched.begin(), touched.end());
        touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
        m_recalculator->recalculateRows(w, touched);
    }
    m_sharesStale.fill(true);
    changed();
}

bool EvaluationSession::undo() {
    if (m_undo.empty() || m_readOnly)
        return false;
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    apply(step, false);
    m_redo.push_back(std::move(step));
    return true;
}

bool EvaluationSession::redo() {
    if (m_redo.empty() || m_readOnly)
        return false;
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    apply(step, true);
    m_undo.push_back(std::move(step));
    return true;
}

void EvaluationSession::clearHistory() {
    if (m_scopeDepth > 0)
        m_scopeCleared = true;
    if (!m_undo.empty() || !m_redo.empty())
        m_historyCleared = true;
    m_undo.clear();
    m_redo.clear();
    m_typing = false;
}

bool EvaluationSession::takeHistoryCleared() {
    return std::exchange(m_historyCleared, false);
}

} // namespace tavro
