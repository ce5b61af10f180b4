#include "fertility/ui/wizard_page_dialog.h"

#include "fertility/consultation.h"
#include "fertility/ui/method_calcs_dialog.h"
#include "platform/message_port.h"
#include "platform/text_format.h"
#include "platform/ui/date_field.h"
#include "platform/ui/dialog_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>
#include <string_view>

namespace tw {
namespace {

/// The method rows of the results pages: a figure and its certainty per method, one group per
/// soil test a midseason correction compares. The group's name leads each caption of the page.
struct MethodGroup
{
    std::string_view key_prefix;
    std::string_view title;
};

constexpr MethodGroup kMethodGroups[] = {
    {"preseason_test_", "Pre-Season Test"},
    {"new_test_", "New Soil Test"},
    {"method_", ""},
};

const MethodGroup &group_of(std::string_view key)
{
    for (const MethodGroup &g : kMethodGroups) {
        if (key.starts_with(g.key_prefix))
            return g;
    }
    return kMethodGroups[std::size(kMethodGroups) - 1];
}

bool is_method_figure(const std::vector<PageField> &fields, std::size_t i)
{
    return fields[i].kind == FieldKind::Display && i + 1 < fields.size() &&
           fields[i + 1].key == fields[i].key + "_certainty";
}

std::string without_group(const std::string &caption, const MethodGroup &group)
{
    const std::string lead = std::string(group.title) + " ";
    return !group.title.empty() && caption.starts_with(lead) ? caption.substr(lead.size())
                                                             : caption;
}

std::string range_message(const PageField &f)
{
    const char *format = f.kind == FieldKind::Integer ? "Please enter an integer between %g and %g."
                                                      : "Please enter a number between %g and %g.";
    return strprintf(format, f.min, f.max);
}

bool takes(const PageField &f, double value)
{
    return value >= f.min && value <= f.max &&
           (f.kind != FieldKind::Integer || value == std::floor(value));
}

} // namespace

void add_page_buttons(QDialog &page, QBoxLayout &row, QPushButton *back, int back_result,
                      QPushButton *forward)
{
    row.addStretch(1);
    row.addWidget(back);
    row.addWidget(forward);
    forward->setDefault(true);
    QObject::connect(back, &QPushButton::clicked, &page,
                     [&page, back_result] { page.done(back_result); });
    QObject::connect(forward, &QPushButton::clicked, &page, &QDialog::accept);
}

CWizardPageDlg::CWizardPageDlg(FertilizerConsultation &consultation, QWidget *parent)
    : QDialog(parent)
    , consultation_(consultation)
    , back_(new QPushButton(QStringLiteral("< &Back"), this))
    , next_(new QPushButton(QStringLiteral("&Next  >"), this))
{
    setWindowTitle(qt_text(page().title()));
    keep_caption_whole(*this);
    auto *form = new QFormLayout;
    const std::vector<PageField> &fields = page().fields();
    for (std::size_t i = 0; i < fields.size();) {
        if (is_method_figure(fields, i)) {
            add_method_rows(*form, i);
        } else {
            add_field(*form, fields[i]);
            ++i;
        }
    }

    auto *buttons = new QHBoxLayout;
    const PageId id = consultation_.page_id();
    if (id == PageId::PreseasonResults || id == PageId::MidseasonResults) {
        calculations_ = new QPushButton(QStringLiteral("&View Calculations"), this);
        // The breakdowns are those of the pre-season figures; a correction has none of its own.
        calculations_->setEnabled(id == PageId::PreseasonResults);
        connect(calculations_, &QPushButton::clicked, this, [this] {
            show_calculation_methods(this, consultation_.inputs(), consultation_.breakdown_texts());
        });
        buttons->addWidget(calculations_);
    }
    add_page_buttons(*this, *buttons, back_, Back, next_);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    sync();
}

WizardPage &CWizardPageDlg::page() const
{
    return consultation_.page();
}

void CWizardPageDlg::add_field(QFormLayout &form, const PageField &field)
{
    if (!field.visible)
        return;
    QWidget *editor = make_editor(field);
    if (field.kind == FieldKind::Check) {
        form.addRow(editor);
        bindings_.push_back({field.key, editor, nullptr});
        return;
    }
    auto *caption = new QLabel(qt_text(field.caption), this);
    form.addRow(caption, field.unit.empty() ? editor : with_label(editor, qt_text(field.unit)));
    bindings_.push_back({field.key, editor, caption});
}

void CWizardPageDlg::add_method_rows(QFormLayout &form, std::size_t &at)
{
    const std::vector<PageField> &fields = page().fields();
    const MethodGroup &group = group_of(fields[at].key);
    auto *box = new QGroupBox(qt_text(group.title), this);
    auto *grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("lb/acre"), box), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Certainty (%)"), box), 0, 2);
    bool any_enabled = false;
    for (int row = 1;
         at < fields.size() && is_method_figure(fields, at) && &group_of(fields[at].key) == &group;
         ++row, at += 2) {
        const PageField &figure = fields[at];
        const PageField &certainty = fields[at + 1];
        auto *caption = new QLabel(qt_text(without_group(figure.caption, group)), box);
        QWidget *figure_edit = make_editor(figure);
        QWidget *certainty_edit = make_editor(certainty);
        grid->addWidget(caption, row, 0);
        grid->addWidget(figure_edit, row, 1);
        grid->addWidget(certainty_edit, row, 2);
        bindings_.push_back({figure.key, figure_edit, caption});
        bindings_.push_back({certainty.key, certainty_edit, nullptr});
        any_enabled = any_enabled || figure.enabled;
    }
    box->setEnabled(any_enabled);
    form.addRow(box);
}

