#include "config/RosterEditor.h"

#include "common/ControlCharacters.h"
#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/TabText.h"
#include "config/YearSettings.h"
#include "platform/Prompter.h"

#include <QDir>

namespace tavro {

namespace {

// Lines of the raw file, split at CR LF, LF or CR (bytes of a double-byte character are never CR or
// LF). A final line end does not add an empty line.
QList<QByteArray> rawLines(const QByteArray &bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines.append(bytes.mid(start, end - start));
        if (end < n && bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

} // namespace

RosterEditor::RosterEditor(int classCount, bool classType)
    : m_classCount(qBound(0, classCount, kMaxClasses)), m_classType(classType),
      m_entries(size_t(m_classCount) * kSeatsPerClass) {}

RosterEditor RosterEditor::open(const QString &dataFolder, int nendo, int grade, bool classType) {
    paths::ensureYearFolder(dataFolder, nendo);
    const int count =
        grade >= 1 && grade <= 6 ? YearSettings::load(dataFolder, nendo).classCount[grade - 1] : 0;
    RosterEditor editor(count, classType);
    editor.m_dataFolder = dataFolder;
    editor.m_nendo = nendo;
    editor.m_grade = grade;
    editor.m_path = paths::rosterFile(dataFolder, nendo, grade);
    if (paths::fileExists(editor.m_path)) {
        QByteArray bytes;
        if (readWholeFile(editor.m_path, bytes))
            editor.loadBytes(bytes);
        else
            editor.m_loadError = QStringLiteral("名簿ファイルを読み込めませんでした。\n%1")
                                     .arg(QDir::toNativeSeparators(paths::resolveExisting(editor.m_path)));
    }
    return editor;
}

void RosterEditor::loadBytes(const QByteArray &bytes) {
    const QList<QByteArray> lines = rawLines(bytes);
    const qsizetype shown = qMin(lines.size(), qsizetype(m_entries.size()));
    std::fill(m_entries.begin(), m_entries.end(), RosterEntry());
    // Each line on its own, so a damaged line can never shift the lines after it.
    for (qsizetype i = 0; i < shown; ++i) {
        const std::vector<RosterEntry> parsed = roster::parseEntries(lines[i], 1);
        if (!parsed.empty())
            m_entries[size_t(i)] = parsed.front();
    }
    m_keptLines = lines.mid(shown);
}

QString RosterEditor::columnCaption(int column) {
    switch (column) {
    case 0:
        return QStringLiteral("学級");
    case 1:
        return QStringLiteral("番号");
    case 2:
        return QStringLiteral("氏    名");
    case 3:
        return QStringLiteral("ふりがな");
    default:
        break;
    }
    if (column > 3 && column < kColumns)
        return QStringLiteral("履歴%1年").arg(column - 3);
    return QString();
}

RosterEntry *RosterEditor::entryAt(int row) {
    return row >= 1 && row <= lastRow() ? &m_entries[size_t(row - 1)] : nullptr;
}

QString RosterEditor::cell(int row, int column) const {
    if (row == 0)
        return columnCaption(column);
    if (row < 1 || row > lastRow() || column < 0 || column >= kColumns)
        return QString();
    if (column == 0)
        return roster::classLabel(row - 1, m_classType);
    if (column == 1)
        return roster::numberLabel(row - 1);
    return m_entries[size_t(row - 1)].field(column - kFirstDataColumn);
}

QString RosterEditor::refusedTextMessage(const QString &text) {
    const QString control = chars::firstControlCharacter(text);
    if (!control.isEmpty())
        return QStringLiteral("制御文字 (%1) は入力できません。").arg(control);
    const QString bad = cp932::firstUnencodable(text);
    if (bad.isEmpty())
        return QString();
    return QStringLiteral("「%1」はShift-JISで保存できない文字のため、入力できません。\n"
                          "別の文字に置き換えてください。")
        .arg(bad);
}

bool RosterEditor::setCell(int row, int column, const QString &text, QString *error) {
    RosterEntry *entry = entryAt(row);
    if (!entry || !isEditable(row, column))
        return false;
    const QString message = refusedTextMessage(text);
    if (!message.isEmpty()) {
        if (error)
            *error = message;
        return false;
    }
    const std::vector<RosterEntry> before = m_entries;
    entry->setField(column - kFirstDataColumn, text);
    pushStep(before);
    return true;
}

QString RosterEditor::tabCaption(int tab) const {
    if (tab < 0 || tab >= tabCount())
        return QString();
    return roster::classLabel(tab / 2 * kSeatsPerClass, m_classType) +
           (tab % 2 == 0 ? QStringLiteral("組M") : QStringLiteral("組F"));
}

int RosterEditor::columnWidth(int column, int u) {
    switch (column) {
    case 0:
    case 1:
        return 2 * u + 2;
    case 2:
        return 8 * u + 2;
    case 3:
        return 12 * u + 2;
    default:
        return 4 * u + 4;
    }
}

QString RosterEditor::copyText(const CellRange &range) const {
    const int top = qMax(range.top, 1);
    const int bottom = qMin(range.bottom, lastRow());
    const int left = qMax(range.left, 0);
    const int right = qMin(range.right, kColumns - 1);
    TabText text(TabText::Style::Separated);
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c)
            text.cell(cell(r, c));
        if (left <= right)
            text.endRow();
    }
    return text.text();
}

void RosterEditor::clear(const CellRange &range) {
    const std::vector<RosterEntry> before = m_entries;
    for (int r = qMax(range.top, 1); r <= qMin(range.bottom, lastRow()); ++r) {
        for (int c = qMax(range.left, kFirstDataColumn); c <= qMin(range.right, kColumns - 1); ++c)
            entryAt(r)->setField(c - kFirstDataColumn, QString());
    }
    pushStep(before);
}

bool RosterEditor::paste(const QString &text, int row, int column, CellRange *changed, QString *error) {
    if (changed)
        *changed = CellRange();
    const QString bad = cp932::firstUnencodable(text);
    if (!bad.isEmpty()) {
        if (error)
            *error = QStringLiteral("貼り付ける文字列に、Shift-JISで保存できない文字「%1」があります。\n"
                                    "貼り付けは行いませんでした。")
                         .arg(bad);
        return false;
    }
    const QList<QStringList> lines = splitTabText(text);
    // Tabs and line ends separate the cells; any other control character would be stored in a name.
    for (const QStringList &pieces : lines)
        for (const QString &piece : pieces) {
            const QString control = chars::firstControlCharacter(piece);
            if (control.isEmpty())
                continue;
            if (error)
                *error = QStringLiteral("貼り付ける文字列に、名簿に入力できない制御文字 (%1) があります。\n"
                                        "貼り付けは行いませんでした。")
                             .arg(control);
            return false;
        }
    row = qMax(row, 1);
    column = qMax(column, int(kFirstDataColumn));
    const std::vector<RosterEntry> before = m_entries;
    CellRange done{lastRow() + 1, kColumns, -1, -1};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int r = row + int(i);
        if (r > lastRow())
            break;
        const QStringList &pieces = lines[i];
        for (qsizetype j = 0; j < pieces.size(); ++j) {
            const int c = column + int(j);
            if (c >= kColumns)
                break;
            if (pieces[j].isEmpty())
                continue;
            entryAt(r)->setField(c - kFirstDataColumn, pieces[j]);
            done = {qMin(done.top, r), qMin(done.left, c), qMax(done.bottom, r), qMax(done.right, c)};
        }
    }
    pushStep(before);
    if (changed && done.isValid())
        *changed = done;
    return true;
}

