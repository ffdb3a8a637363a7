#include "config/SettingsEditor.h"

#include "app/Password.h"
#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "config/Electives.h"
#include "platform/Prompter.h"

namespace tavro {

namespace {

const QString kConfirm = QStringLiteral("確認");
const QString kTavro = QStringLiteral("Tavro");

// Names of this many bytes or fewer (one full-width character) are not taken as teacher names.
constexpr int kShortestIgnored = 2;

} // namespace

// ---- TeacherListEditor ----

void TeacherListEditor::setEntries(const QStringList &entries) {
    m_entries = entries;
    m_current = -1;
}

void TeacherListEditor::select(int index) {
    m_current = index >= 0 && index < count() ? index : -1;
}

TeacherFile::EntryParts TeacherListEditor::currentParts() const {
    return m_current >= 0 ? TeacherFile::parseEntry(m_entries[m_current]) : TeacherFile::EntryParts{};
}

QString TeacherListEditor::fullMessage() {
    return QStringLiteral("登録できる教師の数が上限に達しているため、これ以上追加できません。\n"
                          "使わなくなった教師名を削除してから追加してください。");
}

bool TeacherListEditor::acceptName(const QString &name, bool *ignored) const {
    *ignored = cp932::byteLength(name) <= kShortestIgnored;
    if (*ignored)
        return false;
    QString reason;
    if (checkTeacherName(name, &reason))
        return true;
    if (m_prompter)
        m_prompter->message(kTavro, reason, Prompter::Icon::Warning);
    return false;
}

TeacherListEditor::Result TeacherListEditor::add(const QString &name, int grade, int cls) {
    if (count() > kFullAt) {
        if (m_prompter)
            m_prompter->message(kConfirm, fullMessage(), Prompter::Icon::Warning);
        return Result::Full;
    }
    bool ignored = false;
    if (!acceptName(name, &ignored))
        return ignored ? Result::Ignored : Result::Refused;
    m_entries.append(TeacherFile::makeEntry(name, grade, cls));
    m_current = count() - 1;
    return Result::Done;
}

TeacherListEditor::Result TeacherListEditor::replace(const QString &name, int grade, int cls) {
    if (m_current < 0)
        return Result::Ignored;
    bool ignored = false;
    if (!acceptName(name, &ignored))
        return ignored ? Result::Ignored : Result::Refused;
    m_entries[m_current] = TeacherFile::makeEntry(name, grade, cls);
    return Result::Done;
}

TeacherListEditor::Result TeacherListEditor::remove() {
    if (m_current < 0)
        return Result::Ignored;
    if (m_prompter && m_prompter->ask(kConfirm, QStringLiteral("削除しますか?"), Prompter::Buttons::OkCancel,
                                      Prompter::Answer::Ok, Prompter::Icon::Question) != Prompter::Answer::Ok)
        return Result::Ignored;
    m_entries.removeAt(m_current);
    select(m_current > 0 ? m_current - 1 : 0);
    return Result::Done;
}

bool TeacherListEditor::moveUp() {
    if (!canMoveUp())
        return false;
    m_entries.swapItemsAt(m_current, m_current - 1);
    --m_current;
    return true;
}

bool TeacherListEditor::moveDown() {
    if (!canMoveDown())
        return false;
    m_entries.swapItemsAt(m_current, m_current + 1);
    ++m_current;
    return true;
}

// ---- SettingsEditor ----

SettingsEditor::SettingsEditor(const QString &dataFolder, int nendo, Prompter *prompter)
    : m_dataFolder(dataFolder), m_nendo(nendo), m_prompter(prompter), m_teachers(prompter) {
    paths::ensureYearFolder(dataFolder, nendo);
    m_settings = YearSettings::load(dataFolder, nendo);
    m_teacherFile = TeacherFile::loadWithFallback(dataFolder, nendo);
    m_teachers.setEntries(m_teacherFile.entries());
    const QStringList electiveLines = electives::readLinesWithFallback(dataFolder, nendo);
    for (int g = 1; g <= 6; ++g)
        m_electivePages.append(electives::pageLines(electiveLines, g));
}

void SettingsEditor::storeShownPattern(const SymbolPattern &shown) {
    m_settings.patterns[m_shownPattern] = shown;
}

const SymbolPattern &SettingsEditor::switchPattern(const SymbolPattern &shown, int index) {
    storeShownPattern(shown);
    if (index >= 0 && index < int(m_settings.patterns.size()))
        m_shownPattern = index;
    return m_settings.patterns[m_shownPattern];
}

QStringList SettingsEditor::completedElectives() const {
    return electives::completePages(m_electivePages);
}

bool SettingsEditor::save(QString *error) const {
    QStringList errors;
    QString why;
    if (!m_settings.save(m_dataFolder, m_nendo, &why))
        errors.append(QStringLiteral("年度設定ファイル: ") + why);

    TeacherFile teachers = m_teacherFile;
    teachers.setEntries(m_teachers.entries());
    why.clear();
    if (!teachers.save(m_dataFolder, m_nendo, &why))
        errors.append(QStringLiteral("教師名ファイル: ") + why);

    why.clear();
    if (!electives::writeLines(m_dataFolder, m_nendo, completedElectives(), &why))
        errors.append(QStringLiteral("選択教科名ファイル: ") + why);

    if (error)
        *error = errors.join(u'\n');
    return errors.isEmpty();
}

bool SettingsEditor::closeAfterFailedSave(const QString &error) {
    if (!m_prompter)
        return true;
    const QString text = QStringLiteral("設定を保存できませんでした。\n\n%1\n\n設定画面に戻りますか?\n"
                                        "「はい」で画面に戻ります(入力した内容はそのまま残ります)。\n"
                                        "「いいえ」で保存できなかった内容を破棄して閉じます。")
                             .arg(error);
    return m_prompter->ask(kTavro, text, Prompter::Buttons::YesNo, Prompter::Answer::Yes,
                           Prompter::Icon::Error) == Prompter::Answer::No;
}

QString SettingsEditor::numeral(int n) {
    static const char16_t numerals[] = u"ⅠⅡⅢⅣⅤ";
    return n >= 1 && n <= 5 ? QString(QChar(numerals[n - 1])) : QString();
}

QStringList SettingsEditor::comparisonItems(int evaluation) {
    QStringList items{QString()};
    for (int n = 1; n < evaluation && n <= 5; ++n)
        items.append(numeral(n));
    return items;
}

QStringList SettingsEditor::evaluationItems() {
    return comparisonItems(6);
}

QStringList SettingsEditor::patternItems(bool withK) {
    QStringList items{QString(),           QStringLiteral("A"), QStringLiteral("B"),
                      QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("E")};
    if (withK)
        items.append(QStringLiteral("K"));
    return items;
}

std::array<QString, 5> SettingsEditor::periodicTestDefaults(Term term) {
    if (term == Term::ThreeTerms)
        return {QStringLiteral("1学期中間テスト"), QStringLiteral("1学期期末テスト"),
                QStringLiteral("2学期中間テスト"), QStringLiteral("2学期期末テスト"),
                QStringLiteral("学年末テスト")};
    return {QStringLiteral("前期中間テスト"), QStringLiteral("前期末テスト"),
            QStringLiteral("後期中間テスト"), QStringLiteral("学年末テスト"), QString()};
}

std::array<QString, 5> SettingsEditor::evaluationDefaults(Term term) {
    if (term == Term::ThreeTerms)
        return {QStringLiteral("1学期評定"), QStringLiteral("2学期評定"), QStringLiteral("3学期評定"),
                QStringLiteral("学年末評定"), QString()};
    return {QStringLiteral("前期中間評定"), QStringLiteral("前期末評定"), QStringLiteral("後期中間評定"),
            QStringLiteral("後期末評定"), QStringLiteral("学年末評定")};
}

bool SettingsEditor::checkText(const QString &text, QString *reason) {
    const QString bad = cp932::firstUnencodable(text);
    if (bad.isEmpty())
        return true;
    if (reason)
        *reason = QStringLiteral("「%1」は使えない文字です。\n"
                                 "Shift-JISで扱えない文字(絵文字や一部の旧字体など)は入力できません。")
                      .arg(bad);
    return false;
}

bool SettingsEditor::checkSymbol(const QString &text, QString *reason) {
    if (!checkText(text, reason))
        return false;
    if (cp932::byteLength(text) <= 4)
        return true;
    if (reason)
        *reason = QStringLiteral("評定の記号は、半角4文字分(全角2文字分)までです。");
    return false;
}

bool SettingsEditor::checkElectiveLines(const QStringList &before, const QStringList &after,
                                        QString *reason) {
    QStringList old = before;
    for (const QString &line : after) {
        // Lines that were there already (read from the file or accepted before) are not checked again.
        if (old.removeOne(line))
            continue;
        if (!checkText(line, reason))
            return false;
        if (line.trimmed().isEmpty())
            continue;
        // The grade does not matter for the name's characters.
        const QString completed = electives::completeLine(1, line);
        if (!completed.isEmpty() && !electives::checkName(electives::nameOf(completed), reason))
            return false;
    }
    return true;
}

} // namespace tavro
