#include "evaluation/EarlierGrades.h"

#include "evaluation/ClassResultFile.h"
#include "evaluation/EvaluationPaths.h"

namespace tavro {

EarlierGrades EarlierGrades::load(const QString &dataFolder, int nendo, int grade, const QString &kyouka,
                                  Prompter *prompter) {
    EarlierGrades g;
    for (int y = 1; y <= 4 && grade - y >= 1; ++y) {
        auto results = std::make_unique<EvaluationResults>();
        for (int cls = 1; cls <= kMaxClasses && !g.refused; ++cls) {
            const QString path = paths::classResultFile(dataFolder, nendo - y, grade - y, cls, kyouka);
            const ReadReport report = ClassResultFile::load(path, cls, *results, false, prompter);
            g.refused = report.tooNew;
        }
        for (StudentResult &r : results->entries)
            r.comment.clear();
        g.years[std::size_t(y - 1)] = std::move(results);
        g.count = y;
        if (g.refused)
            break;
    }
    return g;
}

} // namespace tavro
