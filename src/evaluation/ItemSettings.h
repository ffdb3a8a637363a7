#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The item dialog of the evaluation window ("項目設定"): kinds, visible fields and help lines, the test
// lists with their link codes, the check of typed texts, and OK with the import of test scores.
namespace tavro {

class EvaluationSession;
class Prompter;
struct KantenNames;
struct Worksheet;
struct YearSettings;

namespace itemsettings {

// The kind list: an empty entry, "平常点", "定期テスト", "集計セル", "学力(実力)".
QStringList kindNames();
// The two help lines of a kind (0..4).
QStringList helpLines(int kind);

struct Fields {
    bool name = false;
    bool symbolInput = false;
    bool protection = false;
    bool fullScore = false;
    bool formula = false;
    bool periodicList = false;
    bool achievementList = false;
};
Fields visibleFields(int kind);

// One entry of a test list after its empty first entry; the entry's index is its position + 1.
struct TestEntry {
    QString text;
    int link = 0;
};
struct TestLists {
    std::vector<TestEntry> periodic;
    std::vector<TestEntry> achievement;
    // The index (1..) of the entry with `link` in the list of `kind` (2 or 4); 0 when none.
    int indexOf(int kind, int link) const;
};
// The periodic tests "TestName1".. up to the first empty name, by viewpoint when `byViewpoint` (the
// viewpoints with a name, up to the first without), 技家 twice ("技家I", "技家H"); the achievement tests
// "GakuNameName1".. by viewpoint.
TestLists testLists(const YearSettings &settings, const KantenNames &kanten, const QString &kyouka,
                    bool byViewpoint);

// Why a typed item name or formula is refused (empty when it is fine): text code page 932 cannot
// hold, TAB, CR or LF, more than 255 bytes.
QString textProblem(const QString &text, const QString &what);

// What the dialog holds when OK is pressed.
struct ItemEdit {
    int kind = 0;
    QString name;
    bool symbolInput = false;
    bool protection = false;
    int fullScore = 0;
    QString formula;
    int testIndex = 0; // entry index in the list of the kind (0: the empty entry)
};
// The dialog's fields for an item as stored.
ItemEdit editOf(const Worksheet &worksheet, int item, const TestLists &lists);

// The source of a test import: test code and file subject, field 0 (total) or 1..6 (viewpoint).
struct TestSource {
    QString testCode;
    QString subject;
    int field = 0;
};
// The import source of link code `link` for an item of kind 2 or 4; false with the reason when the
// link cannot be imported (a field beyond the seven fields, a test not in the lists).
bool sourceOf(int kind, int link, const TestLists &lists, const QString &kyouka, TestSource &source,
              QString *reason);

struct ImportOutcome {
    int fullScore = 0;
    int imported = 0;                // scores stored
    std::vector<int> missingClasses; // classes whose score file is missing, short or unreadable
};
// Imports the scores of `source` into item `item` for the classes of the session; each missing class
// shows "c組のデータがありません。" through `prompter` (when given).
ImportOutcome importTestScores(EvaluationSession &session, int item, const TestSource &source,
                               Prompter *prompter);
QString missingClassMessage(const QString &classLabel);

struct ApplyOutcome {
    bool applied = false;
    QString error; // why nothing was stored
    bool imported = false;
    ImportOutcome import;
};
// OK of the dialog for item `item`: checks the texts and the link, stores the definition, imports a
// linked test, and recomputes the aggregate items of every row.
ApplyOutcome apply(EvaluationSession &session, int item, const ItemEdit &edit, const TestLists &lists,
                   Prompter *prompter);

} // namespace itemsettings
} // namespace tavro
