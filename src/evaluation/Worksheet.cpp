#include "evaluation/Worksheet.h"

#include <algorithm>

namespace tavro {

Worksheet::Worksheet() {
    reset();
}

void Worksheet::reset() {
    items.assign(kMaxItems, WorksheetItem{});
    scores.assign(kScoreCount, score::kEmpty);
    itemRatios.assign(kItemRatioCount, 0);
    viewpointRatios.fill(0);
}

void Worksheet::updateSymbolFlags() {
    for (WorksheetItem &it : items)
        it.symbolInput = it.kind == itemkind::kRegular && it.formula == QLatin1String("K");
}

} // namespace tavro
