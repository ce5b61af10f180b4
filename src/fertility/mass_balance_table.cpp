#include "fertility/mass_balance_table.h"

#include "fertility/work_files.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/record_codec.h"
#include "platform/work_dir.h"

#include <algorithm>
#include <iterator>

namespace tw {
namespace {

constexpr const char *kFileName = "METHOD_2.KB";

constexpr float kDefaults[] = {
    // 0-7, kept but not read
    0.9f,
    4.5f,
    3.0f,
    50.0f,
    21.0f,
    12.0f,
    9.0f,
    8.0f,
    // 8-19 background nitrate by texture
    70,
    34,
    18,
    8,
    5,
    45,
    28,
    10,
    6,
    50,
    34,
    14,
    // 20-22 organic-matter mineralization
    0.58f,
    12.0f,
    1.5f,
    // 23-28 residue left by tillage, %
    5,
    20,
    18,
    10,
    15,
    15,
    // 29-106 residue nitrogen by previous crop (High, Medium, Low residue)
    5.4f,
    4.5f,
    3.6f, // Alfalfa
    15.0f,
    12.5f,
    10.0f, // Barley
    2.4f,
    2.0f,
    1.6f, // Beans (dry)
    26.4f,
    22.0f,
    17.6f, // Corn
    0,
    0,
    0, // Fallow
    3.25f,
    2.71f,
    2.17f, // Hay
    10.2f,
    8.5f,
    6.8f, // Oats
    1.2f,
    1.0f,
    0.8f, // Pasture/Grass
    20.7f,
    17.25f,
    13.8f, // Potatoes
    10.2f,
    8.5f,
    6.8f, // Sorghum
    28.8f,
    24.0f,
    19.2f, // Sugarbeets
    0.6f,
    0.5f,
    0.4f, // Sunflowers
    15.6f,
    13.0f,
    10.4f, // Wheat
    23.1f,
    19.25f,
    15.4f, // Carrots
    4.8f,
    4.0f,
    3.2f, // Clover
    3.0f,
    2.5f,
    2.0f, // Cowpeas
    9.36f,
    7.8f,
    6.24f, // Cucumbers
    3.6f,
    3.0f,
    2.4f, // Legume Grass
    13.2f,
    11.0f,
    8.8f, // Lettuce
    4.8f,
    4.0f,
    3.2f, // Lupine
    2.04f,
    1.7f,
    1.36f, // Millet
    23.4f,
    19.5f,
    15.6f, // Onions
    2.4f,
    2.0f,
    1.6f, // Peas
    3.0f,
    2.5f,
    2.0f, // Soybeans
    2.04f,
    1.7f,
    1.36f, // Sudan
    18.0f,
    15.0f,
    12.0f, // Tomatoes
    // 107-132 residue factor by previous crop
    66.67f,
    12.5f,
    45.0f,
    7.0f,
    0.0f,
    17.0f,
    12.6f,
    17.0f,
    6.0f,
    20.0f,
    6.6f,
    48.6f,
    11.7f,
    5.4f,
    60.0f,
    60.0f,
    2.4f,
    30.0f,
    4.1f,
    70.0f,
    23.0f,
    4.4f,
    16.8f,
    60.0f,
    23.0f,
    3.2f,
    // 133-136 nitrogen before the legume
    0.85f,
    0.7f,
    0.5f,
    0.2f,
    // 137-138 legume harvest
    0.5f,
    1.5f,
    // 139-159 legume nitrogen by legume row (High, Average, Low previous yield)
    5.4f,
    4.5f,
    3.6f, // Alfalfa and other legumes
    4.8f,
    4.0f,
    3.2f, // Lupine
    4.8f,
    4.0f,
    3.2f, // Clover
    3.0f,
    2.5f,
    2.0f, // Soybeans
    3.0f,
    2.5f,
    2.0f, // Cowpeas
    2.4f,
    2.0f,
    1.6f, // Beans (dry)
    3.6f,
    3.0f,
    2.4f, // Legume Grass
    // 160-166 legume factor
    66.67f,
    70.0f,
    60.0f,
    60.0f,
    60.0f,
    45.0f,
    30.0f,
    // 167-182 manure availability
    0.85f,
    0.65f,
    0.9f,
    0.7f,
    0.99f,
    0.95f,
    0.98f,
    0.96f,
    0.99f,
    0.98f,
    0.98f,
    0.97f,
    0.85f,
    0.85f,
    0.85f,
    0.85f,
    // 183-210 mineralization (this season, following season) by type and form
    0.3f,
    0.15f,
    0.6f,
    0.15f, // Beef solid, liquid
    0.3f,
    0.15f,
    0.6f,
    0.15f, // Dairy
    0.3f,
    0.12f,
    0.6f,
    0.12f, // Horse
    0.7f,
    0.1f,
    0.9f,
    0.1f, // Poultry
    0.3f,
    0.12f,
    0.6f,
    0.12f, // Sheep
    0.7f,
    0.04f,
    0.9f,
    0.04f, // Swine
    0.55f,
    0.15f,
    0.85f,
    0.15f, // Other
    // 211-224 default manure nitrogen, % dry weight
    2.0f,
    2.5f,
    2.5f,
    3.5f,
    1.7f,
    3.5f,
    2.0f,
    4.5f,
    3.0f,
    3.5f,
    1.5f,
    3.0f,
    1.0f,
    1.5f,
    // 225-238 default manure moisture, %
    50,
    75,
    60,
    80,
    55,
    75,
    60,
    80,
    50,
    70,
    55,
    75,
    50,
    70,
    // 239-258 denitrification % by organic-matter class and drainage
    0,
    0,
    0,
    0,
    0, //
    4,
    9,
    14,
    20,
    30, //
    9,
    16,
    20,
    25,
    45, //
    12,
    20,
    25,
    35,
    55,
};
static_assert(std::size(kDefaults) == kMassBalanceValues);

MassBalanceTable decode(const FileBytes &bytes)
{
    MassBalanceTable table;
    for (std::size_t i = 0; i < kMassBalanceValues; ++i)
        table.values[i] = codec::get_f32(bytes, 4 * i);
    return table;
}

} // namespace

float MassBalanceTable::at(std::size_t first, int count, int index) const
{
    return index >= 0 && index < count ? values[first + static_cast<std::size_t>(index)] : 0.0f;
}

namespace {

bool in_range(int value, int count)
{
    return value >= 0 && value < count;
}

} // namespace

float MassBalanceTable::residue_n(int crop, int residue_left) const
{
    if (!in_range(crop, 26) || !in_range(residue_left, 3))
        return 0.0f;
    return at(29, 78, 3 * crop + residue_left);
}

float MassBalanceTable::legume_n(int row, int previous_yield) const
{
    if (!in_range(row, 7) || !in_range(previous_yield, 3))
        return 0.0f;
    return at(139, 21, 3 * row + previous_yield);
}

int MassBalanceTable::manure_index(int form, int type)
{
    return in_range(form, 2) && in_range(type, 7) ? form + 2 * type : -1;
}

float MassBalanceTable::availability(int form, int fresh, int method) const
{
    if (!in_range(form, 2) || !in_range(fresh, 2) || !in_range(method, 4))
        return 0.0f;
    return at(167, 16, form + 2 * fresh + 4 * method);
}

std::pair<float, float> MassBalanceTable::mineralization(int form, int type) const
{
    const int i = manure_index(form, type);
    if (i < 0)
        return {0.0f, 0.0f};
    return {at(183, 28, 2 * i), at(183, 28, 2 * i + 1)};
}

float MassBalanceTable::default_n(int form, int type) const
{
    return at(211, 14, manure_index(form, type));
}

float MassBalanceTable::default_moisture(int form, int type) const
{
    return at(225, 14, manure_index(form, type));
}

float MassBalanceTable::denitrification_percent(int om_class, int drainage) const
{
    if (!in_range(om_class, 4) || !in_range(drainage, 5))
        return 0.0f;
    return at(239, 20, 5 * om_class + drainage);
}

MassBalanceTable default_mass_balance_table()
{
    MassBalanceTable table;
    std::copy(std::begin(kDefaults), std::end(kDefaults), table.values.begin());
    return table;
}

std::vector<std::uint8_t> encode_mass_balance_table(const MassBalanceTable &table)
{
    std::vector<std::uint8_t> bytes(kMassBalanceTableSize);
    for (std::size_t i = 0; i < kMassBalanceValues; ++i)
        codec::put_f32(bytes, 4 * i, table.values[i]);
    return bytes;
}

std::optional<std::vector<std::uint8_t>> kb_CreateNMethod2Table()
{
    // The answer does not matter: without the table no method can run.
    messages().ask_yes_no("Creating a New File with Default Values.",
                          "Cant Find Method 2 Knowledge Base File! ");
    std::vector<std::uint8_t> bytes = encode_mass_balance_table(default_mass_balance_table());
    std::string error;
    if (!write_file_atomic(work_file(kFileName), bytes, &error)) {
        messages().inform(
            "ERROR: Can't Open Method 2 Knowledge Base File in kb_CreateNMethod2Table()!\n" + error,
            "ERROR ", MessageIcon::Error);
        return std::nullopt;
    }
    return bytes;
}

int kb_ReadNMethod2Table(MassBalanceTable &table)
{
    const auto bytes =
        read_or_create_work_file(kFileName, kMassBalanceTableSize, &kb_CreateNMethod2Table);
    if (bytes && bytes->size() == kMassBalanceTableSize) {
        table = decode(*bytes);
        return 1;
    }
    if (bytes || file_exists(work_file(kFileName)))
        messages().inform("ERROR: Couldn't Read Method 2 Knowledge Base File!", "ERROR",
                          MessageIcon::Error);
    table = default_mass_balance_table();
    return 1;
}

} // namespace tw
