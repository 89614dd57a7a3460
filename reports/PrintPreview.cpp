#include "PrintPreview.h"

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

void PrintPreview::preview(const ReportLayout& layout, Table& table) {
    show(layout, [&layout, &table] { return layOutReport(layout, table); });
}

void PrintPreview::previewSheet(const ReportLayout& layout) {
    show(layout, [&layout] { return layOutSheet(layout); });
}

void PrintPreview::show(const ReportLayout& layout, const std::function<ReportDocument()>& layOut) {
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
        &dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this, &layout, &layOut](QPrinter* target) {
            const bool printing =
                target->paintEngine() && target->paintEngine()->type() != QPaintEngine::Picture;
            const std::optional<QString> refused = setUpPage(layout.documentTitle(), layout.page(), *target);
            if (refused && printing) {
                if (prompter_)
                    prompter_->inform({QStringLiteral("Impressão"), *refused});
                return;
            }
            const ReportDocument doc = layOut();
            if (!printing) {
                // The preview shows every page once, whatever range and copies a print asked for.
                std::vector<int> all(static_cast<std::size_t>(doc.pageCount()));
                std::iota(all.begin(), all.end(), 0);
                printReportPages(doc, *target, all);
                return;
            }
            if (!printReport(doc, *target) && prompter_)
                prompter_->inform({QStringLiteral("Impressão"),
                                   QStringLiteral("Nenhuma das páginas pedidas existe: o relatório tem %1 "
                                                  "página(s). Nada foi impresso.")
                                       .arg(doc.pageCount())});
        });
    dialog.exec();
}
