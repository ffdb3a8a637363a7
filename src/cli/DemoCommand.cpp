// tavro-cli demo: writes the demo school.
#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "cli/CliSupport.h"
#include "platform/qt/QtPorts.h"

#include <QDir>

namespace tavro::cli {

namespace {

int run(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption year = yearOption();
    parser.addOption(year);
    const QCommandLineOption real(
        QStringLiteral("real"),
        QStringLiteral("実際の学校に近い形 (保体・技家は片方だけ、観点3/5/6、英字の組、長い評定名)"));
    parser.addOption(real);
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("データフォルダ"));
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    if (parser.positionalArguments().size() != 1)
        return usage(QStringLiteral("demo にはデータフォルダを一つ指定してください。"));
    int nendo = 0;
    if (!readYear(parser, year, nendo, status))
        return status;
    const QString folder = QDir(parser.positionalArguments().first()).absolutePath();
    QString error;
    QStringList written;
    const DemoSchool::Shape shape = parser.isSet(real) ? DemoSchool::Shape::Real : DemoSchool::Shape::Regular;
    if (!DemoSchool::write(folder, nendo, &error, &written, shape))
        return userError(error);
    // The results of the first period, so the demo shows evaluations.
    if (!demo::calculateFirstPeriod(folder, nendo, SystemClock(), &error, &written))
        return userError(error);
    // The other subjects and the electives, so the grade aggregation shows a full grade.
    if (!demo::writeGradeResults(folder, nendo, SystemClock(), &error, &written))
        return userError(error);
    out() << QStringLiteral("%1年度のデモ校を作成しました: %2\n")
                 .arg(nendo)
                 .arg(QDir::toNativeSeparators(folder));
    out() << QStringLiteral("管理者パスワード: %1\n").arg(QString::fromUtf8(DemoSchool::kAdminPassword));
    out() << QStringLiteral("教師のパスワード (全員): %1\n")
                 .arg(QString::fromUtf8(DemoSchool::kTeacherPassword));
    out() << QStringLiteral("作成したファイル: %1\n").arg(written.size());
    out().flush();
    return kOk;
}

const Registration registration({QStringLiteral("demo"), QStringLiteral("demo DIR [--year N] [--real]"),
                                 QStringLiteral("DIR に架空の学校のデモデータを作成します"), run});

} // namespace

} // namespace tavro::cli
