#pragma once

#include "config/TeacherFile.h"
#include "config/YearSettings.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace tavro {

class Prompter;

// The teacher list of the settings window: entries name + "(" + grade + "-" + class + ")" with one
// selected entry (-1: none). Messages and the delete question go through the Prompter.
class TeacherListEditor {
public:
    // "追加" is refused once the list holds more than this many entries.
    static constexpr int kFullAt = 100;

    enum class Result {
        Done,
        Ignored, // name of 2 bytes or less, nothing selected, or the question was cancelled
        Full,
        Refused, // a name that may not be used; the message was shown
    };

    explicit TeacherListEditor(Prompter *prompter = nullptr) : m_prompter(prompter) {}
    void setPrompter(Prompter *prompter) { m_prompter = prompter; }

    void setEntries(const QStringList &entries);
    const QStringList &entries() const { return m_entries; }
    int count() const { return int(m_entries.size()); }

    int current() const { return m_current; }
    // Selects an entry; an index outside the list selects nothing.
    void select(int index);
    // The parts of the selected entry for the name box and the grade and class up-downs.
    TeacherFile::EntryParts currentParts() const;

    Result add(const QString &name, int grade, int cls);
    Result replace(const QString &name, int grade, int cls);
    // Asks "削除しますか?"; on OK deletes the selected entry and selects the one above it (the new first
    // entry when the first was deleted).
    Result remove();
    bool moveUp();
    bool moveDown();

    bool canReplace() const { return m_current >= 0; }
    bool canRemove() const { return m_current >= 0; }
    bool canMoveUp() const { return m_current > 0; }
    bool canMoveDown() const { return m_current >= 0 && m_current < count() - 1; }

    // The text of the message shown when the list is full.
    static QString fullMessage();

private:
    // False (with a message) when the name may not be used; `ignored` when it is too short to count.
    bool acceptName(const QString &name, bool *ignored) const;

    Prompter *m_prompter;
    QStringList m_entries;
    int m_current = -1;
};

// Everything the settings window ("各種設定") edits, without widgets: the year settings, the working copy
// of the five symbol patterns with the one on show, the teacher list, the six elective pages, the value
// lists and default texts of the window, the checks of typed text and the save of the three files.
class SettingsEditor {
public:
    enum class Term { ThreeTerms, TwoTerms }; // 三学期制 / 前後期制

    // Reads the year settings, the teacher file and the elective file of `nendo` (the latter two
    // falling back to the previous year's files) and creates the year folder when it is missing.
    SettingsEditor(const QString &dataFolder, int nendo, Prompter *prompter = nullptr);

    const QString &dataFolder() const { return m_dataFolder; }
    int nendo() const { return m_nendo; }

    // The values bound to the controls. The patterns are the working copy; the one on show is
    // kept in the window until switchPattern() or storeShownPattern() takes it back.
    YearSettings &settings() { return m_settings; }
    const YearSettings &settings() const { return m_settings; }

    // Index 0..4 (A..E) of the pattern on show.
    int shownPattern() const { return m_shownPattern; }
    void storeShownPattern(const SymbolPattern &shown);
    // Stores the values on show into their pattern and returns the values of pattern `index` to show.
    const SymbolPattern &switchPattern(const SymbolPattern &shown, int index);

    TeacherListEditor &teachers() { return m_teachers; }
    const TeacherListEditor &teachers() const { return m_teachers; }
    // The year whose teacher file was read (0: none).
    int teacherSourceYear() const { return m_teacherFile.sourceYear(); }

    // The lines of the pages "1年選択".."6年選択" as typed (index 0 is grade 1).
    QList<QStringList> &electivePages() { return m_electivePages; }
    const QList<QStringList> &electivePages() const { return m_electivePages; }
    // The lines the elective file gets: every page completed, in page and line order.
    QStringList completedElectives() const;

    // Writes the year settings file, the teacher file (its "N" lines replaced by the list, the other
    // lines of the file that was read kept behind them) and the elective file, all of `nendo`. Every
    // file is tried; `error` gets the messages of the ones that failed.
    bool save(QString *error = nullptr) const;

    // After save() failed on close: shows the error and lets the user choose between going back to the
    // window (false: the edits stay) and closing without the files that failed (true).
    bool closeAfterFailedSave(const QString &error);

    // Value lists of the boxes.
    static QStringList comparisonItems(int evaluation); // "" and Ⅰ..numeral of evaluation - 1
    static QStringList evaluationItems();               // "" and Ⅰ..Ⅴ
    static QStringList patternItems(bool withK);        // "" and A..E (and K)
    static QString numeral(int n);                      // Ⅰ..Ⅴ for 1..5

    static std::array<QString, 5> periodicTestDefaults(Term term);
    static std::array<QString, 5> evaluationDefaults(Term term);

    // Checks of text as it is typed; `reason` gets the message.
    // Any text: code page 932 must hold it.
    static bool checkText(const QString &text, QString *reason = nullptr);
    // A symbol of a pattern: at most 4 code page 932 bytes.
    static bool checkSymbol(const QString &text, QString *reason = nullptr);
    // An elective page: every line that was not there before must be encodable and, once completed,
    // give a name that may become part of a file name.
    static bool checkElectiveLines(const QStringList &before, const QStringList &after,
                                   QString *reason = nullptr);

private:
    QString m_dataFolder;
    int m_nendo;
    Prompter *m_prompter;
    YearSettings m_settings;
    int m_shownPattern = 0;
    TeacherFile m_teacherFile;
    TeacherListEditor m_teachers;
    QList<QStringList> m_electivePages;
};

} // namespace tavro
