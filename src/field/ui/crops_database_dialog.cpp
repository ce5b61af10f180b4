#include "field/ui/crops_database_dialog.h"

#include "field/ui/crop_sheet.h"
#include "platform/ui/interaction.h"
#include "refdata/database.h"

namespace tw {

CCropsDatabaseDlg::CCropsDatabaseDlg(QWidget *parent)
    : RecordListDialog(QStringLiteral("Crops Database"), QStringLiteral("<< &New"), parent)
{
    refill();
}

void CCropsDatabaseDlg::refill()
{
    std::vector<QStringList> rows;
    for (const CropRecord &crop : editor_.records())
        rows.push_back({QString::fromStdString(crop.name), QString::fromStdString(crop.hybrid)});
    show_rows({QStringLiteral("Crop Name"), QStringLiteral("Hybrid Type")}, rows, 2);
}

void CCropsDatabaseDlg::add_record()
{
    CropRecord crop;
    db_InitCrop(crop, 1);
    CCropSheet sheet(crop, CropSheetFor::Database, this);
    if (interaction().exec(sheet) != QDialog::Accepted)
        return;
    editor_.add(sheet.crop());
    refill();
}

void CCropsDatabaseDlg::edit_record(int row)
{
    const auto i = static_cast<std::size_t>(row);
    CCropSheet sheet(editor_.records()[i], CropSheetFor::Database, this);
    if (interaction().exec(sheet) != QDialog::Accepted)
        return;
    editor_.replace(i, sheet.crop(), false);
    refill();
}

} // namespace tw
