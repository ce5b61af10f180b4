#include "fertility/wizard_page.h"

#include "platform/dates.h"
#include "platform/text_format.h"

#include <charconv>
#include <cmath>
#include <utility>

namespace tw {
namespace {

std::optional<double> parse_choice(const PageField &f, std::string_view text)
{
    const std::string wanted = comparable_caption(text);
    for (std::size_t i = 0; i < f.choices.size(); ++i) {
        if (comparable_caption(f.choices[i]) == wanted)
            return static_cast<double>(i);
    }
    return parse_number_text(text);
}

std::string range_text(double value)
{
    return strprintf("%g", value);
}

PageField make_field(std::string key, std::string caption, FieldKind kind, double value)
{
    PageField f;
    f.key = std::move(key);
    f.caption = std::move(caption);
    f.kind = kind;
    f.value = value;
    return f;
}

PageField ranged(PageField f, double min, double max, std::string unit)
{
    f.min = min;
    f.max = max;
    f.unit = std::move(unit);
    return f;
}

} // namespace

std::string comparable_caption(std::string_view caption)
{
    std::string s;
    for (const char c : to_upper_ascii(trimmed(caption))) {
        const bool blank = c == ' ' || c == '\t';
        if (!blank || (!s.empty() && s.back() != ' '))
            s += blank ? ' ' : c;
    }
    if (!s.empty() && s.back() == ':')
        s.pop_back();
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

std::optional<double> parse_number_text(std::string_view text)
{
    double value = 0.0;
    const char *first = text.data();
    const char *last = first + text.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<bool> parse_yes_no(std::string_view text)
{
    const std::string t = to_upper_ascii(trimmed(text));
    if (t == "YES" || t == "TRUE" || t == "1")
        return true;
    if (t == "NO" || t == "FALSE" || t == "0")
        return false;
    return std::nullopt;
}

WizardPage::WizardPage(std::string title, std::vector<PageField> fields, Refresh refresh)
    : title_(std::move(title))
    , fields_(std::move(fields))
    , refresh_(std::move(refresh))
{
    this->refresh();
}

const PageField *WizardPage::field(std::string_view name) const
{
    for (const PageField &f : fields_) {
        if (f.key == name)
            return &f;
    }
    const std::string wanted = comparable_caption(name);
    for (const PageField &f : fields_) {
        if (comparable_caption(f.caption) == wanted)
            return &f;
    }
    return nullptr;
}

PageField *WizardPage::find(std::string_view name)
{
    return const_cast<PageField *>(std::as_const(*this).field(name));
}

std::optional<std::string> WizardPage::set(std::string_view name, double value)
{
    PageField *f = find(name);
    if (!f || !f->visible)
        return "the page \"" + title_ + "\" has no field \"" + std::string(name) + "\"";
    if (f->kind == FieldKind::Display)
        return "\"" + f->caption + "\" is shown on the page but cannot be changed";
    if (!f->enabled)
        return "\"" + f->caption + "\" is not enabled on this page";
    double low = f->min, high = f->max;
    if (f->kind == FieldKind::Check) {
        low = 0.0;
        high = 1.0;
    } else if (f->kind == FieldKind::Choice) {
        low = 0.0;
        high = static_cast<double>(f->choices.size()) - 1.0;
    }
    const bool whole = f->kind != FieldKind::Number;
    if (!std::isfinite(value) || (whole && value != std::floor(value)))
        return "\"" + f->caption + "\" takes a whole number";
    if (f->kind != FieldKind::Date && (value < low || value > high))
        return "\"" + f->caption + "\" must be between " + range_text(low) + " and " +
               range_text(high);
    f->value = value;
    refresh();
    return std::nullopt;
}

std::optional<std::string> WizardPage::set_text(std::string_view name, std::string_view text)
{
    const PageField *f = field(name);
    if (!f)
        return set(name, 0.0);
    const std::string t = trimmed(text);
    std::optional<double> value;
    switch (f->kind) {
    case FieldKind::Check:
        if (const auto yes = parse_yes_no(t))
            value = *yes ? 1.0 : 0.0;
        break;
    case FieldKind::Choice: value = parse_choice(*f, t); break;
    case FieldKind::Date:
        if (const auto day = parse_iso_date(t))
            value = *day;
        break;
    default: value = parse_number_text(t); break;
    }
    if (!value)
        return "\"" + f->caption + "\" cannot take \"" + t + "\"";
    return set(name, *value);
}

void WizardPage::assign(std::string_view key, double value)
{
    if (PageField *f = find(key)) {
        f->value = value;
        refresh();
    }
}

void WizardPage::set_enabled(std::string_view key, bool enabled)
{
    if (PageField *f = find(key))
        f->enabled = enabled;
}

double WizardPage::value(std::string_view key) const
{
    const PageField *f = field(key);
    return f ? f->value : 0.0;
}

int WizardPage::integer(std::string_view key) const
{
    const double v = value(key);
    return std::isfinite(v) && std::abs(v) < 2.0e9 ? static_cast<int>(v) : 0;
}

void WizardPage::refresh()
{
    if (refresh_)
        refresh_(*this);
}

PageField integer_field(std::string key, std::string caption, double value, double min, double max,
                        std::string unit)
{
    return ranged(make_field(std::move(key), std::move(caption), FieldKind::Integer, value), min,
                  max, std::move(unit));
}

PageField number_field(std::string key, std::string caption, double value, double min, double max,
                       std::string unit)
{
    return ranged(make_field(std::move(key), std::move(caption), FieldKind::Number, value), min,
                  max, std::move(unit));
}

PageField check_field(std::string key, std::string caption, bool checked)
{
    return make_field(std::move(key), std::move(caption), FieldKind::Check, checked ? 1.0 : 0.0);
}

PageField display_field(std::string key, std::string caption, double value)
{
    return make_field(std::move(key), std::move(caption), FieldKind::Display, value);
}

PageField date_field(std::string key, std::string caption, int serial)
{
    return make_field(std::move(key), std::move(caption), FieldKind::Date, serial);
}

PageField choice_field(std::string key, std::string caption, int index,
                       std::span<const std::string_view> choices)
{
    PageField f = make_field(std::move(key), std::move(caption), FieldKind::Choice, -1.0);
    for (const std::string_view c : choices)
        f.choices.emplace_back(c);
    if (index >= 0 && static_cast<std::size_t>(index) < f.choices.size())
        f.value = index;
    return f;
}

} // namespace tw
