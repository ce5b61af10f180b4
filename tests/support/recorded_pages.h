#pragma once

#include "platform/ui/table_printer.h"
#include "support/ui_test_env.h"

#include <QAbstractItemModel>
#include <QPageSize>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QRectF>
#include <QString>
#include <QTableView>
#include <QTextItem>

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tw::test {

/// A text as it reached the paint engine: its page (from 1) and the box its glyphs cover.
struct PaintedText
{
    int page = 1;
    QRectF box;
    qreal baseline = 0;
    QString text;
};

/// A paint device of a printer's size and resolution that keeps every text painted on it,
/// page by page, instead of putting ink on paper: what a printout says, readable by a test.
class RecordedPages : public QPaintDevice
{
public:
    explicit RecordedPages(const QPrinter &printer)
        : printer_(printer)
        , engine_(*this)
    {}

    QPaintEngine *paintEngine() const override { return &engine_; }
    void turn_page() { ++page_; }
    const std::vector<PaintedText> &texts() const { return texts_; }
    /// The texts of one page with the pieces of a run (a font change splits one) joined.
    std::vector<PaintedText> page_texts(int page) const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    class Engine : public QPaintEngine
    {
    public:
        explicit Engine(RecordedPages &pages)
            : QPaintEngine(QPaintEngine::AllFeatures)
            , pages_(pages)
        {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        // Lines and shapes leave no trace (the engine's defaults would turn them into each
        // other without end).
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawPath(const QPainterPath &) override {}
        void drawTextItem(const QPointF &at, const QTextItem &item) override
        {
            pages_.texts_.push_back({pages_.page_,
                                     QRectF(at.x(), at.y() - item.ascent(), item.width(),
                                            item.ascent() + item.descent()),
                                     at.y(), item.text()});
        }
        Type type() const override { return QPaintEngine::User; }

    private:
        RecordedPages &pages_;
    };

    const QPrinter &printer_;
    mutable Engine engine_;
    int page_ = 1;
    std::vector<PaintedText> texts_;
};

inline int RecordedPages::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return printer_.width();
    case PdmHeight: return printer_.height();
    case PdmWidthMM: return printer_.widthMM();
    case PdmHeightMM: return printer_.heightMM();
    case PdmDpiX: return printer_.logicalDpiX();
    case PdmDpiY: return printer_.logicalDpiY();
    case PdmPhysicalDpiX: return printer_.physicalDpiX();
    case PdmPhysicalDpiY: return printer_.physicalDpiY();
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    case PdmNumColors: return 0x7fffffff;
    case PdmDepth: return 32;
    default: return 1;
    }
}

inline std::vector<PaintedText> RecordedPages::page_texts(int page) const
{
    std::vector<PaintedText> joined;
    for (const PaintedText &t : texts_) {
        if (t.page != page)
            continue;
        if (!joined.empty()) {
            PaintedText &last = joined.back();
            if (std::abs(last.baseline - t.baseline) < 0.5 &&
                std::abs(t.box.left() - last.box.right()) < 0.5) {
                last.text += t.text;
                last.box = last.box.united(t.box);
                continue;
            }
        }
        joined.push_back(t);
    }
    return joined;
}

/// What is wrong with a printout of `pages` pages whose table has `titles`: a title missing from
/// a page, a text beyond the paper's edge, two texts of one line running into each other. Empty
/// when nothing is.
inline QStringList printout_faults(const RecordedPages &printout, int pages,
                                   const QStringList &titles, qreal paper_width)
{
    QStringList faults;
    for (int page = 1; page <= pages; ++page) {
        std::vector<PaintedText> texts = printout.page_texts(page);
        for (const QString &title : titles) {
            if (std::none_of(texts.begin(), texts.end(), [&](const PaintedText &t) {
                    return t.text.trimmed() == title.trimmed();
                }))
                faults << QStringLiteral("page %1 lacks \"%2\"").arg(page).arg(title);
        }
        std::sort(texts.begin(), texts.end(), [](const PaintedText &a, const PaintedText &b) {
            return a.baseline != b.baseline ? a.baseline < b.baseline : a.box.left() < b.box.left();
        });
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (texts[i].box.left() < 0 || texts[i].box.right() > paper_width)
                faults << QStringLiteral("page %1: \"%2\" leaves the paper")
                              .arg(page)
                              .arg(texts[i].text);
            const PaintedText *next = i + 1 < texts.size() ? &texts[i + 1] : nullptr;
            if (next && std::abs(next->baseline - texts[i].baseline) < 0.5 &&
                next->box.left() < texts[i].box.right())
                faults << QStringLiteral("page %1: \"%2\" runs into \"%3\"")
                              .arg(page)
                              .arg(texts[i].text, next->text);
        }
    }
    return faults;
}

/// Prints the table of `view` on `paper` in portrait, to the PDF file `pdf` and onto recorded
/// pages; what is wrong with it, empty when nothing is. Both printouts must have as many pages
/// as the rows need.
inline QStringList print_faults(const TablePrinter &table, const QTableView &view,
                                QPageSize::PageSizeId paper, const QString &pdf)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(paper));
    printer.setPageOrientation(QPageLayout::Portrait);
    const PrintPages layout = table.layout(printer);
    const int rows = view.model()->rowCount();
    const int expected = std::max(1, (rows + layout.rows_per_page - 1) / layout.rows_per_page);
    QStringList faults;
    if (table.print(printer) != expected || pdf_page_count(pdf) != expected)
        faults << QStringLiteral("the PDF has %1 pages, not %2")
                      .arg(pdf_page_count(pdf))
                      .arg(expected);

    RecordedPages printout(printer);
    QPainter painter(&printout);
    if (table.paint(printer, painter, [&printout] { printout.turn_page(); }) != expected)
        faults << QStringLiteral("the recorded printout has not %1 pages").arg(expected);
    QStringList titles;
    for (int c = 0; c < view.model()->columnCount(); ++c) {
        if (!view.isColumnHidden(c) && view.columnWidth(c) > 0)
            titles << view.model()->headerData(c, Qt::Horizontal).toString();
    }
    return faults + printout_faults(printout, expected, titles, printer.width());
}

} // namespace tw::test
