#pragma once

#include "app/Login.h"

#include <QString>
#include <functional>
#include <optional>

namespace tavro {

class Prompter;
class SharedLock;
struct WorkingContext;

// The four main-menu pages whose "次へ" opens a data window.
enum class DataPage { PeriodicTest, AchievementTest, Compulsory, Elective };

// What the page shows selected.
struct DataPageChoice {
    DataPage page = DataPage::Compulsory;
    int gradeIndex = -1; // index in the page's grade group
    QString subject;     // the subject item; on the elective page the selected elective line
    int testIndex = -1;  // test pages: position in the test-kind list (-1: none)
    QString testName;    // test pages: the selected test kind's caption
};

// Runs the login for the inputs; no value when it ended with Cancel.
using LoginRunner = std::function<std::optional<LoginResult>(const LoginInputs &)>;
// Opens the page's data window modally with the context (TeacherName, ChargeClasses and ReadOnly
// set) and returns when it has closed.
using WindowOpener = std::function<void(const WorkingContext &)>;

enum class NextResult {
    NothingSelected, // an empty test-kind list, or no elective selected
    FolderMissing,   // the data folder is gone (the message was shown)
    NoClasses,       // the grade has no classes (the message was shown)
    UnsafeName,      // the elective's name may not become a file name (the message was shown)
    LoginCancelled,
    LockRefused,
    Opened, // the window was opened, and the lock released after it closed
};

// "次へ" of a data page: the data folder and the class-count check, ReadOnly (past or future year; on the
// test pages also a test without input permission), Gakunen / Kyouka / TestCode / TestName from the choice,
// the login, its results into the context, the lock folder, the lock, the window, and the release of the lock
// when the window has closed.
NextResult runNextSequence(WorkingContext &context, const DataPageChoice &choice, Prompter &prompter,
                           SharedLock &lock, const LoginRunner &login, const WindowOpener &openWindow);

QString noClassMessage();
// Grade-bound actions: false, after the no-class message, when grade (1..6) has no classes.
bool checkGradeHasClasses(const WorkingContext &context, int grade, Prompter &prompter);

// The lock name of the context for a page: with the test code on the test pages only.
QString lockNameFor(const WorkingContext &context, DataPage page);

} // namespace tavro
