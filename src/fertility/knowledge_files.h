#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// INPUT.KB (which previous crops are legumes) and REC.KB (how each nutrient is split over the
// application phases, the application methods, and the nitrogen loss factors). Both are created
// with their defaults when missing and never written otherwise, so a user may edit them; a file
// that cannot give its whole image serves the defaults for that run.
namespace tw {

constexpr std::size_t kInputKbSize = 168;
constexpr std::size_t kRecKbSize = 2868;
constexpr int kPreviousCropCount = 26;

struct LegumeFlags
{
    std::array<std::int32_t, kInputKbSize / 4> values{};

    /// The flag of a previous crop (1 = legume); 0 for no crop or one outside the list.
    std::int32_t flag(int previous_crop) const;
};

std::vector<std::uint8_t> default_input_kb_image();
/// Reads INPUT.KB afresh, creating a missing file silently.
LegumeFlags read_input_kb();

/// One application method as the application page lists it.
struct ApplicationMethod
{
    std::string name; ///< char[20]
    std::int32_t class_value = 0;
    std::string description; ///< char[50]
};

/// REC.KB as one image addressed by word, as the schedule builder reads it.
class ScheduleKnowledge
{
public:
    explicit ScheduleKnowledge(std::vector<std::uint8_t> image);

    /// The share of a nutrient planned in a phase (0 Preplant .. 3 Fertigation) for a
    /// combination code 1..15; 0 outside.
    float n_fraction(int code, int phase) const { return fraction(0, code, phase); }
    float p_fraction(int code, int phase) const { return fraction(64, code, phase); }
    float k_fraction(int code, int phase) const { return fraction(128, code, phase); }

    /// The methods (in order) allowed in the phase that suit the material state (0 Solid,
    /// 1 Liquid, 2 Gas).
    std::vector<ApplicationMethod> methods_offered(int phase, int state) const;

    /// The nitrogen loss factor; 1 (no loss) when a key is outside its range.
    float loss_factor(int acid, int volatility, int method_class, int cec_class, int rain) const;

    const std::vector<std::uint8_t> &image() const { return image_; }

private:
    float fraction(std::size_t first, int code, int phase) const;
    std::int32_t word(std::size_t index) const;

    std::vector<std::uint8_t> image_;
};

std::vector<std::uint8_t> default_rec_kb_image();
/// Reads REC.KB afresh, creating a missing file silently.
ScheduleKnowledge read_rec_kb();

} // namespace tw
