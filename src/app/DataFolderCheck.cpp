#include "app/DataFolderCheck.h"

#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/WorksheetFile.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <QDir>
#include <QFileInfo>
#include <memory>

namespace tavro {

namespace {

// Files of `folder` (found without regard to letter case) whose suffix is one of `suffixes`.
void collect(const QString &folder, const QStringList &suffixes, DataKind datKind,
             std::vector<CheckedFile> &files, const QString &prefix = QString()) {
    const QDir dir(paths::resolveExisting(folder));
    if (!dir.exists())
        return;
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo &f : entries) {
        const QString suffix = f.suffix().toLower();
        if (!suffixes.contains(suffix))
            continue;
        if (!prefix.isEmpty() && !f.fileName().startsWith(prefix, Qt::CaseInsensitive))
            continue;
        files.push_back({f.filePath(), suffix == QLatin1String("def") ? DataKind::FullScores : datKind, {}});
    }
}

bool isYearFolderName(const QString &name) {
    if (name.isEmpty())
        return false;
    for (QChar c : name)
        if (!c.isDigit())
            return false;
    return true;
}

ReadReport inspect(const CheckedFile &file, Worksheet &worksheet, EvaluationResults &results) {
    QByteArray bytes;
    if (!readWholeFile(file.path, bytes)) {
        ReadReport report;
        report.unreadable = true;
        return report;
    }
    switch (file.kind) {
    case DataKind::Worksheet:
        worksheet.reset();
        return WorksheetFile::parse(bytes, worksheet);
    case DataKind::ClassResult:
        return ClassResultFile::parse(bytes, 1, results, true);
    case DataKind::ElectiveResult:
        return ElectiveResultFile::parse(bytes, results);
    case DataKind::TestScores: {
        ClassScores scores;
        return TestScoreFile::parseClassScores(bytes, scores);
    }
    case DataKind::FullScores: {
        FullScores full;
        return TestScoreFile::parseFullScores(bytes, full);
    }
    case DataKind::Unknown:
        break;
    }
    return ReadReport();
}

} // namespace

std::vector<CheckedFile> checkDataFolder(const QString &dataFolder, int nendo) {
    const QString folder = paths::withTrailingSeparator(dataFolder);
    std::vector<CheckedFile> files;
    const QStringList dat{QStringLiteral("dat")};
    collect(paths::testFolder(folder, nendo), {QStringLiteral("dat"), QStringLiteral("def")},
            DataKind::TestScores, files);
    collect(paths::hyouteiFolder(folder, nendo), dat, DataKind::ClassResult, files);
    collect(paths::sentakuFolder(folder, nendo), dat, DataKind::ElectiveResult, files);
    // Worksheets: "<teacher>/<year><grade><subject>.dat" in the teachers' folders.
    const QFileInfoList teachers = QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &t : teachers)
        if (!isYearFolderName(t.fileName()) && !t.fileName().startsWith(u'~'))
            collect(t.filePath(), dat, DataKind::Worksheet, files, QString::number(nendo));

    auto worksheet = std::make_unique<Worksheet>();
    auto results = std::make_unique<EvaluationResults>();
    for (CheckedFile &f : files)
        f.report = inspect(f, *worksheet, *results);
    return files;
}

} // namespace tavro
