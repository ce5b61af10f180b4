#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace tw {

class TipOfDay;

/// The welcome window: the tip (or the getting-started text) that TipOfDay found.
class CTipDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CTipDlg(TipOfDay &tip, QWidget *parent = nullptr);

    QLabel *tip_label() const { return text_; }
    QCheckBox *startup_box() const { return startup_; }
    QPushButton *close_button() const { return close_; }
    QPushButton *next_button() const { return next_; }

    void done(int result) override;

private:
    void show_next();

    TipOfDay &tip_;
    QLabel *text_;
    QCheckBox *startup_;
    QPushButton *close_;
    QPushButton *next_;
};

/// Prepares the tip, shows the window modally when `always` or when "Show on StartUp" is ticked,
/// and finishes in every case, so that every start moves on by one tip.
void run_tip_of_day(TipOfDay &tip, QWidget *parent, bool always);

} // namespace tw
