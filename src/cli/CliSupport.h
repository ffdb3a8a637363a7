#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <vector>

// Shared pieces of tavro-cli. Each command lives in its own file and registers itself with a
// static `Registration`, so adding a command touches no other file.
namespace tavro::cli {

inline constexpr int kOk = 0;
inline constexpr int kUserError = 1;
inline constexpr int kUsage = 2;

struct Command {
    QString name;
    QString synopsis;                              // "info --data DIR [--year N] [--json]"
    QString description;                           // one line, Japanese
    int (*run)(const QStringList &args) = nullptr; // args[0] is the program, then the command's own
};

const std::vector<Command> &commands();

struct Registration {
    explicit Registration(Command command);
};

// "clip WHAT ...": one clipboard text per WHAT, registered by the file that builds it, so adding a
// text touches no other file. `run` gets the arguments with WHAT removed (args[0] is the program).
struct ClipText {
    QString what;
    QString synopsis;    // "results-all --data DIR ... --period K [--sjis]"
    QString description; // one line, Japanese
    int (*run)(const QStringList &args) = nullptr;
};
const std::vector<ClipText> &clipTexts();
struct ClipRegistration {
    explicit ClipRegistration(ClipText text);
};
// A required whole number low..high; false after the usage message naming `what`.
bool readNumber(const QCommandLineParser &parser, const QCommandLineOption &option, int low, int high,
                const QString &what, int &value, int &status);

// --sjis: the code page 932 bytes in place of UTF-8.
const QCommandLineOption &sjisOption();
// Writes a clipboard text exactly as it is, nothing added: UTF-8, or the code page 932 bytes (status 1
// when a character cannot be held).
int writeClipText(const QString &text, bool sjis);

// UTF-8 streams.
QTextStream &out();
QTextStream &err();

// Prints the message (if any) and the usage text on stderr; returns kUsage.
int usage(const QString &message = QString());
// Prints the message on stderr; returns kUserError.
int userError(const QString &message);
// "学級を選択してください。" for a class list given empty, as with no class checked; returns kUserError.
int noClassSelected();

// Adds --help and parses; false when the command should end now with `status` (bad usage or help).
bool parse(QCommandLineParser &parser, const QStringList &args, int &status);

// The current school year from the system clock.
int thisNendo();

// The --year option: the current school year when absent; false after reporting bad usage.
QCommandLineOption yearOption();
bool readYear(const QCommandLineParser &parser, const QCommandLineOption &option, int &year, int &status);

// --grade G (1..6), --period K (1..5) and --classes LIST (every class when absent), read with
// readNumber() and numberList().
QCommandLineOption gradeOption();
QCommandLineOption periodOption();
QCommandLineOption classesOption();

// The --data option: the folder must exist; false after reporting the error.
QCommandLineOption dataOption();
bool readDataFolder(const QCommandLineParser &parser, const QCommandLineOption &option, QString &folder,
                    int &status);

} // namespace tavro::cli
