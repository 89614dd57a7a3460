#include "PrintPreview.h"

#include "ReportDocument.h"
#include "ReportLayout.h"

#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QWidget>

void PrintPreview::preview(const ReportLayout& layout, Table& table) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPage(layout.name(), layout.page(), printer);
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
    // The dialog asks for the pages each time it shows them anew and once more for each print.
    QObject::connect(
        &dialog, &QPrintPreviewDialog::paintRequested, &dialog,
        [&layout, &table](QPrinter* target) { printReport(layOutReport(layout, table), *target); });
    dialog.exec();
}
