// Lays out the slips of 3,000 games (1,000 slips, the marks changed on every row) on both slip
// layouts and a 10,000-line games listing through the capturing preview, and prints each time beside
// its limit and beside a bare pass over the same table with the same per-row painter.
#include "CapturePreview.h"
#include "Schemas.h"
#include "Table.h"
#include "UnitEmi.h"
#include "UnitEmiA4.h"
#include "UnitRel.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <random>

namespace {

constexpr int kSlips = 1000;
constexpr int kLines = 10000;
constexpr double kLimitSeconds = 3.0;

std::unique_ptr<Table> makeTable(const QString& folder, const QString& file, FieldList fields,
                                 const QString& index) {
    auto t = std::make_unique<Table>(file, folder, file);
    t->defineFields(std::move(fields));
    t->setIndexFieldNames(index);
    t->create();
    return t;
}

// Random slips of three 6-number games, their marks kept by slip number as the program's row
// painter would find them in its print tables.
std::vector<SlipMarks> makeSlips(Table& slips) {
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> number(0, 59);
    std::vector<SlipMarks> marks(kSlips);
    Table::BulkChange bulk(slips);
    for (int k = 1; k <= kSlips; ++k) {
        SlipMarks& m = marks[static_cast<std::size_t>(k - 1)];
        m.sizes[0] = true;
        for (auto& block : m.numbers)
            for (int placed = 0; placed < 6;) {
                auto& mark = block[static_cast<std::size_t>(number(random))];
                placed += mark ? 0 : 1;
                mark = true;
            }
        slips.insert();
        slips.setInteger(0, k);
        for (int j = 1; j <= 3; ++j)
            slips.setInteger(j, 3 * k - 3 + j);
        slips.setInteger(4, 6);
        slips.post();
    }
    return marks;
}

double seconds(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e9;
}

void report(const char* what, double measured, double reference, int pages) {
    std::printf("%-44s %7.3f s (limit %.1f s; bare table pass with the painter %.4f s; %d pages) %s\n", what,
                measured, kLimitSeconds, reference, pages, measured <= kLimitSeconds ? "ok" : "TOO SLOW");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;

    auto slips = makeTable(dir.path(), Schemas::kScratchFile, Schemas::slips(), QStringLiteral("Cartela"));
    const std::vector<SlipMarks> marks = makeSlips(*slips);
    TFormEmi paper;
    TFormEmiA4 a4;
    SlipLayout* active = &paper;
    const int cartela = slips->fieldIndex(u"Cartela");
    const RowPainter eachSlip = [&](ReportBand& band, const Table& row) {
        active->applySlipMarks(band, marks[static_cast<std::size_t>(row.integer(cartela) - 1)]);
    };

    QElapsedTimer timer;
    timer.start();
    for (slips->first(); !slips->eof(); slips->next()) {
        ReportBand band = paper.layout().detailBand();
        eachSlip(band, *slips);
    }
    const double bareSlips = seconds(timer);

    for (SlipLayout* layout : {static_cast<SlipLayout*>(&paper), static_cast<SlipLayout*>(&a4)}) {
        active = layout;
        CapturePreview preview;
        timer.restart();
        preview.preview(layout->layout(), *slips, eachSlip);
        const double t = seconds(timer);
        const bool isPaper = layout == &paper;
        report(isPaper ? "1,000 slips (3,000 games), slip paper:" : "1,000 slips (3,000 games), A4:", t,
               bareSlips, preview.last().shown.pageCount());
        if (!isPaper) {
            // Printing also paints every page; for information, onto a PDF file.
            QPdfWriter pdf(dir.filePath(QStringLiteral("slips.pdf")));
            static_cast<void>(setUpPage(layout->layout().documentTitle(), layout->layout().page(), pdf));
            timer.restart();
            printReport(preview.last().shown, pdf);
            std::printf("%-44s %7.3f s (information, no limit)\n",
                        "  painting those A4 pages into a PDF:", seconds(timer));
        }
    }

    auto lines = makeTable(dir.path(), Schemas::kListingFile, Schemas::listing(), QStringLiteral("Linha"));
    {
        Table::BulkChange bulk(*lines);
        for (int k = 1; k <= kLines; ++k) {
            lines->insert();
            lines->setInteger(0, k);
            lines->setText(1, QStringLiteral("%1;01;02;03;04;05;06;07;08;09;10;11;12;13;14;15;")
                                  .arg(k, 7, 10, QLatin1Char('0')));
            lines->post();
        }
    }
    timer.restart();
    for (lines->first(); !lines->eof(); lines->next()) {
    }
    const double bareLines = seconds(timer);
    TFormRel rel;
    CapturePreview preview;
    timer.restart();
    preview.preview(rel.layout(), *lines);
    report("10,000-line games listing:", seconds(timer), bareLines, preview.last().shown.pageCount());
    return 0;
}
