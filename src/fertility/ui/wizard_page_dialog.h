#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QBoxLayout;
class QFormLayout;
class QLabel;
class QPushButton;

namespace tw {

class FertilizerConsultation;
class WizardPage;
struct PageField;

/// One page of the fertilizer consultation. Its widgets are made from the page's fields and bound
/// to them by key (each widget is named after its field), so the page's own rules enable, check
/// and clear them while the user works. "&Next  >" stores the page through the consultation and
/// stays open while the page refuses; "< &Back" ends the dialog with `Back`; closing the window
/// rejects it.
/// The foot of a consultation page: `back` ends the page with `back_result`, `forward` (the
/// default button) accepts it.
void add_page_buttons(QDialog &page, QBoxLayout &row, QPushButton *back, int back_result,
                      QPushButton *forward);

class CWizardPageDlg : public QDialog
{
    Q_OBJECT

public:
    enum { Back = 2 };

    explicit CWizardPageDlg(FertilizerConsultation &consultation, QWidget *parent = nullptr);

    /// Next: the typed figures, then the consultation's own checks.
    void accept() override;

    QPushButton *back_button() const { return back_; }
    QPushButton *next_button() const { return next_; }
    /// "&View Calculations" on the results pages, else nothing.
    QPushButton *calculations_button() const { return calculations_; }

private:
    struct Binding
    {
        std::string key;
        QWidget *editor;
        QLabel *caption; ///< none for a check box, which carries its own
    };

    WizardPage &page() const;
    void add_field(QFormLayout &form, const PageField &field);
    void add_method_rows(QFormLayout &form, std::size_t &at);
    QWidget *make_editor(const PageField &field);
    void change(const std::string &key, double value);
    /// The page's values and enabling shown again after one of its rules ran.
    void sync();
    /// Every typed figure into the page; false after the message when one is not a figure the
    /// field takes.
    bool take_typed_figures();

    FertilizerConsultation &consultation_;
    std::vector<Binding> bindings_;
    QPushButton *back_;
    QPushButton *next_;
    QPushButton *calculations_ = nullptr;
};

} // namespace tw
