#include "fertility/knowledge_files.h"

#include "fertility/work_files.h"
#include "platform/files.h"
#include "platform/record_codec.h"
#include "platform/work_dir.h"

#include <iterator>

namespace tw {
namespace {

using namespace codec;

constexpr std::int32_t kInputDefaults[] = {
    // legume flag of each previous crop, Alfalfa .. Tomatoes
    1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 1, 0, 0, 0, 1, 0, 0,
    // kept in the file, read by no computation
    85, 40, 55, 50, 4, 3, 1, 0, 0, 3, 2, 1, 2, 3, 3, 2};
static_assert(std::size(kInputDefaults) * 4 == kInputKbSize);

// REC.KB word and byte positions.
namespace rec {
constexpr std::size_t phase_flags = 192, state_flags = 232, class_values = 262, names = 1088,
                      descriptions = 1288, loss_factors = 447;
constexpr std::size_t name_width = 20, description_width = 50, method_count = 10;
static_assert(names + method_count * name_width == descriptions);
static_assert(descriptions + method_count * description_width == 4 * loss_factors);
static_assert(4 * (loss_factors + 270) == kRecKbSize);
} // namespace rec

// Preplant, Starter, PostEmergence, Fertigation by combination code 1..15.
constexpr float kNitrogenFractions[15][4] = {
    {1, 0, 0, 0},          {0, 1, 0, 0},          {0, 0, 1, 0},
    {0, 0, 0, 1},          {0.6f, 0.4f, 0, 0},    {0.7f, 0, 0.3f, 0},
    {0.5f, 0, 0, 0.5f},    {0, 0, 0.7f, 0.3f},    {0, 0.5f, 0, 0.5f},
    {0, 0, 0.3f, 0.7f},    {0.3f, 0.4f, 0.3f, 0}, {0.3f, 0, 0.3f, 0.4f},
    {0.3f, 0.3f, 0, 0.4f}, {0, 0.4f, 0.2f, 0.4f}, {0.2f, 0.3f, 0.2f, 0.3f},
};
constexpr float kPhosphorusPotassiumFractions[15][4] = {
    {1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 0}, {0, 1, 0, 0},
    {1, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0},
    {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {0, 1, 0, 0}, {0, 1, 0, 0},
};

struct DefaultMethod
{
    const char *name;
    const char *description;
    std::int32_t phases[4];
    std::int32_t states[3];
    std::int32_t class_value;
};

constexpr DefaultMethod kMethods[rec::method_count] = {
    {"Band Applicate", "Placement at Side or Below Seed", {0, 1, 0, 0}, {1, 1, 1}, 2},
    {"Inject / Knife", "Placement Below Soil Surface", {1, 1, 0, 0}, {1, 1, 1}, 2},
    {"Pop Up Applicate", "Placement With the Seed", {0, 1, 0, 0}, {1, 0, 0}, 1},
    {"Side Dress", "Placement Beneath Side of Crop Row", {0, 0, 1, 0}, {1, 1, 1}, 2},
    {"Sprinkler Applicate", "Surface Application Through Sprinkler", {0, 0, 0, 1}, {0, 1, 0}, 0},
    {"Surface Broadcast", "Uniformly Distributed Over Soil Surface", {1, 1, 0, 0}, {1, 1, 0}, 0},
    {"Surface Dribble", "Nonuniformly Distributed Over Soil Surface", {1, 1, 0, 0}, {0, 1, 0}, 1},
    {"Surface Incorporate",
     "Uniformly Incorporated into Soil Surface Layer",
     {1, 0, 0, 0},
     {1, 1, 0},
     1},
    {"Top Dress", "Uniformly Distributed Over Soil Surface", {0, 0, 1, 1}, {1, 1, 0}, 0},
    {"Other", "Different Application Method than those Listed", {1, 1, 1, 1}, {1, 1, 1}, 0},
};

// Loss factors by acid (0, 1) and volatility (0..4); each row: method class 0..2, within it the
// CEC class 0..2, within it rain 0..2, which is the order of the stored words.
constexpr float kLossFactors[10][27] = {
    {1.01f, 1.01f, 1, 1.01f, 1, 1, 1, 1, 1, 1.01f, 1, 1, 1, 1,
     1,     1,     1, 1,     1, 1, 1, 1, 1, 1,     1, 1, 1},
    {1.4f,  1.3f,  1.2f,  1.21f, 1.16f, 1.1f, 1.03f, 1.02f, 1,     1.3f,  1.2f, 1.15f, 1.16f, 1.11f,
     1.07f, 1.02f, 1.01f, 1,     1.1f,  1.1f, 1.1f,  1.05f, 1.05f, 1.05f, 1,    1,     1},
    {3,    2.9f, 2.8f, 2.9f, 2.8f,  2.7f,  2.8f,  2.7f,  2.6f,  2,     1.9f, 1.8f, 1.9f, 1.8f,
     1.7f, 1.8f, 1.7f, 1.6f, 1.05f, 1.03f, 1.02f, 1.03f, 1.02f, 1.01f, 1,    1,    1},
    {1.6f,  1.5f,  1.4f,  1.33f, 1.26f, 1.2f, 1.05f, 1.02f, 1,    1.45f, 1.35f, 1.25f, 1.24f, 1.18f,
     1.13f, 1.03f, 1.01f, 1,     1.3f,  1.2f, 1.1f,  1.15f, 1.1f, 1.05f, 1,     1,     1},
    {1.3f,  1.25f, 1.2f,  1.18f, 1.14f, 1.1f,  1.05f, 1.02f, 1,
     1.25f, 1.2f,  1.15f, 1.14f, 1.11f, 1.08f, 1.03f, 1.01f, 1,
     1.2f,  1.15f, 1.1f,  1.1f,  1.08f, 1.05f, 1,     1,     1},
    {1.02f, 1.02f, 1, 1.01f, 1.01f, 1, 1, 1, 1, 1.01f, 1.01f, 1, 1, 1,
     1,     1,     1, 1,     1,     1, 1, 1, 1, 1,     1,     1, 1},
    {1.4f,  1.3f,  1.05f, 1.23f, 1.18f, 1.03f, 1.05f, 1.05f, 1,     1.3f, 1.2f, 1.05f, 1.16f, 1.11f,
     1.03f, 1.02f, 1.02f, 1,     1.02f, 1.02f, 1,     1.01f, 1.01f, 1,    1,    1,     1},
    {2,    1.9f, 1.8f, 1.9f, 1.8f,  1.7f,  1.8f,  1.7f,  1.6f,  1.5f,  1.4f, 1.3f, 1.4f, 1.3f,
     1.2f, 1.3f, 1.2f, 1.1f, 1.05f, 1.03f, 1.02f, 1.03f, 1.02f, 1.01f, 1,    1,    1},
    {1.06f, 1.04f, 1.02f, 1.04f, 1.02f, 1.01f, 1.02f, 1.01f, 1,
     1.05f, 1.03f, 1.02f, 1.03f, 1.02f, 1.01f, 1.01f, 1,     1,
     1.04f, 1.02f, 1.01f, 1.02f, 1.01f, 1,     1,     1,     1},
    {1.05f, 1.03f, 1.01f, 1.03f, 1.02f, 1.01f, 1.02f, 1.01f, 1,
     1.04f, 1.03f, 1.01f, 1.03f, 1.02f, 1,     1.01f, 1,     1,
     1.03f, 1.02f, 1,     1.02f, 1.01f, 1,     1,     1,     1},
};

std::size_t loss_index(int acid, int volatility, int method_class, int cec_class, int rain)
{
    return static_cast<std::size_t>(
        3 * (3 * (3 * (5 * acid + volatility) + method_class) + cec_class + 149) + rain);
}

bool in_range(int value, int count)
{
    return value >= 0 && value < count;
}

/// The file's image when it holds a whole one, else the defaults for this run.
std::vector<std::uint8_t> knowledge_image(const char *name, std::size_t size,
                                          std::vector<std::uint8_t> (*defaults)())
{
    auto bytes = read_or_create_work_file(name, size, [&]() -> std::optional<FileBytes> {
        FileBytes image = defaults();
        if (!write_file_atomic(work_file(name), image))
            return std::nullopt;
        return image;
    });
    if (bytes && bytes->size() == size)
        return std::move(*bytes);
    return defaults();
}

} // namespace

std::int32_t LegumeFlags::flag(int previous_crop) const
{
    return in_range(previous_crop, kPreviousCropCount)
               ? values[static_cast<std::size_t>(previous_crop)]
               : 0;
}

std::vector<std::uint8_t> default_input_kb_image()
{
    std::vector<std::uint8_t> image(kInputKbSize);
    for (std::size_t i = 0; i < std::size(kInputDefaults); ++i)
        put_i32(image, 4 * i, kInputDefaults[i]);
    return image;
}

LegumeFlags read_input_kb()
{
    const std::vector<std::uint8_t> image =
        knowledge_image("INPUT.KB", kInputKbSize, &default_input_kb_image);
    LegumeFlags flags;
    for (std::size_t i = 0; i < flags.values.size(); ++i)
        flags.values[i] = get_i32(image, 4 * i);
    return flags;
}

std::vector<std::uint8_t> default_rec_kb_image()
{
    std::vector<std::uint8_t> image(kRecKbSize);
    for (std::size_t code = 1; code <= 15; ++code) {
        for (std::size_t phase = 0; phase < 4; ++phase) {
            const std::size_t word = 4 * code + phase;
            put_f32(image, 4 * word, kNitrogenFractions[code - 1][phase]);
            put_f32(image, 4 * (64 + word), kPhosphorusPotassiumFractions[code - 1][phase]);
            put_f32(image, 4 * (128 + word), kPhosphorusPotassiumFractions[code - 1][phase]);
        }
    }
    for (std::size_t k = 0; k < rec::method_count; ++k) {
        const DefaultMethod &m = kMethods[k];
        for (std::size_t p = 0; p < 4; ++p)
            put_i32(image, 4 * (rec::phase_flags + 4 * k + p), m.phases[p]);
        for (std::size_t s = 0; s < 3; ++s)
            put_i32(image, 4 * (rec::state_flags + 3 * k + s), m.states[s]);
        put_i32(image, 4 * (rec::class_values + k), m.class_value);
        put_text(image, rec::names + rec::name_width * k, rec::name_width, m.name);
        put_text(image, rec::descriptions + rec::description_width * k, rec::description_width,
                 m.description);
    }
    for (int row = 0; row < 10; ++row) {
        for (int cell = 0; cell < 27; ++cell) {
            const std::size_t word = loss_index(row / 5, row % 5, cell / 9, cell / 3 % 3, cell % 3);
            put_f32(image, 4 * word, kLossFactors[row][cell]);
        }
    }
    return image;
}

ScheduleKnowledge read_rec_kb()
{
    return ScheduleKnowledge(knowledge_image("REC.KB", kRecKbSize, &default_rec_kb_image));
}

ScheduleKnowledge::ScheduleKnowledge(std::vector<std::uint8_t> image)
    : image_(std::move(image))
{}

std::int32_t ScheduleKnowledge::word(std::size_t index) const
{
    return get_i32(image_, 4 * index);
}

float ScheduleKnowledge::fraction(std::size_t first, int code, int phase) const
{
    if (!in_range(code - 1, 15) || !in_range(phase, 4))
        return 0.0f;
    return get_f32(
        image_, 4 * (first + 4 * static_cast<std::size_t>(code) + static_cast<std::size_t>(phase)));
}

std::vector<ApplicationMethod> ScheduleKnowledge::methods_offered(int phase, int state) const
{
    std::vector<ApplicationMethod> offered;
    if (!in_range(phase, 4) || !in_range(state, 3))
        return offered;
    const auto p = static_cast<std::size_t>(phase);
    const auto s = static_cast<std::size_t>(state);
    for (std::size_t k = 0; k < rec::method_count; ++k) {
        if (word(rec::phase_flags + 4 * k + p) == 0 || word(rec::state_flags + 3 * k + s) == 0)
            continue;
        ApplicationMethod m;
        m.name = get_text(image_, rec::names + rec::name_width * k, rec::name_width);
        m.class_value = word(rec::class_values + k);
        m.description = get_text(image_, rec::descriptions + rec::description_width * k,
                                 rec::description_width);
        offered.push_back(std::move(m));
    }
    return offered;
}

float ScheduleKnowledge::loss_factor(int acid, int volatility, int method_class, int cec_class,
                                     int rain) const
{
    if (!in_range(acid, 2) || !in_range(volatility, 5) || !in_range(method_class, 3) ||
        !in_range(cec_class, 3) || !in_range(rain, 3))
        return 1.0f;
    return get_f32(image_, 4 * loss_index(acid, volatility, method_class, cec_class, rain));
}

} // namespace tw
