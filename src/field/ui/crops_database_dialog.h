#pragma once

#include "refdata/ui/database_dialog.h"

namespace tw {

/// "Crops Database": crop.db in a list of names and hybrid types, each crop edited in the crop
/// sheet ("Modify Crops Database Details").
class CCropsDatabaseDlg : public RecordListDialog<CropRecord>
{
    Q_OBJECT

public:
    explicit CCropsDatabaseDlg(QWidget *parent = nullptr);

private:
    void refill() override;
    void add_record() override;
    void edit_record(int row) override;
};

} // namespace tw
