#include "exchange/GradeTransfer.h"

#include "config/Roster.h"
#include "evaluation/GradeHyouteiStore.h"
#include "evaluation/GradeSubjects.h"
#include "evaluation/Worksheet.h"

namespace tavro::exchange {

QString schoolKindError(int schoolKind) {
    if (schoolKind == 0 || schoolKind == 1)
        return {};
    return QStringLiteral("校種の設定 (%1) が正しくありません。").arg(schoolKind);
}

std::vector<int> defaultGradeSlots(const GradeHyouteiStore &store) {
    std::vector<int> seats;
    for (int slot = 0; slot < store.classCount() * kSeatsPerClass; ++slot)
        if (!store.name(slot).isEmpty())
            seats.push_back(slot);
    return seats;
}

QString gradeTransferText(const GradeHyouteiStore &store, int display, const std::vector<int> &seats) {
    const int v = gradesubjects::viewpointCount(store.displaySubjects().value(display));
    QString text;
    for (int slot : seats) {
        const GradeHyouteiStore::Required &r = store.displayRequired(display, slot);
        for (int k = 0; k < v; ++k)
            text += r.marks[std::size_t(k)] + u'\t';
        text += r.evaluation + QStringLiteral("\r\n");
    }
    return text;
}

QString studentItem(const GradeHyouteiStore &store, int slot) {
    const int number = numberOfSlot(slot);
    return roster::classLabel(slot, store.inputs().classType).trimmed() + QStringLiteral("組") +
           (number < 10 ? QStringLiteral(" ") : QString()) + QString::number(number) + u' ' +
           store.name(slot);
}

} // namespace tavro::exchange
