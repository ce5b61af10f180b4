#include "fertility/ui/application_dialog.h"

#include "fertility/choices.h"
#include "fertility/ui/blend_dialog.h"
#include "platform/ui/dialog_fields.h"
#include "platform/ui/interaction.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <functional>

namespace tw {
namespace {

/// The methods depend on the material's phase, so the list is made again whenever it opens; it
/// stays shut when the page has nothing to list yet.
class MethodList : public QComboBox
{
public:
    MethodList(std::function<bool()> rebuild, QWidget *parent)
        : QComboBox(parent)
        , rebuild_(std::move(rebuild))
    {}

    void showPopup() override
    {
        if (rebuild_())
            QComboBox::showPopup();
    }

private:
    std::function<bool()> rebuild_;
};

} // namespace

CFertilizerApplicationDlg::CFertilizerApplicationDlg(ApplicationPage &page, QWidget *parent)
    : QDialog(parent)
    , page_(page)
    , materials_(new QComboBox(this))
    , states_(new QButtonGroup(this))
    , methods_(new MethodList([this] { return open_method_list(); }, this))
    , rain_(new QComboBox(this))
{
    setWindowTitle(qt_text(page.title()));
    keep_caption_whole(*this);
    for (const SourceMaterial &m : page.materials())
        materials_->addItem(qt_text(material_label(m)));
    materials_->addItem(QStringLiteral("(New Blend)"));
    materials_->setCurrentIndex(-1);
    connect(materials_, &QComboBox::currentIndexChanged, this,
            &CFertilizerApplicationDlg::choose_material);

    auto *phase_box = new QGroupBox(QStringLiteral("Material Phase"), this);
    auto *phase_row = new QHBoxLayout(phase_box);
    for (int state = 0; state < static_cast<int>(choice::kMaterialStates.size()); ++state) {
        auto *button = new QRadioButton(qt_text(choice::kMaterialStates[state]), phase_box);
        states_->addButton(button, state);
        phase_row->addWidget(button);
    }
    connect(states_, &QButtonGroup::idClicked, this, [this](int state) {
        if (page_.state() != state)
            forget_methods();
        page_.select_state(state);
        sync();
    });
    connect(methods_, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row >= 0)
            page_.select_method(static_cast<std::size_t>(row));
    });

    for (const std::string_view rain : choice::kRainExpected)
        rain_->addItem(qt_text(rain));
    rain_->setCurrentIndex(page.rain());
    connect(rain_, &QComboBox::currentIndexChanged, this,
            [this](int rain) { page_.select_rain(rain); });

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Source Material:"), materials_);
    form->addRow(phase_box);
    form->addRow(QStringLiteral("Application Method:"), methods_);
    auto *rain_caption = new QLabel(QStringLiteral("Rain Expected "), this);
    form->addRow(rain_caption, rain_);
    // Water goes on with a fertigation: it always counts as the most rain.
    rain_->setEnabled(page.rain_enabled());
    rain_caption->setEnabled(page.rain_enabled());

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    add_ok_cancel(*this, *layout);
    sync();
}

QRadioButton *CFertilizerApplicationDlg::state_button(int state) const
{
    return qobject_cast<QRadioButton *>(states_->button(state));
}

void CFertilizerApplicationDlg::choose_material(int row)
{
    const int blend_row = static_cast<int>(page_.materials().size());
    const int new_blend_row = materials_->count() - 1;
    if (row == new_blend_row) {
        if (!choose_new_blend()) {
            const QSignalBlocker quiet(materials_);
            materials_->setCurrentIndex(material_row_);
        }
    } else if (row >= 0 && row != blend_row) {
        page_.select_material(static_cast<std::size_t>(row));
        material_row_ = row;
        // A blend not kept in the library is gone once another material is chosen.
        if (has_blend_row_) {
            const QSignalBlocker quiet(materials_);
            materials_->removeItem(blend_row);
            has_blend_row_ = false;
        }
        forget_methods();
    }
    sync();
}

bool CFertilizerApplicationDlg::choose_new_blend()
{
    CNewBlendDlg dialog(page_, this);
    if (interaction().exec(dialog) != QDialog::Accepted || dialog.result() != QDialog::Accepted)
        return false;
    const QSignalBlocker quiet(materials_);
    const int row = static_cast<int>(page_.materials().size());
    const QString label = qt_text(material_label(*page_.material()));
    if (has_blend_row_)
        materials_->setItemText(row, label);
    else
        materials_->insertItem(row, label);
    has_blend_row_ = true;
    materials_->setCurrentIndex(row);
    material_row_ = row;
    forget_methods();
    return true;
}

bool CFertilizerApplicationDlg::open_method_list()
{
    const auto methods = page_.open_method_list();
    if (!methods)
        return false;
    const QSignalBlocker quiet(methods_);
    methods_->clear();
    int current = -1;
    for (const ApplicationMethod &m : *methods) {
        if (page_.method() && page_.method()->name == m.name)
            current = methods_->count();
        methods_->addItem(qt_text(m.name));
        methods_->setItemData(methods_->count() - 1, qt_text(m.description), Qt::ToolTipRole);
    }
    methods_->setCurrentIndex(current);
    return true;
}

void CFertilizerApplicationDlg::forget_methods()
{
    const QSignalBlocker quiet(methods_);
    methods_->clear();
}

void CFertilizerApplicationDlg::sync()
{
    const auto state = page_.state();
    states_->setExclusive(false);
    for (QAbstractButton *button : states_->buttons()) {
        const int id = states_->id(button);
        button->setEnabled(page_.state_enabled(id));
        button->setChecked(state == id);
    }
    states_->setExclusive(true);
}

void CFertilizerApplicationDlg::accept()
{
    if (page_.accept())
        QDialog::accept();
}

bool QtApplicationChooser::choose(ApplicationPage &page)
{
    CFertilizerApplicationDlg dialog(page, parent_);
    return interaction().exec(dialog) == QDialog::Accepted;
}

} // namespace tw
