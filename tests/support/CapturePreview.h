#pragma once

#include "PreviewService.h"
#include "ReportDocument.h"

#include <vector>

// A preview without a window: each preview lays the pages out and keeps them, then plays the
// player printing from the preview `printsPerPreview` times (each a new layout pass over the table
// from its first row) before it returns, as the real preview does while it is open.
class CapturePreview : public PreviewService {
public:
    struct Capture {
        ReportDocument shown;
        std::vector<ReportDocument> printed;
    };

    explicit CapturePreview(int printsPerPreview = 0) : printsPerPreview_(printsPerPreview) {}
    void preview(const ReportLayout& layout, Table& table, const RowPainter& rows = {}) override;
    void previewSheet(const ReportLayout& layout) override;

    const std::vector<Capture>& captures() const { return captures_; }
    // Throws std::out_of_range before the first preview.
    const Capture& last() const { return captures_.at(captures_.size() - 1); }

private:
    int printsPerPreview_;
    std::vector<Capture> captures_;
};
