#pragma once

#include "refdata/soil_form.h"
#include "refdata/ui/database_dialog.h"

#include <QDialog>

class QLineEdit;

namespace tw {

/// "Soil Attributes": a soil of soil.db or a field's own soil, typed in display units. The dialog
/// stays open while the values are refused; on OK they are in `values`.
class CSoilAttributesDlg : public QDialog
{
    Q_OBJECT

public:
    CSoilAttributesDlg(SoilValues &values, QWidget *parent = nullptr);
    void accept() override;

    QLineEdit *name_edit() const { return name_; }
    QLineEdit *type_edit() const { return type_; }
    QLineEdit *field_capacity_edit() const { return fc_; }
    QLineEdit *wilting_point_edit() const { return pwp_; }
    QLineEdit *awhc_edit() const { return awhc_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void show_values();
    bool take_values();

    SoilValues &values_;
    QLineEdit *name_;
    QLineEdit *type_;
    QLineEdit *fc_;
    QLineEdit *pwp_;
    QLineEdit *awhc_;
};

/// "Soils Database": soil.db in a list, edited through "Soil Attributes".
class CSoilsDatabaseDlg : public RecordListDialog<SoilRecord>
{
    Q_OBJECT

public:
    explicit CSoilsDatabaseDlg(QWidget *parent = nullptr);

private:
    void refill() override;
    void add_record() override;
    void edit_record(int row) override;
};

} // namespace tw
