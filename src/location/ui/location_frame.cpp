#include "location/ui/location_frame.h"

#include "field/field_summary.h"
#include "location/csv_import_form.h"
#include "location/location_doc.h"
#include "location/ui/csv_import_dialog.h"
#include "location/ui/location_info_sheet.h"
#include "location/ui/location_summary.h"
#include "location/ui/location_view.h"
#include "location/ui/weather_day_dialog.h"
#include "location/ui/weather_printer.h"
#include "location/weather_table.h"
#include "location/weather_update.h"
#include "platform/command_ids.h"
#include "platform/curl_http.h"
#include "platform/dates.h"
#include "platform/edition.h"
#include "platform/message_port.h"
#include "platform/settings_store.h"
#include "platform/ui/interaction.h"
#include "platform/ui/table_export.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QSplitter>
#include <QVBoxLayout>

#include <filesystem>

namespace tw {
namespace {

constexpr int kSummaryHeight = 100;
constexpr int kTableHeight = 500;
constexpr std::size_t kCsvPreviewRows = 8;

struct ImportCommand
{
    int command;
    WeatherFormat format;
};
constexpr ImportCommand kImports[] = {
    {ID_IMPORT_JVU_NEW, WeatherFormat::JvuNew},     {ID_IMPORT_JVU_OLD, WeatherFormat::JvuOld},
    {ID_IMPORT_USDA, WeatherFormat::Usda},          {ID_IMPORT_USDA_NO_RH, WeatherFormat::UsdaNoRh},
    {ID_IMPORT_KANSAS, WeatherFormat::KansasState},
};

const ImportCommand *import_of(int command)
{
    for (const ImportCommand &entry : kImports) {
        if (entry.command == command)
            return &entry;
    }
    return nullptr;
}

} // namespace

CLocationFrame::CLocationFrame(CLocationDoc &doc,
                               std::function<std::vector<std::string>()> open_names,
                               SettingsStore &store, QWidget *parent)
    : DocumentFrame(parent)
    , doc_(doc)
    , open_names_(std::move(open_names))
    , store_(store)
    , splitter_(new QSplitter(Qt::Vertical, this))
    , summary_(edition().location_summary ? new CLocationSummary(doc, splitter_) : nullptr)
    , view_(new CLocationView(doc, splitter_))
{
    splitter_->setChildrenCollapsible(false);
    if (summary_)
        splitter_->setSizes({kSummaryHeight, kTableHeight});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter_);
    connect(view_, &CLocationView::day_activated, this, &CLocationFrame::edit_day);
}

int CLocationFrame::menu_resource() const
{
    return kLocationMenu;
}

bool CLocationFrame::handles_command(int command) const
{
    switch (command) {
    case ID_GENERAL_INFO:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:
    case ID_FILE_EXPORT:
    case ID_EDIT_COPY:
    case ID_IMPORT_CSV:
    case ID_UPDATE_WEATHER: return true;
    default: return import_of(command) != nullptr;
    }
}

void CLocationFrame::run_command(int command)
{
    if (const ImportCommand *entry = import_of(command)) {
        import(entry->format);
        return;
    }
    switch (command) {
    case ID_GENERAL_INFO: edit_location_info(); break;
    case ID_IMPORT_CSV: import_csv(); break;
    case ID_UPDATE_WEATHER: update_weather_from_source(); break;
    case ID_FILE_PRINT: print(); break;
    case ID_FILE_PRINT_PREVIEW: print_preview(); break;
    case ID_FILE_EXPORT: export_table(); break;
    case ID_EDIT_COPY: copy_rows(); break;
    default: break;
    }
}

void CLocationFrame::next_pane(bool)
{
    // Two panes: either way the other one.
    if (!summary_ || summary_->hasFocus())
        view_->setFocus();
    else
        summary_->setFocus();
}

void CLocationFrame::place(QMdiSubWindow &window, const QSize &area)
{
    // No caption of its own (the main window's carries the title); the main window's width and
    // half its height.
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setGeometry(0, 0, area.width(), area.height() / 2);
}

