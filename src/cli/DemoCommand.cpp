// tavro-cli demo: writes the demo school.
#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "cli/CliSupport.h"
#include "platform/qt/QtPorts.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace tavro::cli {

namespace {

// Every file and folder under `folder`.
QSet<QString> entriesUnder(const QString &folder) {
    QSet<QString> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.insert(it.next());
    return entries;
}

// A demo school that could not be written whole is taken away again, so the folder is as it was and
// the command can be run once more: the files and folders made since `before` are removed.
QString removeDemoSince(const QString &folder, const QSet<QString> &before) {
    QStringList made = entriesUnder(folder).subtract(before).values();
    // Deepest first, so folders are empty when they are removed.
    std::sort(made.begin(), made.end(),
              [](const QString &a, const QString &b) { return a.size() > b.size(); });
    QStringList left;
    for (const QString &path : made) {
        const QFileInfo info(path);
        const bool removed = info.isDir() && !info.isSymLink() ? QDir().rmdir(path) : QFile::remove(path);
        if (!removed)
            left.append(QDir::toNativeSeparators(path));
    }
    return left.isEmpty()
               ? QString()
               : QStringLiteral("\n作りかけのデモ校のファイルを削除できませんでした:\n") + left.join(u'\n');
}

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
    const bool existed = QFileInfo(folder).isDir();
    const QSet<QString> before = existed ? entriesUnder(folder) : QSet<QString>();
    // The results of the first period, so the demo shows evaluations; then the other subjects and the
    // electives, so the grade aggregation shows a full grade.
    if (!DemoSchool::write(folder, nendo, &error, &written, shape) ||
        !demo::calculateFirstPeriod(folder, nendo, SystemClock(), &error, &written) ||
        !demo::writeGradeResults(folder, nendo, SystemClock(), &error, &written)) {
        error += removeDemoSince(folder, before);
        if (!existed)
            QDir().rmdir(folder);
        return userError(error);
    }
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
