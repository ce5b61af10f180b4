#pragma once

#include "fertility/ui/application_dialog.h"
#include "fertility/ui/schedule_dialog.h"
#include "fertility/ui/wizard_page_dialog.h"
#include "support/ui_test_env.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

// The fertilizer wizard's pages answered in place of the user.
namespace tw::test {

/// A page of the wizard filled in by `fill`; the page ends as its buttons left it.
template<typename Dialog, typename Fill>
ScriptedInteraction::DialogHandler on_page(Fill fill)
{
    return [fill](QDialog &dialog) {
        fill(static_cast<Dialog &>(dialog));
        return dialog.result();
    };
}

inline void choose(QComboBox *list, const QString &text)
{
    list->setCurrentIndex(list->findText(text));
}

/// The question pages of a pre-season consultation: no soil test, no manure, corn before.
inline void queue_plain_questions(ScriptedInteraction &user)
{
    user.on_dialog(on_page<CWizardPageDlg>([](CWizardPageDlg &page) {
        page.findChild<QCheckBox *>(QStringLiteral("soil_test_available"))->click();
        page.next_button()->click();
    }));
    user.on_dialog(
        on_page<CWizardPageDlg>([](CWizardPageDlg &page) { page.next_button()->click(); }));
    user.on_dialog(on_page<CWizardPageDlg>([](CWizardPageDlg &page) {
        choose(page.findChild<QComboBox *>(QStringLiteral("previous_crop")),
               QStringLiteral("Corn"));
        page.next_button()->click();
    }));
}

/// The results page as proposed (Preplant), urea broadcast as a solid, and Finish.
inline void queue_preplant_urea(ScriptedInteraction &user)
{
    user.on_dialog(
        on_page<CWizardPageDlg>([](CWizardPageDlg &page) { page.next_button()->click(); }));
    user.on_dialog(on_page<CFertilizerApplicationDlg>([](CFertilizerApplicationDlg &page) {
        choose(page.material_list(), QStringLiteral("Urea (46-0-0)"));
        page.state_button(0)->click();
        page.method_list()->showPopup();
        page.method_list()->hidePopup();
        choose(page.method_list(), QStringLiteral("Surface Broadcast"));
        page.accept();
    }));
    user.on_dialog(
        on_page<CScheduleDlg>([](CScheduleDlg &page) { page.finish_button()->click(); }));
}

} // namespace tw::test
