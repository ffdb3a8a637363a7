#include "evaluation/Results.h"

#include <cmath>

namespace tavro {

namespace {

const QDateTime &epoch() {
    static const QDateTime e(QDate(1899, 12, 30), QTime(0, 0));
    return e;
}

constexpr double kMsPerDay = 86400000.0;

} // namespace

bool StudentResult::isEmpty() const {
    if (!evaluation.isEmpty() || percentage != kNoPercentage || !comment.isEmpty())
        return false;
    for (int v = 0; v < kViewpoints; ++v)
        if (!marks[v].isEmpty() || viewpointPercentages[v] != kNoPercentage)
            return false;
    return true;
}

EvaluationResults::EvaluationResults() {
    reset();
}

void EvaluationResults::reset() {
    // Destroying and value-initialising is cheaper than copying a default entry over each one.
    entries.clear();
    entries.resize(std::size_t(kPeriods) * kSlots);
    dateTimes.fill(0.0);
}

void EvaluationResults::resetClass(int cls) {
    for (int k = 1; k <= kPeriods; ++k)
        for (int n = 1; n <= kSeatsPerClass; ++n)
            if (StudentResult &s = at(k, cls, n); !s.isEmpty())
                s = StudentResult{};
}

double toDayCount(const QDateTime &dateTime) {
    if (!dateTime.isValid())
        return 0.0;
    // Calendar days and time of day separately, so no time zone or daylight saving shift enters.
    const double days = double(epoch().date().daysTo(dateTime.date()));
    const double fraction = double(dateTime.time().msecsSinceStartOfDay()) / kMsPerDay;
    // Before the epoch the fraction still counts forward from midnight (-1.25 is 1899-12-29 06:00).
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime fromDayCount(double days) {
    if (days == 0.0 || !std::isfinite(days) || std::fabs(days) > 2958466.0) // beyond 9999-12-31
        return QDateTime();
    const double whole = std::trunc(days);
    const double fraction = std::fabs(days - whole);
    qint64 ms = qint64(std::llround(fraction * kMsPerDay));
    qint64 dayOffset = qint64(whole);
    if (ms >= qint64(kMsPerDay)) {
        ms -= qint64(kMsPerDay);
        dayOffset += days >= 0 ? 1 : -1;
    }
    return QDateTime(epoch().date().addDays(dayOffset), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

} // namespace tavro
