#pragma once

#include "cli/CliPrompter.h"
#include "cli/CliSupport.h"
#include "config/YearSettings.h"
#include "evaluation/Calculation.h"
#include "evaluation/EvaluationSession.h"
#include "platform/Prompter.h"

#include <QList>
#include <memory>

// What the evaluation commands of tavro-cli share: the worksheet options, the loading of a worksheet
// with its settings, roster and results as the evaluation window does, and the answers to questions.
namespace tavro::cli {

// Answers questions from a list in the order they are asked; with no answer left, the default.
// Every message and question is printed on stderr with the answer taken.
class AnswerListPrompter final : public Prompter {
public:
    explicit AnswerListPrompter(QList<Answer> answers = {});
    AnswerListPrompter(const AnswerListPrompter &) = delete; // the printer refers to this object
    AnswerListPrompter &operator=(const AnswerListPrompter &) = delete;
    // Replaces the answers still to be taken.
    void setAnswers(QList<Answer> answers) { m_answers = std::move(answers); }
    Answer ask(const QString &caption, const QString &text, Buttons buttons, Answer defaultAnswer,
               Icon icon = Icon::None) override {
        return m_printer.ask(caption, text, buttons, defaultAnswer, icon);
    }
    // "yes", "no", "ok", "cancel".
    static bool parseAnswer(const QString &text, Answer &answer);

private:
    QList<Answer> m_answers;
    CliPrompter m_printer;
};

struct WorksheetOptions {
    QCommandLineOption data = dataOption();
    QCommandLineOption year = yearOption();
    QCommandLineOption grade = gradeOption();
    QCommandLineOption subject{QStringLiteral("subject"), QStringLiteral("教科 (選択教科はその名前)"),
                               QStringLiteral("S")};
    QCommandLineOption teacher{QStringLiteral("teacher"), QStringLiteral("教師名"), QStringLiteral("T")};
    QCommandLineOption elective{QStringLiteral("elective"), QStringLiteral("選択教科")};
    QCommandLineOption classes{QStringLiteral("classes"),
                               QStringLiteral("対象の組 (例 123; 既定: 学年の全組)"),
                               QStringLiteral("DIGITS")};
    QCommandLineOption period = periodOption();

    // Commands that read only the results may leave out the teacher.
    bool teacherOptional = false;
    void addTo(QCommandLineParser &parser, bool withPeriod);
};

// A worksheet loaded for a command.
struct LoadedWorksheet {
    QString dataFolder;
    int nendo = 0;
    int grade = 0;
    QString subject;
    QString teacher;
    bool elective = false;
    int period = 0;
    YearSettings settings;
    std::unique_ptr<Worksheet> worksheet = std::make_unique<Worksheet>();
    std::unique_ptr<EvaluationResults> results = std::make_unique<EvaluationResults>();
    std::unique_ptr<EvaluationSheet> sheet;
    ResultTarget target;

    QString worksheetPath() const;
    bool saveWorksheet(QString *error) const;
};

// Parses the options and loads the worksheet, the year settings, the roster names, the rows (the
// classes given or all classes of the grade; for electives the member list) and the results.
// False when the command should end now with `status`.
bool loadWorksheet(const QStringList &args, QCommandLineParser &parser, WorksheetOptions &options,
                   bool withPeriod, Prompter &prompter, LoadedWorksheet &loaded, int &status);

// Parses the options and opens the session of the worksheet as the evaluation window does, with the
// classes given (`--classes`, else every class of the grade) as the classes in charge. False when the
// command should end now with `status`; a session left read-only by a damaged file is an error.
bool openSession(const QStringList &args, QCommandLineParser &parser, WorksheetOptions &options,
                 bool withPeriod, Prompter &prompter, std::unique_ptr<EvaluationSession> &session,
                 int &period, int &status);

} // namespace tavro::cli
