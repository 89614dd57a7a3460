#pragma once

#include "ReportDocument.h"

class ReportLayout;
class Table;

// Shows a report to the player before it is printed. `preview` returns only when the preview is
// closed. Every layout pass (the pages shown, and again each print started from the preview) runs
// over `table` from its first row, each row's band as `rows` sets it up; the layout itself is
// never changed, so every pass gives the same pages.
class PreviewService {
public:
    virtual ~PreviewService() = default;
    virtual void preview(const ReportLayout& layout, Table& table, const RowPainter& rows = {}) = 0;
    // A layout that prints no table (a test sheet): its title band alone, on one page.
    virtual void previewSheet(const ReportLayout& layout) = 0;
};
