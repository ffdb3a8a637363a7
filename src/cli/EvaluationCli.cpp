#include "cli/EvaluationCli.h"

#include "app/Startup.h"

#include "common/DataPaths.h"
#include "config/Electives.h"
#include "config/Roster.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/WorksheetFile.h"

#include <QDir>

namespace tavro::cli {

namespace {

bool readName(const QCommandLineParser &parser, const QCommandLineOption &option, const QString &what,
              QString &value, int &status) {
    value = parser.value(option);
    if (!parser.isSet(option) || value.isEmpty()) {
        status = usage(QStringLiteral("--%1 で%2を指定してください。").arg(option.names().first(), what));
        return false;
    }
    QString reason;
    if (!paths::isSafeName(value, &reason)) {
        status = userError(QStringLiteral("%1「%2」は使えません。%3").arg(what, value, reason));
        return false;
    }
    return true;
}

} // namespace

AnswerListPrompter::AnswerListPrompter(QList<Answer> answers)
    : m_answers(std::move(answers)),
      m_printer([this](const QString &, Buttons buttons, Answer defaultAnswer) {
          // OK-only messages take no answer from the list.
          return buttons != Buttons::Ok && !m_answers.isEmpty() ? m_answers.takeFirst() : defaultAnswer;
      }) {}

bool AnswerListPrompter::parseAnswer(const QString &text, Answer &answer) {
    const QString t = text.toLower();
    if (t == QLatin1String("yes"))
        answer = Answer::Yes;
    else if (t == QLatin1String("no"))
        answer = Answer::No;
    else if (t == QLatin1String("ok"))
        answer = Answer::Ok;
    else if (t == QLatin1String("cancel"))
        answer = Answer::Cancel;
    else
        return false;
    return true;
}

void WorksheetOptions::addTo(QCommandLineParser &parser, bool withPeriod) {
    parser.addOptions({data, year, grade, subject, teacher, elective, classes});
    if (withPeriod)
        parser.addOption(period);
}

QString LoadedWorksheet::worksheetPath() const {
    return paths::worksheetFile(dataFolder, teacher, nendo, grade, subject);
}

bool LoadedWorksheet::saveWorksheet(QString *error) const {
    return WorksheetFile::save(worksheetPath(), *worksheet, error);
}

namespace {

struct WorksheetArgs {
    QString dataFolder;
    int nendo = 0;
    int grade = 0;
    int period = 0;
    QString subject;
    QString teacher;
    bool elective = false;
    YearSettings settings;
    std::vector<int> classes; // required subjects
};

bool readArgs(const QStringList &args, QCommandLineParser &parser, WorksheetOptions &options, bool withPeriod,
              WorksheetArgs &w, int &status) {
    options.addTo(parser, withPeriod);
    if (!parse(parser, args, status))
        return false;
    if (!parser.positionalArguments().isEmpty()) {
        status = usage(QStringLiteral("余分な引数があります: %1")
                           .arg(parser.positionalArguments().join(QLatin1Char(' '))));
        return false;
    }
    if (!readYear(parser, options.year, w.nendo, status) ||
        !readNumber(parser, options.grade, 1, 6, QStringLiteral("学年"), w.grade, status) ||
        (withPeriod &&
         !readNumber(parser, options.period, 1, kPeriods, QStringLiteral("評定"), w.period, status)) ||
        !readDataFolder(parser, options.data, w.dataFolder, status) ||
        !readName(parser, options.subject, QStringLiteral("教科"), w.subject, status) ||
        (!(options.teacherOptional && !parser.isSet(options.teacher)) &&
         !readName(parser, options.teacher, QStringLiteral("教師名"), w.teacher, status)))
        return false;
    w.dataFolder = paths::withTrailingSeparator(w.dataFolder);
    w.elective = parser.isSet(options.elective);
    w.settings = YearSettings::load(w.dataFolder, w.nendo);
    if (w.elective) {
        if (parser.isSet(options.classes)) {
            status = usage(QStringLiteral("選択教科では --classes は使えません (名簿の生徒が対象です)。"));
            return false;
        }
        return true;
    }
    const int count = w.settings.classCount[std::size_t(w.grade - 1)];
    if (parser.isSet(options.classes)) {
        const QString digits = parser.value(options.classes);
        if (digits.isEmpty()) {
            status = noClassSelected();
            return false;
        }
        for (QChar c : digits) {
            const int cls = c.unicode() - u'0';
            if (cls < 1 || cls > count) {
                status = userError(QStringLiteral("--classes の「%1」は%2年の組ではありません (%3組まで)。")
                                       .arg(c)
                                       .arg(w.grade)
                                       .arg(count));
                return false;
            }
            if (std::find(w.classes.begin(), w.classes.end(), cls) == w.classes.end())
                w.classes.push_back(cls);
        }
    } else {
        for (int cls = 1; cls <= count; ++cls)
            w.classes.push_back(cls);
    }
    if (w.classes.empty()) {
        status = userError(QStringLiteral("%1年の学級数が設定されていません。").arg(w.grade));
        return false;
    }
    return true;
}

} // namespace

bool openSession(const QStringList &args, QCommandLineParser &parser, WorksheetOptions &options,
                 bool withPeriod, Prompter &prompter, std::unique_ptr<EvaluationSession> &session,
                 int &period, int &status) {
    WorksheetArgs a;
    if (!readArgs(args, parser, options, withPeriod, a, status))
        return false;
    period = a.period;
    EvaluationContext c;
    c.dataFolder = a.dataFolder;
    c.nendo = a.nendo;
    c.grade = a.grade;
    c.kyouka = a.subject;
    c.teacherName = a.teacher;
    c.elective = a.elective;
    c.chargeClasses = chargeClassesText(a.classes);
    c.classType = MainSettings::load(c.dataFolder).classType;
    c.tTestKanten = a.settings.tTestKanten;
    session = std::make_unique<EvaluationSession>(c);
    session->load(prompter);
    if (session->readOnly()) {
        status = kUserError; // the message naming the file has been printed
        return false;
    }
    return true;
}

bool loadWorksheet(const QStringList &args, QCommandLineParser &parser, WorksheetOptions &options,
                   bool withPeriod, Prompter &prompter, LoadedWorksheet &w, int &status) {
    WorksheetArgs a;
    if (!readArgs(args, parser, options, withPeriod, a, status))
        return false;
    w.dataFolder = a.dataFolder;
    w.nendo = a.nendo;
    w.grade = a.grade;
    w.period = a.period;
    w.subject = a.subject;
    w.teacher = a.teacher;
    w.elective = a.elective;
    w.settings = a.settings;
    std::vector<int> rows;
    const std::vector<int> classes = a.classes;
    if (w.elective) {
        QStringList lines;
        QString error;
        if (!memberlist::read(w.dataFolder, w.nendo, w.grade, w.subject, lines, &error)) {
            status = userError(error);
            return false;
        }
        for (int code : memberlist::members(lines)) {
            const int slot = slotOfCode(code);
            if (slot >= 0 && std::find(rows.begin(), rows.end(), slot) == rows.end())
                rows.push_back(slot);
        }
    } else {
        for (int cls : classes)
            for (int n = 1; n <= kSeatsPerClass; ++n)
                rows.push_back(slotOf(cls, n));
    }

    const ReadReport report = WorksheetFile::load(w.worksheetPath(), *w.worksheet, &prompter);
    if (report.tooNew) {
        status = kUserError;
        return false;
    }
    if (!report.found) {
        status = userError(
            QStringLiteral("評定ファイルがありません: %1").arg(QDir::toNativeSeparators(w.worksheetPath())));
        return false;
    }
    if (w.elective) {
        const ReadReport r = ElectiveResultFile::load(
            paths::electiveResultFile(w.dataFolder, w.nendo, w.grade, w.subject), *w.results, &prompter);
        if (r.tooNew) {
            status = kUserError;
            return false;
        }
    } else {
        const auto grade = ClassResultFile::loadGrade(w.dataFolder, w.nendo, w.grade, w.subject,
                                                      w.settings.classCount[std::size_t(w.grade - 1)],
                                                      classes, *w.results, &prompter);
        if (grade.refusedClass != 0) {
            status = kUserError;
            return false;
        }
    }
    w.sheet = std::make_unique<EvaluationSheet>(
        EvaluationSheet{*w.worksheet, *w.results, w.settings, w.elective, rows,
                        roster::readNames(w.dataFolder, w.nendo, w.grade)});
    w.sheet->names.resize(kSlots);
    w.target = ResultTarget{w.dataFolder, w.nendo, w.grade, w.subject, w.elective, classes, rows};
    return true;
}

} // namespace tavro::cli
