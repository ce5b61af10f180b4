#include "fertility/ui/fertilizer_wizard.h"

#include "fertility/consultation.h"
#include "fertility/field_facts.h"
#include "fertility/ui/application_dialog.h"
#include "fertility/ui/schedule_dialog.h"
#include "fertility/ui/wizard_page_dialog.h"
#include "platform/dates.h"
#include "platform/ui/interaction.h"

namespace tw {

namespace {

bool run_pages(QWidget *parent, FertilizerConsultation &c)
{
    using Stage = FertilizerConsultation::Stage;
    for (;;) {
        switch (c.stage()) {
        case Stage::Pages:
        case Stage::Results: {
            // Next has already moved the consultation on when the page is accepted.
            CWizardPageDlg page(c, parent);
            const int result = interaction().exec(page);
            if (result == CWizardPageDlg::Back)
                c.back();
            else if (result != QDialog::Accepted)
                c.cancel();
            break;
        }
        case Stage::Applications: {
            QtApplicationChooser chooser(parent);
            c.schedule(chooser);
            break;
        }
        case Stage::Schedule: {
            CScheduleDlg page(c.table(), parent);
            const int result = interaction().exec(page);
            if (result == CScheduleDlg::Reschedule)
                c.reschedule();
            else if (result == QDialog::Accepted)
                c.finish();
            else
                c.cancel();
            break;
        }
        case Stage::Saved: return true;
        case Stage::Ended: return false;
        }
    }
}

} // namespace

bool run_fertilizer_wizard(QWidget *parent, CFieldDoc &field)
{
    FertilizerConsultation consultation(fertility_inputs(), field_facts(field), today_serial());
    return run_pages(parent, consultation);
}

} // namespace tw
