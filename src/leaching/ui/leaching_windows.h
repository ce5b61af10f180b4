#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

namespace tw {

class CFieldDoc;
struct ConsultationNotice;
struct LeachingSummary;

/// "Leaching Analysis Results": the irrigation and fertility figures with their grades, and the
/// advice under "Recommendations".
class CLeachingReportDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CLeachingReportDlg(const LeachingSummary &summary, QWidget *parent = nullptr);

    QPlainTextEdit *advice() const { return advice_; }

private:
    QPlainTextEdit *advice_;
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
void show_leaching_report(QWidget *parent, const LeachingSummary &summary);
/// The "Leaching Consultation" notice of the midseason soil test of that day, modal.
void show_leaching_consultation_notice(QWidget *parent, int consultation_date);

/// The field window's "Leaching Summary": the check of the record and the analysis (whose
/// refusals go through the message port), then the notice of a midseason consultation and the
/// report.
void show_leaching_summary(QWidget *parent, const CFieldDoc &field);

} // namespace tw
