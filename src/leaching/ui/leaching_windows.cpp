#include "leaching/ui/leaching_windows.h"

#include "leaching/leaching_analysis.h"
#include "leaching/leaching_report.h"
#include "platform/ui/interaction.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tw {
namespace {

QString qt(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// A group's lines in a grid of label, value and grade word. A hidden line keeps its widgets,
/// so that showing it again is a matter of one flag.
QGroupBox *group_box(const ReportGroup &group)
{
    auto *box = new QGroupBox(qt(group.title));
    auto *grid = new QGridLayout(box);
    int row = 0;
    for (const ReportLine &line : group.lines) {
        auto *label = new QLabel(qt(line.label));
        auto *value = new QLabel(QString::fromStdString(line.value));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto *grade = new QLabel(qt(line.grade));
        for (QLabel *widget : {label, value, grade})
            widget->setHidden(line.hidden);
        grid->addWidget(label, row, 0);
        grid->addWidget(value, row, 1);
        grid->addWidget(grade, row, 2);
        ++row;
    }
    // Spare room goes past the grade words and below the last line, not between them.
    grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Expanding), row, 3);
    return box;
}

} // namespace

CLeachingReportDlg::CLeachingReportDlg(const LeachingSummary &summary, const WaterStress &stress,
                                       QWidget *parent)
    : QDialog(parent)
    , advice_(new QPlainTextEdit)
    , stress_(new QLabel(QString::fromStdString(water_stress_sentence(stress)).trimmed()))
{
    setWindowTitle(qt(kLeachingReportCaption));
    auto *figures = new QHBoxLayout;
    figures->addWidget(group_box(irrigation_group(summary)));
    figures->addWidget(group_box(fertility_group(summary)));

    advice_->setReadOnly(true);
    advice_->setPlainText(QString::fromStdString(advice_paragraph(summary, stress)));
    // Room for the paragraph's long sentences without a scroll in the common case.
    advice_->setMinimumSize(advice_->fontMetrics().averageCharWidth() * 80,
                            advice_->fontMetrics().lineSpacing() * 10);
    auto *recommendations = new QGroupBox(qt(kRecommendationsTitle));
    auto *advice_layout = new QVBoxLayout(recommendations);
    advice_layout->addWidget(advice_);

    QGroupBox *water = group_box(water_stress_group(stress));
    stress_->setWordWrap(true);
    stress_->setHidden(stress_->text().isEmpty());
    static_cast<QGridLayout *>(water->layout())->addWidget(stress_, 3, 0, 1, 4);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(figures);
    layout->addWidget(recommendations, 1);
    layout->addWidget(water);
    layout->addWidget(buttons);
}

QString CLeachingReportDlg::stress_text() const
{
    return stress_->text();
}

CLeachingConsultationDlg::CLeachingConsultationDlg(const ConsultationNotice &notice,
                                                   QWidget *parent)
    : QDialog(parent)
    , date_(new QLineEdit(QString::fromStdString(notice.date)))
{
    setWindowTitle(qt(notice.caption));
    auto *text = new QLabel(qt(notice.text));
    text->setWordWrap(true);
    date_->setReadOnly(true);
    auto *date_row = new QHBoxLayout;
    date_row->addWidget(new QLabel(qt(notice.date_label)));
    date_row->addWidget(date_);
    auto *ok = new QPushButton(qt(notice.button));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(date_row);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

void show_leaching_report(QWidget *parent, const LeachingSummary &summary,
                          const WaterStress &stress)
{
    CLeachingReportDlg dialog(summary, stress, parent);
    interaction().exec(dialog);
}

void show_leaching_consultation_notice(QWidget *parent, int consultation_date)
{
    CLeachingConsultationDlg dialog(leaching_consultation_notice(consultation_date), parent);
    interaction().exec(dialog);
}

void show_leaching_summary(QWidget *parent, const CFieldDoc &field)
{
    const std::optional<LeachingRun> run = leaching_summary_command(field);
    if (!run)
        return;
    // However the notice is closed, the report follows.
    if (run->midseason)
        show_leaching_consultation_notice(parent, run->consultation_date);
    show_leaching_report(parent, run->summary, run->stress);
}

} // namespace tw
