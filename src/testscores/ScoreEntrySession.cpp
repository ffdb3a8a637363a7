#include "testscores/ScoreEntrySession.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/NumberText.h"
#include "common/SessionMessages.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "platform/Prompter.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <QDir>

#include <algorithm>

namespace tavro {

using scoreentry::Cursor;
using scoreentry::kRows;
using scoreentry::Move;

namespace {

const QString kCaption = QStringLiteral("TAVRO");
const QString kMovedAway = QStringLiteral("＊");
const QChar kCircled[] = {u'①', u'②', u'③', u'④', u'⑤', u'⑥'};

// Damage that leaves part of a file unread, so writing memory back would lose marks.
bool lostData(const ReadReport &r) {
    return r.unreadable || r.truncated;
}

QString withoutMark(const QString &name) {
    return name.startsWith(kMovedAway) ? name.mid(1) : name;
}

} // namespace

QString noClassToOpenMessage() {
    return QStringLiteral("入力できる学級がありません。\r\n担当学級の設定を確認してください。");
}

QString noFullScoreMessage() {
    return QStringLiteral("満点が設定されていません。\r\n［満点］ボタンをクリックして、設定してください。");
}

QString overFullQuestion() {
    return QStringLiteral("満点を超えた入力があります。\r\n「はい」を選択すると入力画面に戻ります。");
}

QString copyFinishedMessage() {
    return QStringLiteral("コピーが終わりました。");
}

ScoreEntrySession::ScoreEntrySession(ScoreEntryContext context)
    : m_context(std::move(context)), m_names(std::size_t(kMaxRosterLines)) {
    m_context.dataFolder = paths::withTrailingSeparator(m_context.dataFolder);
    m_readOnly = m_context.readOnly;
    m_cursor.column = byViewpoint() ? 1 : 0;
}

bool ScoreEntrySession::load(Prompter &prompter) {
    const ScoreEntryContext &c = m_context;
    const YearSettings settings = YearSettings::load(c.dataFolder, c.nendo);
    const int classCount =
        c.grade >= 1 && c.grade <= 6
            ? std::clamp(settings.classCount[std::size_t(c.grade - 1)], 0, scoreentry::kMaxEntryClasses)
            : 0;
    m_classes.clear();
    for (QChar ch : c.chargeClasses) {
        const int cls = ch.unicode() - u'0';
        if (cls >= 1 && cls <= classCount &&
            std::find(m_classes.begin(), m_classes.end(), cls) == m_classes.end())
            m_classes.push_back(cls);
    }
    if (m_classes.empty()) {
        prompter.message(kCaption, noClassToOpenMessage(), Prompter::Icon::Warning);
        return false;
    }

    const std::vector<RosterEntry> entries =
        roster::readEntries(paths::resolveExisting(paths::rosterFile(c.dataFolder, c.nendo, c.grade)));
    std::fill(m_names.begin(), m_names.end(), QString());
    for (std::size_t i = 0; i < entries.size() && i < m_names.size(); ++i)
        m_names[i] = entries[i].name;
    m_kanten = kanten::load(c.dataFolder, c.nendo, kanten::sectionForSubject(c.kyouka));

    m_loadProblems.clear();
    auto note = [this](const QString &path, const ReadReport &r) {
        if (lostData(r))
            m_loadProblems.append(
                QStringLiteral("%1（%2）").arg(QDir::toNativeSeparators(path), r.problems().join(u'、')));
    };
    m_scores.assign(m_classes.size(), ClassScores());
    for (std::size_t i = 0; i < m_classes.size(); ++i) {
        const QString path = paths::resolveExisting(
            paths::classScoreFile(c.dataFolder, c.nendo, c.testCode, c.grade, m_classes[i], c.kyouka));
        note(path, TestScoreFile::readClassScores(path, m_scores[i]));
    }
    const QString fullPath =
        paths::resolveExisting(paths::fullScoreFile(c.dataFolder, c.nendo, c.testCode, c.grade, c.kyouka));
    note(fullPath, TestScoreFile::readFullScores(fullPath, m_full));
    if (byViewpoint()) {
        int sum = 0;
        for (int v = 1; v <= 5; ++v)
            sum += m_full.values[std::size_t(v)];
        m_full.values[0] = sum;
    }
    if (!m_loadProblems.isEmpty()) {
        if (!m_readOnly)
            prompter.message(kCaption, readOnlyFileMessage(m_loadProblems), Prompter::Icon::Warning);
        m_readOnly = true;
    }
    m_cursor = Cursor{0, 1, byViewpoint() ? 1 : 0};
    m_modified = false;
    return true;
}

QString ScoreEntrySession::classMark(int cls) const {
    return m_context.classType ? QString::number(cls) : QString(QChar(64 + cls));
}

QString ScoreEntrySession::tabText(int tab) const {
    return QLatin1Char(' ') + classMark(classOfTab(tab)) + QStringLiteral("組") +
           QLatin1Char(tab % 2 == 0 ? 'M' : 'F');
}

const QString &ScoreEntrySession::nameOf(int cls, int number) const {
    return m_names[std::size_t((cls - 1) * kSeatsPerClass + number - 1)];
}

QString ScoreEntrySession::rowLabel(int tab, int row) const {
    const int number = numberOf(tab, row);
    const QString &name = nameOf(classOfTab(tab), number);
    const QString shown = name.startsWith(kMovedAway) ? cp932::leftBytes(name.mid(1), 14) : name;
    return QString::asprintf("%2d ", number) + shown;
}

TestScoreRecord &ScoreEntrySession::record(int tab, int row) {
    return m_scores[std::size_t(tab / 2)].student(numberOf(tab, row));
}

int ScoreEntrySession::score(int tab, int row, int field) const {
    return m_scores[std::size_t(tab / 2)].student(numberOf(tab, row))[std::size_t(field)];
}

QString ScoreEntrySession::caption() const {
    const ScoreEntryContext &c = m_context;
    QString text = QStringLiteral("%1 - %2年度 %3年生 %4 %5")
                       .arg(c.mainCaption)
                       .arg(c.nendo)
                       .arg(c.grade)
                       .arg(c.kyouka, c.testName);
    if (m_readOnly)
        text += QStringLiteral("【閲覧モード】");
    if (c.totalOnly)
        text += QStringLiteral("【学力】");
    return text;
}

QString ScoreEntrySession::fullScoreSummary() const {
    QString text = QStringLiteral("満点%1 ").arg(m_full.values[0]);
    for (int v = 1; v <= 5; ++v)
        text += kCircled[v - 1] + QString::asprintf("%2d ", m_full.values[std::size_t(v)]);
    return text;
}

bool ScoreEntrySession::isOverFull(int tab, int row, int field) const {
    if (!byViewpoint() || field < 1 || field > 5)
        return false;
    const int value = score(tab, row, field);
    return value >= 0 && value > m_full.values[std::size_t(field)];
}

void ScoreEntrySession::setCursor(int tab, int row, int column) {
    m_typing = false;
    if (tab < 0 || tab >= tabCount() || row < 1 || row > kRows)
        return;
    if (!byViewpoint())
        column = 0;
    else
        column = std::clamp(column, 1, 5);
    m_cursor = Cursor{tab, row, column};
}

scoreentry::Layout ScoreEntrySession::layout() const {
    return scoreentry::Layout{tabCount(), byViewpoint(), m_full.values};
}

bool ScoreEntrySession::store(int tab, int row, int column, int value) {
    TestScoreRecord &r = record(tab, row);
    if (r[std::size_t(column)] == value)
        return false;
    r[std::size_t(column)] = value;
    if (byViewpoint() && column >= 1)
        r[0] = scoreentry::rowTotal(r);
    m_modified = true;
    return true;
}

ScoreEntrySession::KeyOutcome ScoreEntrySession::edited(int before, int after, int digit, bool typing) {
    KeyOutcome out;
    out.handled = true;
    out.digit = digit;
    out.noFullScore = m_full.values[0] == 0;
    const Snapshot previous = snapshot();
    out.changed = before != after && store(m_cursor.tab, m_cursor.row, m_cursor.column, after);
    pushStep(previous, typing);
    out.beep = isOverFull(m_cursor.tab, m_cursor.row, m_cursor.column);
    return out;
}

ScoreEntrySession::KeyOutcome ScoreEntrySession::character(QChar c) {
    const int before = score(m_cursor.tab, m_cursor.row, m_cursor.column);
    const scoreentry::CharResult r = scoreentry::characterKey(before, c);
    if (r.nextHalf)
        return navigate(Move::NextHalf, false);
    if (!r.changes || m_readOnly) {
        KeyOutcome out;
        out.handled = true;
        return out;
    }
    return edited(before, r.value, r.digit, true);
}

ScoreEntrySession::KeyOutcome ScoreEntrySession::backspace() {
    if (m_readOnly)
        return KeyOutcome{true};
    const int before = score(m_cursor.tab, m_cursor.row, m_cursor.column);
    KeyOutcome out = edited(before, scoreentry::backspaceValue(before), -1, true);
    out.noFullScore = false;
    return out;
}

ScoreEntrySession::KeyOutcome ScoreEntrySession::deleteKey() {
    if (m_readOnly)
        return KeyOutcome{true};
    const int before = score(m_cursor.tab, m_cursor.row, m_cursor.column);
    KeyOutcome out = edited(before, testscore::kBlank, -1, false);
    out.noFullScore = false;
    return out;
}

ScoreEntrySession::KeyOutcome ScoreEntrySession::navigate(Move key, bool ctrl) {
    m_typing = false;
    const scoreentry::MoveResult m = scoreentry::move(m_cursor, key, ctrl, layout());
    KeyOutcome out;
    out.handled = true;
    out.moved = !(m.cursor == m_cursor);
    out.tabChanged = m.cursor.tab != m_cursor.tab;
    out.chime = m.chime;
    m_cursor = m.cursor;
    return out;
}

std::optional<double> ScoreEntrySession::gradeAverage() const {
    long long sum = 0;
    int count = 0;
    for (const ClassScores &cls : m_scores)
        for (const TestScoreRecord &r : cls.records)
            if (r[0] >= 0) {
                sum += r[0];
                ++count;
            }
    if (count == 0)
        return std::nullopt;
    return double(sum) / count;
}

QString ScoreEntrySession::averageText() const {
    const std::optional<double> mean = gradeAverage();
    return mean ? QStringLiteral("平均 ") + numbertext::fixed(*mean, 2, 3) + QLatin1Char(' ') : QString();
}

double ScoreEntrySession::classMean(int classIndex, int half) const {
    const ClassScores &cls = m_scores[std::size_t(classIndex)];
    const int first = half == 1 ? kRows : 0;
    const int last = half == 0 ? kRows : kTestStudents;
    long long sum = 0;
    int count = 0;
    for (int i = first; i < last; ++i)
        if (cls.records[std::size_t(i)][0] >= 0) {
            sum += cls.records[std::size_t(i)][0];
            ++count;
        }
    return count == 0 ? 0.0 : double(sum) / count;
}

std::vector<int> ScoreEntrySession::distribution() const {
    std::vector<int> counts(501, 0);
    for (const ClassScores &cls : m_scores)
        for (const TestScoreRecord &r : cls.records)
            if (r[0] >= 0 && r[0] <= 500)
                ++counts[std::size_t(r[0])];
    return counts;
}

int ScoreEntrySession::distributionRange(const std::vector<int> &counts) {
    int top = 0;
    for (int s = int(counts.size()) - 1; s >= 0; --s)
        if (counts[std::size_t(s)] > 0) {
            top = s;
            break;
        }
    for (int range : {25, 50, 100, 200})
        if (top <= range)
            return range;
    return 500;
}

bool ScoreEntrySession::writeFullScores(QString *error) {
    if (m_readOnly)
        return true;
    const ScoreEntryContext &c = m_context;
    return TestScoreFile::writeFullScores(
        paths::resolveExisting(paths::fullScoreFile(c.dataFolder, c.nendo, c.testCode, c.grade, c.kyouka)),
        m_full, error);
}

bool ScoreEntrySession::setViewpointFullScores(const std::array<int, 6> &viewpoints, QString *error) {
    const Snapshot previous = snapshot();
    int sum = 0;
    for (int v = 1; v <= 6; ++v) {
        m_full.values[std::size_t(v)] = std::clamp(viewpoints[std::size_t(v - 1)], 0, 100);
        if (v <= 5)
            sum += m_full.values[std::size_t(v)];
    }
    m_full.values[0] = sum;
    pushStep(previous);
    return writeFullScores(error);
}

bool ScoreEntrySession::setTotalFullScore(int total, QString *error) {
    const Snapshot previous = snapshot();
    m_full.values[0] = total;
    pushStep(previous);
    return writeFullScores(error);
}

ScoreEntrySession::Snapshot ScoreEntrySession::snapshot() const {
    return Snapshot{m_scores, m_full.values, m_cursor};
}

void ScoreEntrySession::pushStep(const Snapshot &before, bool typing) {
    Step step;
    step.cursor = before.cursor;
    step.typing = typing;
    for (std::size_t i = 0; i < m_scores.size(); ++i)
        for (int n = 1; n <= kTestStudents; ++n)
            if (before.scores[i].student(n) != m_scores[i].student(n))
                step.cells.push_back({i, n, before.scores[i].student(n), m_scores[i].student(n)});
    if (before.full != m_full.values)
        step.full = std::make_pair(before.full, m_full.values);
    const bool extends = typing && m_typing && !m_undo.empty() && m_undo.back().typing &&
                         m_undo.back().cursor == before.cursor;
    m_typing = typing;
    if (step.cells.empty() && !step.full)
        return;
    m_redo.clear();
    if (extends && m_undo.back().cells.size() == 1 && step.cells.size() == 1) {
        // The same cell again: the step keeps its first "before".
        CellChange &last = m_undo.back().cells.front();
        if (last.classIndex == step.cells.front().classIndex && last.number == step.cells.front().number) {
            last.after = step.cells.front().after;
            return;
        }
    }
    m_undo.push_back(std::move(step));
}

bool ScoreEntrySession::apply(const Step &step, bool forward, QString *error) {
    for (const CellChange &c : step.cells)
        m_scores[c.classIndex].student(c.number) = forward ? c.after : c.before;
    if (!step.cells.empty())
        m_modified = true;
    m_cursor = step.cursor;
    m_typing = false;
    if (!step.full)
        return true;
    m_full.values = forward ? step.full->second : step.full->first;
    return writeFullScores(error);
}

bool ScoreEntrySession::undo(QString *error) {
    if (m_undo.empty() || m_readOnly)
        return false;
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    const bool ok = apply(step, false, error);
    m_redo.push_back(std::move(step));
    return ok;
}

bool ScoreEntrySession::redo(QString *error) {
    if (m_redo.empty() || m_readOnly)
        return false;
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    const bool ok = apply(step, true, error);
    m_undo.push_back(std::move(step));
    return ok;
}

QString ScoreEntrySession::copyAllText() const {
    const QString crlf = QStringLiteral("\r\n");
    const QString blanks = QStringLiteral("    ");
    QString text =
        QStringLiteral("\t\t%1年生 %2 %3").arg(m_context.grade).arg(m_context.kyouka, m_context.testName) +
        crlf;
    text += QStringLiteral("組\t番\t氏名\t合計\t観①\t観②\t観③\t観④\t観⑤") + crlf;
    for (std::size_t i = 0; i < m_classes.size(); ++i) {
        const int cls = m_classes[i];
        const QString mark = classMark(cls);
        for (int n = 1; n <= kTestStudents; ++n) {
            const TestScoreRecord &r = m_scores[i].student(n);
            text += mark + u'\t' + QString::number(n) + u'\t' + withoutMark(nameOf(cls, n)) + u'\t' + blanks +
                    scoreentry::scoreText(r[0]);
            for (int v = 1; v <= 5; ++v)
                text += u'\t' + (blanks + scoreentry::scoreText(r[std::size_t(v)])).right(4);
            text += crlf;
        }
    }
    return text;
}

ScoreEntrySession::PasteOutcome ScoreEntrySession::paste(const QString &text) {
    PasteOutcome out;
    if (m_readOnly) {
        out.refused = true;
        return out;
    }
    const QStringList lines = splitTextLines(text);
    const int count = std::min<int>(int(lines.size()), kRows + 1 - m_cursor.row);
    std::vector<int> values;
    for (int i = 0; i < count; ++i) {
        QString cell = lines[i].section(u'\t', 0, 0);
        for (QChar &ch : cell)
            ch = scoreentry::halfWidthKey(ch);
        cell = cell.trimmed();
        int value = testscore::kBlank;
        bool ok = true;
        if (cell.isEmpty() || cell == QLatin1String("/"))
            value = testscore::kBlank;
        else if (cell == QLatin1String("-"))
            value = testscore::kNotTaken;
        else if (cell == QLatin1String("*"))
            value = testscore::kExcluded;
        else {
            ok = std::all_of(cell.begin(), cell.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; }) &&
                 cell.size() <= 3;
            value = cell.toInt();
            ok = ok && value <= 100;
        }
        if (!ok) {
            out.refused = true;
            out.message = QStringLiteral("%1行目の「%2」は貼り付けられません。\r\n"
                                         "貼り付けられるのは、0から100までの数、「-」「*」「/」と空欄です。")
                              .arg(i + 1)
                              .arg(cell);
            return out;
        }
        values.push_back(value);
    }
    const Snapshot previous = snapshot();
    for (int i = 0; i < int(values.size()); ++i)
        store(m_cursor.tab, m_cursor.row + i, m_cursor.column, values[std::size_t(i)]);
    pushStep(previous);
    out.rows = int(values.size());
    if (out.rows > 0)
        m_modified = true;
    return out;
}

