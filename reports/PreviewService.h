#pragma once

class ReportLayout;
class Table;

// Shows a report to the player before it is printed. `preview` returns only when the preview is
// closed. Every layout pass (the pages shown, and again each print started from the preview) runs
// over `table` from its first row, so the table's afterScroll hook runs for every row each time and
// whatever it changes in `layout` (the marks of a slip) reaches that row's band.
class PreviewService {
public:
    virtual ~PreviewService() = default;
    virtual void preview(const ReportLayout& layout, Table& table) = 0;
    // A layout that prints no table (a test sheet): its title band alone, on one page.
    virtual void previewSheet(const ReportLayout& layout) = 0;
};
