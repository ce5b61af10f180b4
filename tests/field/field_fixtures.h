#pragma once

#include "field/field_doc.h"
#include "location/location_doc.h"
#include "refdata/records.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tw::test {

/// The default CORN crop of crop.db: stages end on days 10, 25, 45, 65, 80 (R1, full cover),
/// 90, 95, 100, 105, 120 (R6, stop irrigating) and 122 (harvest).
CropRecord corn();
/// A short crop: Planting, Emergence 10 d / 100 GDD, Full Cover 20 / 250, Stop Irrigating
/// 30 / 300, Harvest 31 / 320.
CropRecord short_crop();
/// A loam: field capacity 0.3425, AWHC 0.2092.
SoilRecord loam();

struct Weather
{
    float t_min = 12.0f;
    float t_max = 28.0f;
    float etr = 6.0f;
    float rain = 0.0f;
};

/// A location of `days` days from 1 May 2022 whose first `weather_days` hold the weather.
std::unique_ptr<CLocationDoc> make_location(int days, int weather_days, Weather weather = {});

/// A field bound to the location, planted `offset` days after its start, built and run.
std::unique_ptr<CFieldDoc> make_field(CLocationDoc &location, const CropRecord &crop,
                                      int offset = 0, std::int32_t system = 9);

/// "day 3", "everything", "planting date" or "fields", as the hint logs keep them.
std::string hint_text(ViewHint hint);

/// A view that keeps the hints it is told, and where it heard them from.
struct HintLog : DocumentView
{
    std::vector<std::string> *log = nullptr;
    std::string who;
    void on_update(ViewHint hint) override { log->push_back(who + " " + hint_text(hint)); }
};

/// Every field test: a scratch working directory (no nutrient files), recorded messages and the
/// default preferences.
class FieldTest : public ::testing::Test
{
protected:
    ScopedWorkDir work_dir;
    ScopedMessages messages;
    ScopedSettings settings;
};

} // namespace tw::test
