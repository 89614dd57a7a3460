// Opening Qt's print preview (the player's preview window) over a 10,000-game listing and over the
// slips of 3,000 games: from the call until the pages are shown, the dialog then closed by a timer.
// The reference is laying the same pages out without a window, in the same run.
#include "CapturePreview.h"
#include "PrintPreview.h"
#include "Schemas.h"
#include "Table.h"
#include "UnitEmiA4.h"
#include "UnitRel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrintPreviewDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {
double timedPreview(PreviewService& p, const ReportLayout& layout, Table& table) {
    // Closes the dialog as soon as the event loop runs inside it, which is after it has shown the pages.
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QPrintPreviewDialog*>(w))
                d->reject();
    });
    QElapsedTimer t;
    t.start();
    p.preview(layout, table);
    return static_cast<double>(t.nsecsElapsed()) / 1e9;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Table rel(QStringLiteral("TableRel"), dir.path(), Schemas::kListingFile);
    rel.defineFields(Schemas::listing());
    rel.create();
    for (int i = 1; i <= 10000; ++i) {
        rel.insert();
        rel.setInteger(0, i);
        rel.setText(1, QStringLiteral("%1;05;11;23;34;45;56;").arg(i, 7, 10, QLatin1Char('0')));
        rel.post();
    }
    Table slips(QStringLiteral("TableCImp"), dir.path(), Schemas::kScratchFile);
    slips.defineFields(Schemas::slips());
    slips.create();
    for (int k = 1; k <= 1000; ++k) {
        slips.insert();
        slips.setInteger(0, k);
        for (int j = 1; j <= 3; ++j)
            slips.setInteger(j, 3 * k - 3 + j);
        slips.setInteger(4, 6);
        slips.post();
    }
    TFormRel listing;
    TFormEmiA4 a4;
    PrintPreview real;
    CapturePreview capture;
    std::printf(
        "preview window, 10,000-game listing: %.3f s (limit 3 s); laid out without a window: %.3f s\n",
        timedPreview(real, listing.layout(), rel), timedPreview(capture, listing.layout(), rel));
    std::printf(
        "preview window, 1,000 A4 slips:      %.3f s (limit 3 s); laid out without a window: %.3f s\n",
        timedPreview(real, a4.layout(), slips), timedPreview(capture, a4.layout(), slips));
    return 0;
}
