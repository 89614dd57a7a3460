#pragma once

#include "ReportLayout.h"

#include <QImage>
#include <QPointF>
#include <functional>
#include <optional>
#include <vector>

class Progress;
class QPagedPaintDevice;
class QPainter;
class Table;

// One band as it stands on a page: a copy of the band taken when it was laid out (as the row's
// painter set it up, field texts filled) and its top-left corner on the page, in mm.
struct PlacedBand {
    QPointF origin;
    double width = 0;
    ReportBand band;
};

struct ReportPage {
    std::vector<PlacedBand> bands;
};

// The pages of one layout pass.
struct ReportDocument {
    QString name;
    QString title; // the layout's document title
    PageSetup page;
    std::vector<ReportPage> pages; // at least one, even over an empty table

    int pageCount() const { return static_cast<int>(pages.size()); }
};

// What one row of a report draws beyond its fields: called with a fresh copy of the layout's detail
// band and the table on that row, it sets the copy up for the row (fills, fonts, frames, height,
// captions); the engine then fills the copy's field texts from the row. It changes nothing else:
// the layout stays as it was, so every pass over the same rows gives the same pages.
using RowPainter = std::function<void(ReportBand& band, const Table& table)>;

// One layout pass: the title band, then one detail band for each row of `table` from its first row
// (first, then next until eof), each as `rows` sets it up for that row (no painter: the band as
// the layout defines it). Bands fill a column from the top, then the next column, then the next
// page. Throws TableError when the table is closed or a field element names a field the table
// lacks, and whatever the painter throws.
ReportDocument layOutReport(const ReportLayout& layout, Table& table, const RowPainter& rows = {});
// The same pass, telling `progress` how far it is now and then (done and total in rows, the pages
// made so far); nothing when the player cancelled.
std::optional<ReportDocument> layOutReport(const ReportLayout& layout, Table& table, Progress& progress,
                                           const RowPainter& rows = {});

// A layout that prints no table (a test sheet): its title band alone, on one page.
ReportDocument layOutSheet(const ReportLayout& layout);

// Draws one page with `painter` on a device of `dotsPerMm`, the page's top-left paper corner at the
// device origin. A text wider than its box is drawn in a smaller size that fits the box's width,
// and no text ever inks outside its box (what still does not fit is cut at the box's edges).
void paintReportPage(QPainter& painter, const ReportPage& page, double dotsPerMm);

// Gives a printer or a PDF writer the report's paper in full-page mode, before a printReport on it:
// the device's origin is the paper's top-left corner, so every element stands where the layout
// puts it measured from that corner, whatever margins the printer cannot print on (a mark that
// falls there is not printed rather than moved). The title names the job, the PDF and the file
// a print to file proposes.
// A printer (not a file) that cannot take the report's paper, neither as one of its own sizes nor
// as a custom size, gets the paper anyway (so a preview shows it) and the message to show the
// player is returned: nothing may then be printed on that printer.
[[nodiscard]] std::optional<QString> setUpPage(const QString& title, const PageSetup& setup,
                                               QPagedPaintDevice& device);

// The pages one print run puts on `device`, in the order they print (0 is the first page): the
// pages its page range names (every page without one; a printer whose print dialog chose "all
// pages" has none), each as many times as the copies the device cannot make itself (a printer's
// copy count when it does not support multiple copies, as printing to a file; a CUPS printer makes
// its copies from the job's options), collated (1 2 3 1 2 3) or not (1 1 2 2 3 3). Empty when the
// range names no page of the report.
std::vector<int> pagesToPrint(int pageCount, const QPagedPaintDevice& device);

// Prints the pages of pagesToPrint onto a printer or a PDF writer set up by setUpPage, so that
// exactly the pages and copies the print dialog asked for are printed. Answers false, printing
// nothing, when the range names no page of the report.
bool printReport(const ReportDocument& doc, QPagedPaintDevice& device);
// Prints the given pages (0 is the first) in that order, whatever range the device holds: the
// preview's own pass, which shows every page once.
// With `progress`, told after each page (done and total in pages); a cancel stops after the page
// being printed and answers false.
bool printReportPages(const ReportDocument& doc, QPagedPaintDevice& device, const std::vector<int>& pages,
                      Progress* progress = nullptr);

// One page as an image of `dpi` dots per inch, white paper.
QImage renderReportPage(const ReportDocument& doc, int page, double dpi);
