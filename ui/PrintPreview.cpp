#include "PrintPreview.h"

#include "OperationFailure.h"
#include "Prompter.h"
#include "ReportDocument.h"
#include "ReportLayout.h"

#include <QGuiApplication>
#include <QPaintEngine>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QWidget>
#include <numeric>

void PrintPreview::preview(const ReportLayout& layout, Table& table, const RowPainter& rows) {
    show(layout, [&layout, &table, &rows](Progress& p) { return layOutReport(layout, table, p, rows); });
}

void PrintPreview::previewSheet(const ReportLayout& layout) {
    show(layout, [&layout](Progress&) { return std::optional<ReportDocument>(layOutSheet(layout)); });
}

std::unique_ptr<Progress> PrintPreview::progress(const QString& label) const {
    if (progress_)
        return progress_(QStringLiteral("Impressão"), label);
    return std::make_unique<NoProgress>();
}

void PrintPreview::show(const ReportLayout& layout, const LayOut& layOut) {
    // The pages are laid out once for the preview, under a progress dialog that shows when this
    // takes long (thousands of slips); "Cancelar" then opens no preview.
    std::optional<ReportDocument> shown;
    {
        const auto p = progress(QStringLiteral("Preparando as páginas...\nPáginas prontas: %1"));
        shown = layOut(*p);
    }
    if (!shown)
        return;
    QPrinter printer(QPrinter::HighResolution);
    // A printer that cannot take the paper is told so when the player prints, after choosing the
    // printer in the print dialog; the preview shows the report's paper whatever printer is chosen.
    static_cast<void>(setUpPage(layout.documentTitle(), layout.page(), printer));
    QPrintPreviewDialog dialog(&printer, parent_);
    dialog.setWindowTitle(QStringLiteral("Visualização da impressão"));
    // Maximised where a window manager honours it; otherwise most of the screen, one page in full.
    if (const QScreen* screen = parent_ ? parent_->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        dialog.setGeometry(
            area.adjusted(area.width() / 16, area.height() / 16, -area.width() / 16, -area.height() / 16));
    }
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&dialog](QPrinter*) {
        if (auto* view = dialog.findChild<QPrintPreviewWidget*>())
            view->fitInView();
    });
    // The dialog asks for the pages each time it shows them anew (on a picture engine) and once
    // more for each print, after its print dialog, which may have chosen another printer, another
    // paper or a standard-mode layout: the report's paper is set up again every time.
    QObject::connect(
        &dialog, &QPrintPreviewDialog::paintRequested, &dialog,
        [this, &layout, &layOut, &shown](QPrinter* target) {
            const bool printing =
                target->paintEngine() && target->paintEngine()->type() != QPaintEngine::Picture;
            const std::optional<QString> refused = setUpPage(layout.documentTitle(), layout.page(), *target);
            if (refused && printing) {
                if (prompter_)
                    prompter_->inform({QStringLiteral("Impressão"), *refused});
                return;
            }
            if (!printing) {
                // The preview shows every page once, whatever range and copies a print asked for.
                std::vector<int> all(static_cast<std::size_t>(shown->pageCount()));
                std::iota(all.begin(), all.end(), 0);
                const auto p = progress(QStringLiteral("Preparando a visualização...\nPáginas prontas: %1"));
                printReportPages(*shown, *target, all, p.get()); // a cancel shows the pages made so far
                return;
            }
            // A print lays the pages out again from the first row (the marks of each slip anew).
            // Nothing may leave this handler, which Qt's dialog calls: a failure of the pass (a
            // table that cannot be read) prints nothing and is told to the player.
            std::optional<ReportDocument> doc;
            try {
                const auto p = progress(QStringLiteral("Preparando as páginas...\nPáginas prontas: %1"));
                doc = layOut(*p);
            } catch (...) {
                if (prompter_)
                    prompter_->inform(
                        {QStringLiteral("Impressão"), operationFailureText(std::current_exception())});
                return;
            }
            if (!doc)
                return; // cancelled before anything reached the printer
            const std::vector<int> pages = pagesToPrint(doc->pageCount(), *target);
            if (pages.empty()) {
                if (prompter_)
                    prompter_->inform(
                        {QStringLiteral("Impressão"),
                         QStringLiteral("Nenhuma das páginas pedidas existe: o relatório tem %1 "
                                        "página(s). Nada foi impresso.")
                             .arg(doc->pageCount())});
                return;
            }
            const auto p = progress(QStringLiteral("Imprimindo...\nPáginas impressas: %1"));
            if (!printReportPages(*doc, *target, pages, p.get()))
                target->abort(); // "Cancelar": the job is dropped
        });
    dialog.exec();
}
