#include "DrawPrizes.h"
#include "DrawsFixture.h"
#include "PrizeCells.h"
#include "ResultsFileSamples.h"
#include "ResultsImport.h"
#include "Schemas.h"
#include "ScriptedPrompterFixture.h"
#include "TableError.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>

using ResultsSamples::draw;
using ResultsSamples::PrizedDraw;

// The prizes of each draw that the results files bring: read from every format, kept in
// "Premios.cds" beside the draws, an unreadable value leaving only its draw without prizes.
namespace {

enum class Format { SheetText, SheetNumbers, PageUtf8, PageLatin1, Text, Json };

// Three draws: the first with a sena won twice, the second accumulated (nobody won the sena), the
// third with thousands of quadra winners. Money as each format writes it.
std::vector<PrizedDraw> prizedDraws(Format f) {
    const bool numbers = f == Format::SheetNumbers || f == Format::Json;
    const bool page = f == Format::PageUtf8 || f == Format::PageLatin1;
    const auto money = [&](const char* text, const char* number) {
        if (numbers)
            return f == Format::Json ? QLatin1String(number) : QLatin1String("#") + QLatin1String(number);
        QString t = QLatin1String(text);
        return page ? t.remove(QStringLiteral("R$")).trimmed() : t;
    };
    const QString many =
        f == Format::SheetNumbers || f == Format::Json ? QStringLiteral("7043") : QStringLiteral("7.043");
    return {
        {draw(2801, {4, 5, 30, 33, 41, 52}),
         QStringLiteral("11/12/2024"),
         {QStringLiteral("2"), QStringLiteral("98"), QStringLiteral("5312")},
         {money("R$51.227.401,26", "51227401.26"), money("R$ 42.385,53", "42385.53"),
          money("R$ 1.151,65", "1151.65")}},
        {draw(2802, {9, 39, 37, 49, 43, 42}),
         QStringLiteral("14/12/2024"),
         {QStringLiteral("0"), QStringLiteral("45"), many},
         {money("R$0,00", "0"), money("R$ 61.113,05", "61113.05"), money("R$ 1.074,40", "1074.4")}},
        {draw(2803, {6, 59, 42, 27, 1, 5}),
         QStringLiteral("17/12/2024"),
         {QStringLiteral("1"), QStringLiteral("51"), QStringLiteral("3903")},
         {money("R$1.714.650,23", "1714650.23"), money("R$ 29.418,11", "29418.11"), money("R$ 6,00", "6")}},
    };
}

QByteArray fileOf(Format f, const std::vector<PrizedDraw>& draws) {
    switch (f) {
    case Format::SheetText:
    case Format::SheetNumbers:
        return ResultsSamples::xlsxWithPrizes(draws);
    case Format::PageUtf8:
        return ResultsSamples::htmlWithPrizes(draws, false);
    case Format::PageLatin1:
        return ResultsSamples::htmlWithPrizes(draws, true);
    case Format::Text:
        return ResultsSamples::textWithPrizes(draws, u';');
    case Format::Json:
        return ResultsSamples::jsonWithPrizes(draws);
    }
    return {};
}

DrawPayout payout(int concurso, const char* date, DrawTiers tiers) {
    return {concurso, QLatin1String(date), tiers};
}

const std::vector<DrawPayout>& expectedPayouts() {
    static const std::vector<DrawPayout> p{
        payout(2801, "2024-12-11", {{{2, 5122740126}, {98, 4238553}, {5312, 115165}}}),
        payout(2802, "2024-12-14", {{{0, 0}, {45, 6111305}, {7043, 107440}}}),
        payout(2803, "2024-12-17", {{{1, 171465023}, {51, 2941811}, {3903, 600}}}),
    };
    return p;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void addFormats() {
    QTest::addColumn<int>("format");
    QTest::newRow("spreadsheet, money as text") << static_cast<int>(Format::SheetText);
    QTest::newRow("spreadsheet, number cells") << static_cast<int>(Format::SheetNumbers);
    QTest::newRow("page, utf-8") << static_cast<int>(Format::PageUtf8);
    QTest::newRow("page, iso-8859-1") << static_cast<int>(Format::PageLatin1);
    QTest::newRow("text") << static_cast<int>(Format::Text);
    QTest::newRow("json") << static_cast<int>(Format::Json);
}

} // namespace

class DrawPrizesTest : public QObject {
    Q_OBJECT

private slots:
    void prizesOfEachFormat_data() { addFormats(); }
    void prizesOfEachFormat() {
        QFETCH(int, format);
        const auto f = static_cast<Format>(format);
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        ScriptedPrompter p(QList<bool>{});
        const ResultsImportOutcome o = ImportResults(t, fileOf(f, prizedDraws(f)), QStringLiteral("r"), p);
        QVERIFY2(!o.fileRefused, qPrintable(o.message.text));
        QCOMPARE(o.added, (std::vector<int>{2801, 2802, 2803}));
        QCOMPARE(o.prizesRead, (std::vector<int>{2801, 2802, 2803}));
        QVERIFY(o.prizesUnreadable.empty());
        QVERIFY(o.written);
        QVERIFY(o.prizesWritten);
        QVERIFY2(o.message.text.contains(QStringLiteral("\nPrêmios lidos: 3 concursos\n")),
                 qPrintable(o.message.text));
        QVERIFY(!o.message.text.contains(QStringLiteral("não puderam ser lidos")));
        QCOMPARE(LoadDrawPayouts(w.path()), expectedPayouts());
        // The draws' file keeps its fields.
        QCOMPARE(t.TableRes.fieldCount(), 11);
    }

