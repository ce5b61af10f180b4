#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One page of the consultation without its window: the controls a page shows, their values, and
// which of them the user can change. The Qt pages bind their widgets to the fields by key; the
// headless consultation sets them from an answers file by key or caption.
namespace tw {

enum class FieldKind {
    Integer,
    Number,
    Check,   ///< 0 or 1
    Choice,  ///< index into `choices`, -1 for none
    Date,    ///< day serial
    Display, ///< a figure the page shows but nobody edits
};

struct PageField
{
    std::string key;     ///< the member the field edits ("yield_goal")
    std::string caption; ///< as the page shows it ("Yield Goal:")
    FieldKind kind = FieldKind::Number;
    double value = 0.0;
    double min = 0.0;
    double max = 0.0;
    std::vector<std::string> choices;
    std::string unit;
    bool enabled = true;
    bool visible = true;
};

class WizardPage
{
public:
    /// Called after every change, to keep the page's enabling rules.
    using Refresh = std::function<void(WizardPage &)>;

    WizardPage() = default;
    WizardPage(std::string title, std::vector<PageField> fields, Refresh refresh = {});

    const std::string &title() const { return title_; }
    const std::vector<PageField> &fields() const { return fields_; }

    /// The field with this key, or with this caption (compared without surrounding blanks, a
    /// trailing ':' and case).
    const PageField *field(std::string_view name) const;

    /// Sets a field as the user would; the reason when the page refuses the value (the field is
    /// not on the page, not shown, not enabled, only displayed, or the value is out of range).
    std::optional<std::string> set(std::string_view name, double value);
    /// The same from text: yes/no for a check box, a choice's text or index, a date as
    /// YYYY-MM-DD, a number.
    std::optional<std::string> set_text(std::string_view name, std::string_view text);

    /// Changes a field from the program's side (a rule of the page), whatever its state.
    void assign(std::string_view key, double value);
    void set_enabled(std::string_view key, bool enabled);

    double value(std::string_view key) const;
    int integer(std::string_view key) const;
    bool checked(std::string_view key) const { return integer(key) != 0; }

private:
    PageField *find(std::string_view name);
    void refresh();

    std::string title_;
    std::vector<PageField> fields_;
    Refresh refresh_;
};

/// A caption as people type it: without surrounding blanks, a trailing ':', runs of blanks and
/// case.
std::string comparable_caption(std::string_view caption);
/// A finite number written out in full, or nothing.
std::optional<double> parse_number_text(std::string_view text);
/// yes/no, true/false or 1/0 in any case, or nothing.
std::optional<bool> parse_yes_no(std::string_view text);

PageField integer_field(std::string key, std::string caption, double value, double min, double max,
                        std::string unit = {});
PageField number_field(std::string key, std::string caption, double value, double min, double max,
                       std::string unit = {});
PageField check_field(std::string key, std::string caption, bool checked);
PageField display_field(std::string key, std::string caption, double value);
PageField date_field(std::string key, std::string caption, int serial);

PageField choice_field(std::string key, std::string caption, int index,
                       std::span<const std::string_view> choices);

} // namespace tw
