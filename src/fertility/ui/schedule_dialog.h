#pragma once

#include <QDialog>

#include <array>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace tw {

struct ScheduleTable;

/// "Fertilizer Application Schedule": the planned applications and the totals of the nutrients.
/// "&Finish >" accepts it (the consultation then saves); "< &Reschedule" ends it with
/// `Reschedule`.
class CScheduleDlg : public QDialog
{
    Q_OBJECT

public:
    enum { Reschedule = 2 };

    explicit CScheduleDlg(const ScheduleTable &table, QWidget *parent = nullptr);

    QTreeWidget *list() const { return list_; }
    /// The totals of nitrogen, phosphorus and potassium.
    QLineEdit *total(int nutrient) const { return totals_[nutrient]; }
    /// The lines saying which nutrients the schedule falls short of, under the totals.
    const std::vector<QLabel *> &shortfalls() const { return shortfalls_; }
    QPushButton *reschedule_button() const { return reschedule_; }
    QPushButton *finish_button() const { return finish_; }

private:
    QTreeWidget *list_;
    QPushButton *reschedule_;
    QPushButton *finish_;
    std::array<QLineEdit *, 3> totals_{};
    std::vector<QLabel *> shortfalls_;
};

} // namespace tw