    // A value that cannot be read leaves that draw without prizes and is counted; the draws are all
    // imported.
    void unreadableValue_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("tier");
        QTest::addColumn<bool>("inPrize"); // else in the winners
        QTest::addColumn<QString>("value");
        QTest::newRow("spreadsheet, partial group")
            << static_cast<int>(Format::SheetText) << 1 << true << QStringLiteral("R$ 61.11,05");
        QTest::newRow("spreadsheet, three decimals")
            << static_cast<int>(Format::SheetNumbers) << 2 << true << QStringLiteral("#1074.405");
        QTest::newRow("spreadsheet, empty prize")
            << static_cast<int>(Format::SheetText) << 0 << true << QString();
        QTest::newRow("page, words") << static_cast<int>(Format::PageUtf8) << 0 << false
                                     << QStringLiteral("nenhum");
        QTest::newRow("page, negative")
            << static_cast<int>(Format::PageLatin1) << 2 << true << QStringLiteral("-1.074,40");
        QTest::newRow("text, a dash") << static_cast<int>(Format::Text) << 1 << false << QStringLiteral("-");
        QTest::newRow("json, a text")
            << static_cast<int>(Format::Json) << 1 << true << QStringLiteral("muito");
        QTest::newRow("json, fractional winners")
            << static_cast<int>(Format::Json) << 2 << false << QStringLiteral("7043.5");
    }
    void unreadableValue() {
        QFETCH(int, format);
        QFETCH(int, tier);
        QFETCH(bool, inPrize);
        QFETCH(QString, value);
        const auto f = static_cast<Format>(format);
        std::vector<PrizedDraw> draws = prizedDraws(f);
        (inPrize ? draws[1].prizes : draws[1].winners)[static_cast<std::size_t>(tier)] = value;
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        ScriptedPrompter p(QList<bool>{});
        const ResultsImportOutcome o = ImportResults(t, fileOf(f, draws), QStringLiteral("r"), p);
        QVERIFY2(!o.fileRefused, qPrintable(o.message.text));
        QCOMPARE(o.added, (std::vector<int>{2801, 2802, 2803}));
        QCOMPARE(o.prizesRead, (std::vector<int>{2801, 2803}));
        QCOMPARE(o.prizesUnreadable, std::vector<int>{2802});
        QVERIFY2(
            o.message.text.contains(QStringLiteral("\nPrêmios lidos: 2 concursos\n"
                                                   "Prêmios que não puderam ser lidos, deixados em branco: "
                                                   "1 (2802)\n")),
            qPrintable(o.message.text));
        std::vector<DrawPayout> want = expectedPayouts();
        want[1].tiers.reset(); // its date stays
        QCOMPARE(LoadDrawPayouts(w.path()), want);
    }

