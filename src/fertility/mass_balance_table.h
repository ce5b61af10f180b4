#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// METHOD_2.KB: the agronomic coefficients of the mass-balance and uptake-efficiency methods, 259
// little-endian floats. The accessors name the groups; an index outside its group yields 0, so a
// choice that was never made (-1) or a stored value out of range never reads a neighbour.
namespace tw {

constexpr std::size_t kMassBalanceValues = 259;
constexpr std::size_t kMassBalanceTableSize = kMassBalanceValues * 4;

struct MassBalanceTable
{
    std::array<float, kMassBalanceValues> values{};

    /// Background nitrate (ppm x 10) of a texture 0..11.
    float background(int texture) const { return at(8, 12, texture); }
    float om_a() const { return values[20]; }
    float om_b() const { return values[21]; }
    float om_c() const { return values[22]; }
    float residue_tillage(int tillage) const { return at(23, 6, tillage); }
    float residue_n(int crop, int residue_left) const;
    float residue_factor(int crop) const { return at(107, 26, crop); }
    float pre_legume_factor(int level) const { return at(133, 4, level); }
    float harvest_factor(int harvest) const { return at(137, 2, harvest); }
    float legume_n(int row, int previous_yield) const;
    float legume_factor(int row) const { return at(160, 7, row); }
    /// By manure form (0 Solid, 1 Liquid), fresh (0/1) and application method 0..3.
    float availability(int form, int fresh, int method) const;
    /// This season's and the following season's fraction, by manure form and type 0..6.
    std::pair<float, float> mineralization(int form, int type) const;
    float default_n(int form, int type) const;
    float default_moisture(int form, int type) const;
    float denitrification_percent(int om_class, int drainage) const;

private:
    float at(std::size_t first, int count, int index) const;
    /// The index of (form, type) in the groups ordered type by type, or -1.
    static int manure_index(int form, int type);
};

MassBalanceTable default_mass_balance_table();
std::vector<std::uint8_t> encode_mass_balance_table(const MassBalanceTable &table);

/// Reads METHOD_2.KB, re-creating a missing file (after the notice). Whenever the file cannot
/// give a whole table (it cannot be created, cannot be read, or is short) the table holds the
/// defaults, after the message. Returns 1.
int kb_ReadNMethod2Table(MassBalanceTable &table);

/// Writes the default METHOD_2.KB; its bytes, or nothing after the message.
std::optional<std::vector<std::uint8_t>> kb_CreateNMethod2Table();

} // namespace tw
