#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace tw {

class CFieldDoc;
struct ConsultationNotice;
struct LeachingSummary;
struct WaterStress;

/// "Leaching Analysis Results": the irrigation and fertility figures with their grades, the
/// advice under "Recommendations", and the season's water stress below it.
class CLeachingReportDlg : public QDialog
{
    Q_OBJECT

public:
    CLeachingReportDlg(const LeachingSummary &summary, const WaterStress &stress,
                       QWidget *parent = nullptr);

    QPlainTextEdit *advice() const { return advice_; }
    /// The water-stress sentence; empty when the crop never passed the critical deficit.
    QString stress_text() const;

private:
    QPlainTextEdit *advice_;
    QLabel *stress_;
};

/// The notice that the report to follow covers the season up to the midseason consultation.
class CLeachingConsultationDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CLeachingConsultationDlg(const ConsultationNotice &notice, QWidget *parent = nullptr);

    QLineEdit *date_edit() const { return date_; }

private:
    QLineEdit *date_;
};

/// The report window, modal.
void show_leaching_report(QWidget *parent, const LeachingSummary &summary,
                          const WaterStress &stress);
/// The "Leaching Consultation" notice of the midseason soil test of that day, modal.
void show_leaching_consultation_notice(QWidget *parent, int consultation_date);

/// The field window's "Leaching Summary": the check of the record and the analysis (whose
/// refusals go through the message port), then the notice of a midseason consultation and the
/// report.
void show_leaching_summary(QWidget *parent, const CFieldDoc &field);

} // namespace tw
