#pragma once

#include "PreviewService.h"
#include "Prompter.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QWidget;
struct ReportDocument;

// The player's preview: Qt's print preview dialog (zoom, page navigation, page set-up, printer
// choice, printing to PDF), modal over `parent`. Printing from it gives the printer the report's
// paper again (a print dialog may have changed it); a printer that cannot take that paper prints
// nothing and `prompter` tells the player why.
class PrintPreview : public PreviewService {
public:
    // What a long step shows while it runs: a progress dialog with "Cancelar" (the window's), made
    // with a title and a text whose "%1" is the count of pages made so far.
    using ProgressFactory =
        std::function<std::unique_ptr<Progress>(const QString& title, const QString& label)>;

    explicit PrintPreview(QWidget* parent = nullptr, Prompter* prompter = nullptr)
        : parent_(parent), prompter_(prompter) {}
    void setProgress(ProgressFactory factory) { progress_ = std::move(factory); }
    void preview(const ReportLayout& layout, Table& table, const RowPainter& rows = {}) override;
    void previewSheet(const ReportLayout& layout) override;

private:
    using LayOut = std::function<std::optional<ReportDocument>(Progress&)>;
    void show(const ReportLayout& layout, const LayOut& layOut);
    std::unique_ptr<Progress> progress(const QString& label) const;

    QWidget* parent_;
    Prompter* prompter_;
    ProgressFactory progress_;
};
