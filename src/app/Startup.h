#pragma once

#include "app/WorkingContext.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

namespace tavro {

class Prompter;

inline constexpr int kMinNendo = 1995;
inline constexpr int kMaxNendo = 2100;

// School year of a date: the calendar year, minus one from January to March.
int schoolYearOf(const QDate &date);

// True when the program was started from a network path ("\\server\..." or "//server/...").
bool isNetworkPath(const QString &programPath);
QString networkStartMessage(); // the refusal text

// Program-side ini: the program's path with its extension replaced by ".INI".
QString programIniPath(const QString &programPath);

// Where the settings put the data folder: "MainIniFile" from the program-side ini (default: that ini
// itself), then "DataFolder" from the main ini (default: the program's folder + "data"), with a
// trailing separator. Nothing is created.
struct DataFolderLocation {
    QString folder;
    // A non-empty "MainIniFile" or "DataFolder" names it: it was set up, not the default.
    bool configured = false;
    // The named main ini or data folder that does not exist (empty when both do or none is named).
    QString missing;
};
DataFolderLocation locateDataFolder(const QString &programPath);

// The data folder of locateDataFolder(). Only the default folder is created (one level, failure
// ignored), for the first run; a configured folder that is missing is left alone (a network drive that
// is not connected must not get an empty school in its place).
QString resolveDataFolder(const QString &programPath);

// "データフォルダが見つかりません。" with the path and what to check.
QString dataFolderMissingMessage(const QString &path);

// The data folder for the program's start: resolveDataFolder(), and while a configured main ini or data
// folder is missing, the message with はい (look again), いいえ (choose a folder with `chooseFolder`; an
// empty answer asks again) and キャンセル (quit: no value). Without `chooseFolder` only OK and Cancel.
std::optional<QString> startupDataFolder(const QString &programPath, Prompter &prompter,
                                         const std::function<QString()> &chooseFolder = {});

// The main window's actions: false, after the message, when the data folder is gone.
bool checkDataFolder(const QString &dataFolder, Prompter &prompter);

// Section "Settings" of "Tavro_Main.ini".
struct MainSettings {
    QString schoolName;
    QString password;
    bool classType = true;
    int schoolKind = 1;

    static QString defaultSchoolName();
    static MainSettings load(const QString &dataFolder);
    // Writes the four keys into "Tavro_Main.ini", keeping its other lines.
    bool save(const QString &dataFolder, QString *error = nullptr) const;
};

// The year-dependent values the main window reads (the year reload).
struct YearMenus {
    struct TestKind {
        QString code; // "A".. for periodic tests, "1".. for achievement tests: by position
        QString name;
        int number = 0; // n of the key it came from (1-based)
    };
    QList<TestKind> testKinds;     // non-empty "TestName" + n
    QList<TestKind> gakuTestKinds; // non-empty "GakuNameName" + n
    QStringList hyouteiNames;      // non-empty "HyouteiName" + n, in order
    QList<int> hyouteiNumbers;     // n of each of those names
    std::array<int, 6> classCount{};
    int gakuTestName = 0;
    bool gTestKanten = false;
    bool tTestKanten = true;
    bool totatuEmphasis = false;
    bool danjoBetu = false;
    std::array<bool, 5> teikiTest{};
    std::array<bool, 9> gakuTest{};
    QStringList sentakuList;

    // "実力テスト" when "GakuTestName" is non-zero, else "学力テスト".
    QString gakuTestLabel() const;

    static YearMenus load(const QString &dataFolder, int nendo);
    // Copies the year values into the context.
    void applyTo(WorkingContext &context) const;
};

// Reads only the "Permission" flags again.
void reloadPermissions(WorkingContext &context);

// Subjects of the compulsory-evaluation page by school kind; other kinds give an empty list.
QStringList compulsorySubjects(int schoolKind);
// Fixed subject lists of the test pages.
QStringList periodicTestSubjects();
QStringList achievementTestSubjects();

// Electives of a grade: the `SentakuList` lines whose first character is the grade digit.
QStringList electivesOfGrade(const QStringList &sentakuList, int grade);

// ReadOnly for a data window: a past or future year; for a test window also a test whose input
// permission is off (`permitted` false).
bool readOnlyFor(int nendo, int thisNendo, bool isTestWindow = false, bool permitted = true);

// The start-up of the working context without any window: data folder, year, main and year settings.
WorkingContext loadContext(const QString &dataFolder, int nendo, int thisNendo);

inline constexpr const char *kProgramTitle = "成績処理TAVRO for Windows";
inline constexpr const char *kMainCaption = "成績処理TAVRO for Windows Ver.5";

} // namespace tavro
