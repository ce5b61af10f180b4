#pragma once

#include <QWidget>

#include <array>
#include <string>

class QPlainTextEdit;

namespace tw {

struct FertilityInputs;

/// "Calculation Method": one method's breakdown as a page of the calculation sheet.
class CMethodCalcsDlg : public QWidget
{
    Q_OBJECT

public:
    explicit CMethodCalcsDlg(const std::string &text, QWidget *parent = nullptr);

    QPlainTextEdit *text() const { return text_; }

private:
    QPlainTextEdit *text_;
};

/// The "Calculation Methods" sheet: the three breakdowns, method 1 titled by the crop.
void show_calculation_methods(QWidget *parent, const FertilityInputs &inputs,
                              const std::array<std::string, 3> &texts);

} // namespace tw
