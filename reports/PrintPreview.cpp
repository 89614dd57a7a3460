#include "PrintPreview.h"

#include "ReportDocument.h"
#include "ReportLayout.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

void PrintPreview::preview(const ReportLayout& layout, Table& table) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPage(layout.name(), layout.page(), printer);
    QPrintPreviewDialog dialog(&printer, parent_);
    dialog.setWindowTitle(QStringLiteral("Visualização da impressão"));
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    // The dialog asks for the pages each time it shows them anew and once more for each print.
    QObject::connect(
        &dialog, &QPrintPreviewDialog::paintRequested, &dialog,
        [&layout, &table](QPrinter* target) { printReport(layOutReport(layout, table), *target); });
    dialog.exec();
}