    // Draws typed by hand have no prizes until a file brings them; then only the prizes are
    // written, and a second import of the same file writes nothing.
    void prizesForTypedDraws() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        addDraw(t, 2801, {41, 5, 4, 52, 30, 33});
        addDraw(t, 2802, {9, 39, 37, 49, 43, 42});
        addDraw(t, 2803, {6, 59, 42, 27, 1, 5});
        t.TableRes.write();
        QVERIFY(LoadDrawPayouts(w.path()).empty());
        const QByteArray results = fileBytes(t.TableRes.filePath());
        ScriptedPrompter p(QList<bool>{});
        const QByteArray file = fileOf(Format::SheetText, prizedDraws(Format::SheetText));
        const ResultsImportOutcome o = ImportResults(t, file, QStringLiteral("r"), p);
        QCOMPARE(o.equal.size(), std::size_t{3});
        QVERIFY(!o.written);
        QVERIFY(!o.statistics);
        QVERIFY(o.prizesWritten);
        QCOMPARE(fileBytes(t.TableRes.filePath()), results);
        QCOMPARE(LoadDrawPayouts(w.path()), expectedPayouts());

        const QString prizesPath = QDir(w.path()).filePath(Schemas::kDrawPrizesFile);
        const QByteArray prizes = fileBytes(prizesPath);
        const ResultsImportOutcome again = ImportResults(t, file, QStringLiteral("r"), p);
        QVERIFY(!again.prizesWritten);
        QCOMPARE(again.prizesRead.size(), std::size_t{3});
        QCOMPARE(fileBytes(prizesPath), prizes);
    }

    // A later file whose value cannot be read keeps the prizes an earlier file gave; one with other
    // values replaces them.
    void laterFiles() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        ScriptedPrompter p(QList<bool>{});
        std::vector<PrizedDraw> draws = prizedDraws(Format::Text);
        ImportResults(t, fileOf(Format::Text, draws), QStringLiteral("r"), p);
        draws[0].prizes[2] = QStringLiteral("???");
        draws[2].winners[2] = QStringLiteral("3904");
        const ResultsImportOutcome o = ImportResults(t, fileOf(Format::Text, draws), QStringLiteral("r"), p);
        QVERIFY(o.prizesWritten);
        QCOMPARE(o.prizesUnreadable, std::vector<int>{2801});
        std::vector<DrawPayout> want = expectedPayouts();
        (*want[2].tiers)[2].winners = 3904;
        QCOMPARE(LoadDrawPayouts(w.path()), want);
    }

    // Files without prize columns (or with the sena's winners alone) write no prizes file.
    void filesWithoutPrizes() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        ScriptedPrompter p(QList<bool>{});
        const std::vector<ResultsSamples::Draw> d{draw(1, {4, 5, 30, 33, 41, 52}),
                                                  draw(3, {1, 2, 3, 4, 5, 6})};
        for (const QByteArray& file : {ResultsSamples::xlsx(d), ResultsSamples::html(d, false),
                                       ResultsSamples::text(d, u';', true), ResultsSamples::jsonArray(d)}) {
            const ResultsImportOutcome o = ImportResults(t, file, QStringLiteral("r"), p);
            QVERIFY(!o.fileRefused);
            QVERIFY(o.prizesRead.empty() && o.prizesUnreadable.empty() && !o.prizesWritten);
            QVERIFY(!o.message.text.contains(QStringLiteral("Prêmios")));
        }
        QVERIFY(!QFile::exists(QDir(w.path()).filePath(Schemas::kDrawPrizesFile)));
    }

    // A prizes file that cannot be read stops the import before anything is written.
    void unreadablePrizesFileChangesNothing() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        t.TableRes.write();
        const QByteArray results = fileBytes(t.TableRes.filePath());
        QFile bad(QDir(w.path()).filePath(Schemas::kDrawPrizesFile));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("isto não é um banco de dados");
        bad.close();
        ScriptedPrompter p(QList<bool>{});
        QVERIFY_THROWS_EXCEPTION(TableError, ImportResults(t, fileOf(Format::Json, prizedDraws(Format::Json)),
                                                           QStringLiteral("r"), p));
        QCOMPARE(fileBytes(t.TableRes.filePath()), results);
    }

    // The page through the HTML parser: entities of every kind, tags left open or in capitals,
    // comments and scripts that look like cells, and each declared encoding honoured.
    void pagesABrowserReads_data() {
        QTest::addColumn<QByteArray>("page");
        const QByteArray rows = "<TR><TD>7<TD>01/02/1999<TD>04<TD>05<TD>30<TD>33<TD>41<TD>52"
                                "<TD>1<TD>R$&nbsp;1.000,00<TD>2<TD>500,00<TD>3<TD>10,00\n"
                                "<!-- <tr><td>8</td><td>9</td></tr> -->"
                                "<script>document.write('<tr><td>9</td></tr>')</script>"
                                "</TABLE>";
        const QByteArray header =
            "<TABLE><TR><TH>Concurso<TH>Data do Sorteio<TH>Bola1<TH>Bola2<TH>Bola3"
            "<TH>Bola4<TH>Bola5<TH>Bola6<TH>Ganhadores_Sena<TH>Rateio_Sena"
            "<TH>Ganhadores_Quina<TH>Rateio_Quina<TH>Ganhadores_Quadra<TH>Rateio_Quadra";
        QTest::newRow("no declaration, utf-8") << QByteArray("<html><body><p>Públicação</p>" + header + rows);
        QTest::newRow("no declaration, latin-1")
            << QByteArray("<html><body><p>Publica\xE7\xE3o</p>" + header + rows);
        QTest::newRow("windows-1252 declared") << QByteArray(
            "<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1252\">"
            "</head><body><p>\x93Mega\x94 \x96 resultados</p>" +
            header + rows);
        QTest::newRow("meta charset utf-8") << QByteArray(
            "<!doctype html><meta charset=utf-8><title>Mega&ndash;Sena &hellip;</title>" + header + rows);
        QTest::newRow("entities beyond the old table")
            << QByteArray("<html><body>" + QByteArray(header).replace("Concurso", "N&ordm; Concurso") +
                          QByteArray(rows).replace("01/02/1999", "01&#x2F;02&#47;1999"));
        QTest::newRow("utf-8 byte order mark")
            << QByteArray("\xEF\xBB\xBF<html><body><p>Públicação</p>" + header + rows);
    }
    void pagesABrowserReads() {
        QFETCH(QByteArray, page);
        const ParseOutcome parse = ParseResultsFile(page);
        const auto* parsed = std::get_if<ParsedResults>(&parse);
        QVERIFY2(parsed, parsed ? "" : qPrintable(std::get<ResultsFileProblem>(parse).reason));
        QCOMPARE(parsed->format, ResultsFormat::Html);
        QCOMPARE(parsed->draws.size(), std::size_t{1});
        const FileDraw& d = parsed->draws.front();
        QCOMPARE(d.concurso, 7);
        QCOMPARE(d.numbers, (std::array<int, 6>{4, 5, 30, 33, 41, 52}));
        QVERIFY(d.prizes);
        QCOMPARE(d.prizes->date, QStringLiteral("1999-02-01"));
        QCOMPARE(d.prizes->tiers, std::optional<DrawTiers>(DrawTiers{{{1, 100000}, {2, 50000}, {3, 1000}}}));
    }

    // The date as the files write it, and the counts of winners.
    void datesAndCounts() {
        using namespace ResultsFileReading;
        QCOMPARE(drawDate(u"11/03/1996"), QStringLiteral("1996-03-11"));
        QCOMPARE(drawDate(u"1/2/2000 00:00:00"), QStringLiteral("2000-02-01"));
        QCOMPARE(drawDate(u"2024-12-11"), QStringLiteral("2024-12-11"));
        QCOMPARE(drawDate(u"35135"), QStringLiteral("1996-03-11")); // a spreadsheet's day number
        QCOMPARE(drawDate(u"31/02/2000"), QString());
        QCOMPARE(drawDate(u"ontem"), QString());
        QCOMPARE(drawDate(u""), QString());
        QCOMPARE(winnersCount(u"0"), std::optional<qint64>(0));
        QCOMPARE(winnersCount(u" 7.043 "), std::optional<qint64>(7043));
        QCOMPARE(winnersCount(u"1.234.567"), std::optional<qint64>(1234567));
        QVERIFY(!winnersCount(u"7.04"));
        QVERIFY(!winnersCount(u"-1"));
        QVERIFY(!winnersCount(u""));
        QVERIFY(!winnersCount(u"99999999999"));
    }
};

QUINABEL_CORE_TEST_MAIN(DrawPrizesTest)
#include "tst_drawprizes.moc"
