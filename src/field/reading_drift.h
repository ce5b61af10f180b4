#pragma once

#include <span>
#include <vector>

namespace tw {

class CFieldDoc;
struct RunSettings;
struct SkillRow;

/// The most (mm a day) the balance is taken to drift from the probes either way: a steadier gap
/// than that is a probe or a set-up fault, which a correction would only hide.
inline constexpr double kMaxDriftRate = 4.0;

/// The stretch from one reading to the next: its length in days and how far the reading at its
/// end lay from the balance carried from the one at its start (measured - predicted deficit, mm).
struct ReadingInterval
{
    int days = 0;
    double miss = 0.0;
};

/// The intervals between consecutive readings of the skill rows. The first row is predicted from
/// planting, whose initial moisture is a guess, not a reading: it starts no interval.
std::vector<ReadingInterval> reading_intervals(std::span<const SkillRow> rows);

/// The rate (mm a day) at which the probes drift from the balance: the least-squares slope
/// through the origin of the misses against the intervals' lengths, sum(miss * days) /
/// sum(days^2), within +-kMaxDriftRate; 0 without an interval (fewer than two readings). A
/// positive rate is water the balance does not see leaving, a negative one water arriving.
double drift_rate(std::span<const ReadingInterval> intervals);

/// The last day with a soil-moisture override of the field's weather days; -1 when none.
int last_reading_day(const CFieldDoc &field);

/// What learning from readings adds to each day after the last reading: the drift rate fitted on
/// the readings through day `last`, which must be computed already. 0 when the field does not
/// learn from its readings.
float learned_depletion(CFieldDoc &field, int last, const RunSettings &settings);

} // namespace tw
