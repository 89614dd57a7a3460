#pragma once

#include "GamePrizes.h"
#include "ReportDocument.h"
#include "ReportLayout.h"
#include "Table.h"

#include <span>

// What the check report shows: the draw a check used, the prizes of every game in it and, when
// the history was looked at, how every game would have fared in every draw of the results.
struct CheckReportContent {
    ResultDraw draw;
    std::span<const GameNumbers> games;
    DrawPrizes prizes;
    HistoryPrizes history;
    std::optional<TierPrices> drawPrices; // what the draw checked paid, when its prizes are known
    Centavos betPrice = 0;                // the price of a simple bet the history was costed at
};

// The check report ("Relatório da conferência") on A4: a framed title band with the draw checked,
// then its lines, one detail band each. The lines are of a few kinds (section headings, column
// captions, games, totals, notes) and all share the one detail band of the engine: each line is a
// row of a table kept in memory (never read from or written to a file), and the report's row
// painter sets the band up for that row's kind (bold hit numbers, bold totals, the rule under the
// captions). Where the prizes of the draws are known, the lines say in reais what
// the games won, and the report ends with a chart of the balance of all the games over the history
// (won minus spent, draw by draw), painted by the engine like every other element.
class CheckReport {
public:
    // The most lines listed in each section; the games beyond are counted in a note. A list of
    // every winning game of a million games would run to thousands of pages.
    static constexpr int kListLimit = 10000;

    enum class Line { Blank, Section, Captions, Game, History, Total, Note, Chart };
    enum class Part { Draw, History }; // the section a line belongs to

    // The chart's band (its heading included, so that the two never part at a page's end): its
    // height, and the plotting area inside it (mm from the band's corner).
    static constexpr double kChartHeight = 108.0;
    static QRectF chartArea() { return {32.0, 11.0, 154.0, 80.0}; }
    static QColor balanceColor() { return {0, 70, 160}; }

    CheckReport();
    CheckReport(const CheckReport&) = delete;
    CheckReport& operator=(const CheckReport&) = delete;

    // Replaces the lines and the title by those of `content`.
    void fill(const CheckReportContent& content);

    ReportLayout& layout() { return layout_; }
    const ReportLayout& layout() const { return layout_; }
    Table& rows() { return rows_; }
    // What each line draws: the report is laid out as layOutReport(layout(), rows(), rowPainter()).
    // Valid while the report lives.
    RowPainter rowPainter() const;

    // The elements of the detail band: the number columns are "D1" to "D15".
    static QString numberElement(int position) { return QStringLiteral("D%1").arg(position); }

private:
    void addRow(Line kind, const QString& text = {});
    void setUpBand(ReportBand& band, const Table& rows) const;
    void setUpChart(ReportBand& band, bool shown) const;

    ReportLayout layout_;
    Table rows_;
    int tipo_ = 0;
    int secao_ = 0;
    int negrito_ = 0;
    Part part_ = Part::Draw;            // the section the lines being added belong to
    std::vector<BalancePoint> balance_; // the chart's points
};
