#pragma once

#include "location/weather_import.h"
#include "platform/ui/document_frame.h"

#include <functional>
#include <string>
#include <vector>

class QSplitter;

namespace tw {

class CLocationDoc;
class CLocationSummary;
class CLocationView;
class SettingsStore;

/// A location's window: the summary of its fields above, the daily weather table below, and the
/// commands of the location menu (the location sheet, the imports, printing).
class CLocationFrame : public DocumentFrame
{
    Q_OBJECT

public:
    /// `open_names` gives the names of the other open locations (the sheet refuses them);
    /// `store` remembers the last CSV mapping.
    CLocationFrame(CLocationDoc &doc, std::function<std::vector<std::string>()> open_names,
                   SettingsStore &store, QWidget *parent = nullptr);

    CLocationDoc &document() const { return doc_; }
    QSplitter *splitter() const { return splitter_; }
    /// None where the edition has no summary of fields.
    CLocationSummary *summary() const { return summary_; }
    CLocationView *view() const { return view_; }

    int menu_resource() const override;
    bool handles_command(int command) const override;
    void run_command(int command) override;
    void next_pane(bool forward) override;
    void place(QMdiSubWindow &window, const QSize &area) override;

    /// The day entry dialog for day i (nothing for a negative row).
    void edit_day(int day);
    /// The location sheet in edit mode.
    void edit_location_info();
    void import(WeatherFormat format);
    /// Import > CSV...: the file, then the column-and-unit dialog over its first lines.
    void import_csv();
    /// Import > Update Weather: the days after the last day with data through yesterday, and the
    /// forecast, from the location's weather source; one message says what came or why nothing.
    void update_weather_from_source();
    void print();
    void print_preview();
    /// File > Export...: the summary of fields when it has the focus, else the weather table.
    void export_table();
    /// Edit > Copy: the selected rows of the pane with the focus.
    void copy_rows();

private:
    /// Runs the reader (none when the user cancelled) under a wait cursor and tells the fields and
    /// views, as every import command ends.
    void run_import(const std::function<int()> &reader);

    CLocationDoc &doc_;
    std::function<std::vector<std::string>()> open_names_;
    SettingsStore &store_;
    QSplitter *splitter_;
    CLocationSummary *summary_;
    CLocationView *view_;
};

} // namespace tw
