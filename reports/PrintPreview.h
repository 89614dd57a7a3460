#pragma once

#include "PreviewService.h"

class QWidget;

// The player's preview: Qt's print preview dialog (zoom, page navigation, page set-up, printer
// choice, printing to PDF), modal over `parent`.
class PrintPreview : public PreviewService {
public:
    explicit PrintPreview(QWidget* parent = nullptr) : parent_(parent) {}
    void preview(const ReportLayout& layout, Table& table) override;

private:
    QWidget* parent_;
};
