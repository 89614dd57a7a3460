#include "CapturePreview.h"

void CapturePreview::preview(const ReportLayout& layout, Table& table, const RowPainter& rows) {
    Capture capture;
    capture.shown = layOutReport(layout, table, rows);
    for (int i = 0; i < printsPerPreview_; ++i)
        capture.printed.push_back(layOutReport(layout, table, rows));
    captures_.push_back(std::move(capture));
}

void CapturePreview::previewSheet(const ReportLayout& layout) {
    Capture capture;
    capture.shown = layOutSheet(layout);
    for (int i = 0; i < printsPerPreview_; ++i)
        capture.printed.push_back(layOutSheet(layout));
    captures_.push_back(std::move(capture));
}