void RosterEditor::convertFurigana() {
    const std::vector<RosterEntry> before = m_entries;
    for (RosterEntry &entry : m_entries)
        entry.furigana = roster::furiganaToHiragana(entry.furigana);
    pushStep(before);
}

bool RosterEditor::buildHistory(Prompter &prompter, const std::function<void(const QString &)> &progress) {
    if (prompter.ask(QStringLiteral("Tavro"), QStringLiteral("過去の氏名ファイルから履歴を作成します。"),
                     Prompter::Buttons::YesNo, Prompter::Answer::Yes,
                     Prompter::Icon::Question) != Prompter::Answer::Yes)
        return false;
    const std::vector<RosterEntry> before = m_entries;
    const bool found = roster::buildHistory(m_entries, m_dataFolder, m_nendo, m_grade, progress);
    pushStep(before);
    prompter.message(QStringLiteral("Tavro"),
                     found ? QStringLiteral("履歴の分析が終了しました。")
                           : QStringLiteral("履歴対応の氏名ファイルが見つかりませんでした。"));
    return true;
}

namespace {

bool sameEntry(const RosterEntry &a, const RosterEntry &b) {
    return a.name == b.name && a.furigana == b.furigana && a.history == b.history;
}

} // namespace

void RosterEditor::pushStep(const std::vector<RosterEntry> &before) {
    Step step;
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (!sameEntry(before[i], m_entries[i]))
            step.push_back({int(i), before[i], m_entries[i]});
    if (step.empty())
        return;
    m_redo.clear();
    m_undo.push_back(std::move(step));
}

bool RosterEditor::apply(std::vector<Step> &from, std::vector<Step> &to, bool forward, CellRange *changed) {
    if (from.empty())
        return false;
    Step step = std::move(from.back());
    from.pop_back();
    CellRange rows{lastRow() + 1, kFirstDataColumn, -1, kColumns - 1};
    for (const EntryChange &c : step) {
        m_entries[std::size_t(c.index)] = forward ? c.after : c.before;
        rows.top = qMin(rows.top, c.index + 1);
        rows.bottom = qMax(rows.bottom, c.index + 1);
    }
    to.push_back(std::move(step));
    if (changed)
        *changed = rows;
    return true;
}

bool RosterEditor::undo(CellRange *changed) {
    return apply(m_undo, m_redo, false, changed);
}

bool RosterEditor::redo(CellRange *changed) {
    return apply(m_redo, m_undo, true, changed);
}

bool RosterEditor::closeQuery(Prompter &prompter) {
    if (prompter.ask(QStringLiteral("TAVRO"), QStringLiteral("保存しますか?"), Prompter::Buttons::YesNo,
                     Prompter::Answer::Yes, Prompter::Icon::Question) != Prompter::Answer::Yes)
        return true;
    QString error;
    if (save(&error))
        return true;
    prompter.message(QStringLiteral("TAVRO"), error, Prompter::Icon::Error);
    return false;
}

bool RosterEditor::serialize(QByteArray &bytes, QString *error) const {
    if (!roster::serialize(m_entries, m_classType, bytes, error))
        return false;
    for (const QByteArray &line : m_keptLines)
        bytes += line + "\r\n";
    return true;
}

bool RosterEditor::save(QString *error) const {
    const QString shownPath = QDir::toNativeSeparators(paths::resolveExisting(m_path));
    QString reason;
    if (m_path.isEmpty())
        reason = QStringLiteral("保存先の名簿ファイルが決まっていません。");
    else if (!m_loadError.isEmpty())
        reason = QStringLiteral("読み込めなかった名簿ファイルは上書きしません。");
    QByteArray bytes;
    if (reason.isEmpty() && serialize(bytes, &reason))
        return saveFileAtomically(m_path, bytes, error);
    if (error)
        *error = QStringLiteral("ファイルを保存できませんでした。\n%1\n%2").arg(shownPath, reason);
    return false;
}

} // namespace tavro
