#pragma once

#include "evaluation/Results.h"

#include <QString>
#include <array>
#include <memory>

// The results of the same subject in the earlier grades of the students, for comparison.
namespace tavro {

class Prompter;

struct EarlierGrades {
    // years[y - 1]: y years back (grade - y, year - y); evaluations, percentages, marks and viewpoint
    // percentages only.
    std::array<std::unique_ptr<EvaluationResults>, 4> years;
    int count = 0;        // years loaded (grade - 1, at most 4)
    bool refused = false; // a file too new stopped the loading

    const EvaluationResults *year(int y) const {
        return y >= 1 && y <= count ? years[std::size_t(y - 1)].get() : nullptr;
    }
    // For grade 2 or more: the class result files of classes 1..12 of each earlier year that exist.
    // A file of version 600 or more shows the refusal and ends the loading.
    static EarlierGrades load(const QString &dataFolder, int nendo, int grade, const QString &kyouka,
                              Prompter *prompter);
};

} // namespace tavro
