#pragma once

#include "evaluation/Worksheet.h"

#include <vector>

// Item statistics, standard scores (偏差値) and the automatic estimate (自動見込み) of "*" scores.
namespace tavro {

struct ItemStatistics {
    std::vector<double> mean;      // per item (index item - 1); 0 when not computed
    std::vector<double> deviation; // population standard deviation; 0 when not computed
    std::vector<float> z;          // per item and slot (item-major): -1 none, 0..100 a score,
                                   // -100..0 an estimate (negated)

    ItemStatistics();
    // Mean and deviation of every item of kind 1 or more over the rows with a score of 0 or more
    // (at least two), and the standard score of every row.
    void compute(const Worksheet &worksheet, const std::vector<int> &rows);
    double meanOf(int item) const { return mean[std::size_t(item - 1)]; }
    double deviationOf(int item) const { return deviation[std::size_t(item - 1)]; }
    float standardScore(int item, int slot) const { return z[Worksheet::scoreIndex(item, slot)]; }
};

namespace estimate {

enum class Method { AllItems = 0, ByViewpoint = 1 }; // "MikomiPatern" 0 and 1

// Replaces the "*" scores of the rows by estimates from the standard scores; returns the rows that
// changed.
std::vector<int> fill(Worksheet &worksheet, const ItemStatistics &statistics, const std::vector<int> &rows,
                      Method method);
// "自動見込み": statistics, estimates, recomputation of the aggregate items of the changed rows, and the
// statistics again. Returns the rows that changed.
std::vector<int> run(Worksheet &worksheet, const std::vector<int> &rows, Method method,
                     ItemStatistics &statistics);
// The method of a "MikomiPatern" value (0 all items; anything else by viewpoint).
Method methodOf(int mikomiPatern);

} // namespace estimate
} // namespace tavro
