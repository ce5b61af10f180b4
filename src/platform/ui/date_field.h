#pragma once

#include <QDateEdit>

namespace tw {

/// A date field that takes a date typed whole, "05/01/2022" as "05012022". A plain date edit
/// refuses a digit typed over more than one selected section, so it kept the month it had; and
/// after two digits complete the month it moves to the day, where the "/" typed next moved it
/// on again, past the day.
class DateField : public QDateEdit
{
public:
    explicit DateField(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool moved_on_ = false; ///< the last digit completed a section and moved to the next
};

} // namespace tw