QWidget *CWizardPageDlg::make_editor(const PageField &field)
{
    const std::string key = field.key;
    QWidget *editor = nullptr;
    switch (field.kind) {
    case FieldKind::Check: {
        auto *box = new QCheckBox(qt_text(field.caption), this);
        connect(box, &QCheckBox::toggled, this, [this, key](bool on) { change(key, on ? 1 : 0); });
        editor = box;
        break;
    }
    case FieldKind::Choice: {
        auto *list = new QComboBox(this);
        for (const std::string &choice : field.choices)
            list->addItem(qt_text(choice));
        connect(list, &QComboBox::currentIndexChanged, this,
                [this, key](int index) { change(key, index); });
        editor = list;
        break;
    }
    case FieldKind::Date: {
        auto *date = new DateField(this);
        date->setDate(qdate_of(static_cast<int>(field.value)));
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("MM/dd/yy"));
        connect(date, &QDateEdit::dateChanged, this,
                [this, key](QDate day) { change(key, serial_of(day)); });
        editor = date;
        break;
    }
    case FieldKind::Display: {
        QLineEdit *shown = number_edit(this, false);
        show_number(shown, static_cast<float>(field.value));
        editor = shown;
        break;
    }
    case FieldKind::Integer:
    case FieldKind::Number: {
        QLineEdit *edit =
            field.kind == FieldKind::Integer ? whole_number_edit(this) : number_edit(this);
        show_number(edit, static_cast<float>(field.value));
        // A figure that decides what else the page offers (the nitrogen to apply) takes effect
        // as it is typed; one the field does not take waits for Next to be refused.
        connect(edit, &QLineEdit::textEdited, this, [this, key](const QString &text) {
            const PageField *f = page().field(key);
            const auto value = parse_number_text(text.trimmed().toStdString());
            if (f && value && takes(*f, *value))
                change(key, *value);
        });
        editor = edit;
        break;
    }
    }
    editor->setObjectName(QString::fromStdString(key));
    return editor;
}

void CWizardPageDlg::change(const std::string &key, double value)
{
    // A value the page refuses (its control was just disabled by a rule) is not kept; showing
    // the page again puts the control back to what the page holds.
    page().set(key, value);
    sync();
}

void CWizardPageDlg::sync()
{
    for (const Binding &b : bindings_) {
        const PageField *f = page().field(b.key);
        if (!f)
            continue;
        b.editor->setEnabled(f->enabled);
        if (b.caption)
            b.caption->setEnabled(f->enabled);
        const QSignalBlocker quiet(b.editor);
        if (auto *box = qobject_cast<QCheckBox *>(b.editor))
            box->setChecked(f->value != 0.0);
        else if (auto *list = qobject_cast<QComboBox *>(b.editor))
            list->setCurrentIndex(static_cast<int>(f->value));
    }
}

bool CWizardPageDlg::take_typed_figures()
{
    for (const Binding &b : bindings_) {
        auto *edit = qobject_cast<QLineEdit *>(b.editor);
        const PageField *f = page().field(b.key);
        // A figure shown and left alone keeps the page's value, not its six-digit picture.
        if (!edit || edit->isReadOnly() || !edit->isModified() || !f || !f->enabled)
            continue;
        const auto value = parse_number_text(edit->text().trimmed().toStdString());
        if (!value || !takes(*f, *value)) {
            messages().inform(range_message(*f));
            edit->setFocus();
            edit->selectAll();
            return false;
        }
        if (const auto refused = page().set(b.key, *value)) {
            messages().inform(*refused);
            return false;
        }
    }
    return true;
}

void CWizardPageDlg::accept()
{
    if (take_typed_figures() && consultation_.next())
        QDialog::accept();
    else
        sync();
}

} // namespace tw