std::optional<Cursor> ScoreEntrySession::firstOverFull() const {
    if (!byViewpoint())
        return std::nullopt;
    for (int tab = 0; tab < tabCount(); ++tab)
        for (int row = 1; row <= kRows; ++row)
            for (int v = 1; v <= 5; ++v)
                if (isOverFull(tab, row, v))
                    return Cursor{tab, row, v};
    return std::nullopt;
}

bool ScoreEntrySession::save(QString *error) {
    if (m_readOnly || !m_modified)
        return true;
    const ScoreEntryContext &c = m_context;
    QStringList errors;
    for (std::size_t i = 0; i < m_classes.size(); ++i) {
        QString why;
        const QString path = paths::resolveExisting(
            paths::classScoreFile(c.dataFolder, c.nendo, c.testCode, c.grade, m_classes[i], c.kyouka));
        if (!TestScoreFile::writeClassScores(path, m_scores[i], &why))
            errors.append(why);
    }
    if (error)
        *error = errors.join(QStringLiteral("\r\n"));
    if (errors.isEmpty())
        m_modified = false;
    return errors.isEmpty();
}

bool ScoreEntrySession::closeQuery(Prompter &prompter) {
    if (m_readOnly)
        return true;
    if (const std::optional<Cursor> over = firstOverFull()) {
        if (prompter.ask(kCaption, overFullQuestion(), Prompter::Buttons::YesNo, Prompter::Answer::Yes,
                         Prompter::Icon::Question) == Prompter::Answer::Yes) {
            m_cursor = *over;
            return false;
        }
    }
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

} // namespace tavro