void CLocationFrame::edit_day(int day)
{
    if (day < 0 || day >= doc_.day_count())
        return;
    CWeatherDayDlg dialog(doc_, day, this);
    interaction().exec(dialog);
}

void CLocationFrame::edit_location_info()
{
    std::vector<std::string> names = open_names_ ? open_names_() : std::vector<std::string>{};
    CLocationInfoSheet sheet(doc_, SheetMode::Edit, std::move(names),
                             std::filesystem::current_path(), this);
    interaction().exec(sheet);
}

void CLocationFrame::import(WeatherFormat format)
{
    const QString name =
        interaction().open_file_name(this, QStringLiteral("Import Weather Data from File"),
                                     QStringLiteral("Import Weather(*.TXT);; All Files(*.*)"));
    std::function<int()> reader;
    if (!name.isEmpty())
        reader = [&] {
            return import_weather(doc_, format, std::filesystem::path(name.toStdString()));
        };
    run_import(reader);
}

void CLocationFrame::import_csv()
{
    const QString name =
        interaction().open_file_name(this, QStringLiteral("Import Weather Data from File"),
                                     QStringLiteral("CSV Weather(*.CSV);; All Files(*.*)"));
    const std::filesystem::path file(name.toStdString());
    const auto text = name.isEmpty() ? std::nullopt : read_weather_text(file);
    std::optional<CsvWeatherMap> map;
    bool replace = false;
    if (text) {
        CsvImportForm form(csv_preview(*text, kCsvPreviewRows),
                           store_.read_string(kCsvImportSection, kCsvImportMapKey));
        CCsvImportDlg dialog(form, load_csv_presets(), &save_csv_preset, this);
        if (interaction().exec(dialog) == QDialog::Accepted) {
            map = form.map();
            replace = form.replace();
        }
    }
    if (map)
        store_.write_string(kCsvImportSection, kCsvImportMapKey, csv_weather_map_text(*map));
    std::optional<CsvImportSummary> summary;
    std::function<int()> reader;
    if (map)
        reader = [&] {
            summary = import_csv_weather_text(doc_, *map, *text, replace);
            if (summary && summary->imported == 0)
                doc_.notify_fields(0);
            return summary ? summary->imported : -1;
        };
    run_import(reader);
    // One message says what the import did, however many lines the file had.
    if (summary)
        messages().inform(csv_summary_text(*summary));
}

void CLocationFrame::update_weather_from_source()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CurlHttpPort http;
    const WeatherUpdate update = update_weather(doc_, http, today_serial() - 1);
    QApplication::restoreOverrideCursor();
    if (!update.ok)
        messages().inform(update.problem);
    else
        messages().inform(weather_update_text(update));
    doc_.update_all_views(ViewHint::everything());
}

void CLocationFrame::run_import(const std::function<int()> &reader)
{
    int filled = -1;
    if (reader) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        filled = reader();
        QApplication::restoreOverrideCursor();
    }
    // The fields hear of the import whether or not a file was read; a read file has told them.
    if (filled < 0)
        doc_.notify_fields(0);
    // Every day may have changed: the table shows them all again.
    doc_.update_all_views(ViewHint::everything());
}

void CLocationFrame::print()
{
    print_table(WeatherTablePrinter(doc_, *view_), this);
}

void CLocationFrame::export_table()
{
    const bool fields = summary_->hasFocus();
    const QString name = QString::fromStdString(doc_.name);
    tw::export_table(
        fields ? summary_text_table(doc_) : weather_text_table(doc_),
        name + (fields ? QStringLiteral(" fields.csv") : QStringLiteral(" weather.csv")), this);
}

void CLocationFrame::copy_rows()
{
    if (summary_->hasFocus())
        copy_text(selected_rows_text(*summary_, [](int) { return true; }));
    else
        copy_text(view_->selected_rows_text());
}

void CLocationFrame::print_preview()
{
    preview_table(WeatherTablePrinter(doc_, *view_), this);
}

} // namespace tw
