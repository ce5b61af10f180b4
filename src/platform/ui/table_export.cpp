#include "platform/ui/table_export.h"

#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/text_table.h"
#include "platform/ui/interaction.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>

#include <algorithm>

namespace tw {

QString selected_rows_text(const QAbstractItemView &view, const std::function<bool(int)> &shown)
{
    const QAbstractItemModel *model = view.model();
    if (!model || !view.selectionModel())
        return {};
    QModelIndexList rows = view.selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    if (rows.isEmpty())
        return {};
    // The titles go first, so that what is pasted says what each column holds.
    QStringList titles;
    for (int c = 0; c < model->columnCount(); ++c) {
        if (shown(c)) {
            titles << QString::fromStdString(bare_title(
                model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().toStdString()));
        }
    }
    QString text = titles.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const QModelIndex &row : rows) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c) {
            if (shown(c))
                cells << model->index(row.row(), c).data(Qt::DisplayRole).toString();
        }
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

void copy_text(const QString &text)
{
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

bool export_table(const TextTable &table, const QString &proposed_name, QWidget *parent)
{
    const QString name = interaction().save_file_name(
        parent, QStringLiteral("Export"), proposed_name, QStringLiteral("CSV files (*.csv)"));
    if (name.isEmpty())
        return false;
    const std::string csv = export_csv_text(table);
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(csv.data());
    std::string error;
    if (!write_file_atomic(name.toStdString(), {bytes, csv.size()}, &error)) {
        messages().inform("Could not write " + name.toStdString() + ": " + error, "Export",
                          MessageIcon::Error);
        return false;
    }
    return true;
}

} // namespace tw
