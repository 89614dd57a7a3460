#pragma once

#include "PreviewService.h"

#include <functional>

class Prompter;
class QWidget;
struct ReportDocument;

// The player's preview: Qt's print preview dialog (zoom, page navigation, page set-up, printer
// choice, printing to PDF), modal over `parent`. Printing from it gives the printer the report's
// paper again (a print dialog may have changed it); a printer that cannot take that paper prints
// nothing and `prompter` tells the player why.
class PrintPreview : public PreviewService {
public:
    explicit PrintPreview(QWidget* parent = nullptr, Prompter* prompter = nullptr)
        : parent_(parent), prompter_(prompter) {}
    void preview(const ReportLayout& layout, Table& table) override;
    void previewSheet(const ReportLayout& layout) override;

private:
    void show(const ReportLayout& layout, const std::function<ReportDocument()>& layOut);

    QWidget* parent_;
    Prompter* prompter_;
};
