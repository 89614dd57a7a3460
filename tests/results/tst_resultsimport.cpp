#include "DrawsFixture.h"
#include "ImportFolder.h"
#include "RecomputeStatistics.h"
#include "ResultsFileSamples.h"
#include "ResultsImport.h"
#include "ScriptedPrompterFixture.h"
#include "TableError.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using ResultsSamples::draw;

// Importing the draw history from the files the lottery publishes: every format into a history
// with equal, differing and new draws; files that are refused change nothing; a second import
// writes nothing; the real history gives the statistics typed draws give.
class ResultsImportTest : public QObject {
    Q_OBJECT

    // The history before the import.
    static void heldDraws(Tables& t) {
        addDraw(t, 1, {41, 5, 4, 52, 30, 33});
        addDraw(t, 2, {9, 39, 37, 49, 43, 41});
        addDraw(t, 3, {36, 30, 10, 11, 29, 47});
        RecomputeStatistics(t); // the held draws have their derived fields, as after an update
        t.TableRes.write();
    }

    // The file: 1 equal (ascending here), 2 with other numbers, 3 absent, 4, 5 and 8 new, 6 with a
    // number twice (refused).
    static std::vector<ResultsSamples::Draw> fileDraws() {
        return {draw(1, {4, 5, 30, 33, 41, 52}), draw(2, {9, 39, 37, 49, 43, 42}),
                draw(4, {6, 59, 42, 27, 1, 5}),  draw(5, {1, 19, 46, 6, 16, 2}),
                draw(6, {1, 1, 2, 3, 4, 5}),     draw(8, {60, 17, 38, 4, 47, 37})};
    }

    static QString writeFile(const WorkFolder& w, const QString& name, const QByteArray& content) {
        const QString path = w.file(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    static QByteArray fileBytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Concurso/d1..d6 of every draw.
    static QStringList drawRows(const Table& res) {
        QStringList out;
        for (const QString& r : tableRows(res))
            out << r.section(QLatin1Char('/'), 0, 6);
        return out;
    }

private slots:
    void formats_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("format");
        const auto d = fileDraws();
        QTest::newRow("spreadsheet") << ResultsSamples::xlsx(d) << QStringLiteral("planilha");
        QTest::newRow("spreadsheet with relations")
            << ResultsSamples::xlsx(d, true) << QStringLiteral("planilha");
        QTest::newRow("html utf-8") << ResultsSamples::html(d, false) << QStringLiteral("página HTML");
        QTest::newRow("html latin-1") << ResultsSamples::html(d, true) << QStringLiteral("página HTML");
        QTest::newRow("text ; header") << ResultsSamples::text(d, u';', true) << QStringLiteral("texto");
        QTest::newRow("text ; header latin-1")
            << ResultsSamples::text(d, u';', true, true) << QStringLiteral("texto");
        QTest::newRow("text tab") << ResultsSamples::text(d, u'\t', false) << QStringLiteral("texto");
        QTest::newRow("text ,") << ResultsSamples::text(d, u',', false) << QStringLiteral("texto");
        QTest::newRow("text , header") << ResultsSamples::text(d, u',', true) << QStringLiteral("texto");
        QTest::newRow("old zip with the page")
            << ResultsSamples::zip({{QStringLiteral("d_mega.htm"), ResultsSamples::html(d, true)}})
            << QStringLiteral("página HTML");
        QTest::newRow("json array") << ResultsSamples::jsonArray(d) << QStringLiteral("JSON");
        QTest::newRow("json keyed") << ResultsSamples::jsonKeyed(d) << QStringLiteral("JSON");
    }

    void formats() {
        QFETCH(QByteArray, content);
        QFETCH(QString, format);
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        heldDraws(t);
        const QString path = writeFile(w, QStringLiteral("resultados.bin"), content);

        ScriptedPrompter yes({true});
        const ResultsImportOutcome o = ImportResultsFile(t, path, yes);
        QVERIFY2(!o.fileRefused, qPrintable(o.message.text));
        QCOMPARE(yes.asked.size(), 1);
        QCOMPARE(yes.asked.at(0).text,
                 QStringLiteral("O concurso 2 do arquivo tem dezenas diferentes das cadastradas.\n"
                                "Substitui as dezenas cadastradas pelas do arquivo? "));
        QCOMPARE(o.added, (std::vector<int>{4, 5, 8}));
        QCOMPARE(o.replaced, (std::vector<int>{2}));
        QCOMPARE(o.equal, (std::vector<int>{1}));
        QCOMPARE(o.refused, (std::vector<int>{6}));
        QVERIFY(o.written);
        QVERIFY(o.statistics);
        QCOMPARE(o.statistics->lastConcurso, 8);

        // The equal draw keeps its stored order; the replaced and new ones take the file's.
        const QStringList expected{
            QStringLiteral("1/41/5/4/52/30/33"),   QStringLiteral("2/9/39/37/49/43/42"),
            QStringLiteral("3/36/30/10/11/29/47"), QStringLiteral("4/6/59/42/27/1/5"),
            QStringLiteral("5/1/19/46/6/16/2"),    QStringLiteral("8/60/17/38/4/47/37")};
        QCOMPARE(drawRows(t.TableRes), expected);
        QCOMPARE(t.TableRes.text(u"Concurso"), QStringLiteral("8")); // the grid shows the last draw
        // The derived fields are filled, so the recomputation left the rows as written.
        QCOMPARE(tableRows(t.TableRes).value(3), QStringLiteral("4/6/59/42/27/1/5/2/4/4/2"));
        QVERIFY(!t.TableRes.changedMark());

        QCOMPARE(o.message.title, QStringLiteral("Importar resultados"));
        QCOMPARE(o.message.text,
                 QStringLiteral("Arquivo \"%1\" (%2): 6 concursos lidos.\n"
                                "Incluídos: 3 (4, 5, 8)\n"
                                "Substituídos: 1 (2)\n"
                                "Já cadastrados iguais: 1\n"
                                "Recusados: 1 (6) (as dezenas não são seis números diferentes de 1 a 60)\n"
                                "Concursos cadastrados: de 1 a 8.\n"
                                "Faltam nesse intervalo: 2 (6, 7).")
                     .arg(path, format));

        // What the import wrote is what a fresh start reads.
        Tables again(w.path());
        rebuildResultsFile(again);
        QCOMPARE(drawRows(again.TableRes), expected);

        // A second import of the same file changes nothing and writes nothing.
        const QByteArray before = fileBytes(t.TableRes.filePath());
        ScriptedPrompter no({false});
        const ResultsImportOutcome second = ImportResultsFile(t, path, no);
        QVERIFY(!second.written);
        QVERIFY(!second.statistics);
        QVERIFY(no.asked.isEmpty());
        QCOMPARE(second.added, std::vector<int>{});
        QCOMPARE(second.equal.size(), std::size_t{5});
        QCOMPARE(fileBytes(t.TableRes.filePath()), before);
        QVERIFY(!t.TableRes.changedMark());
    }

    void differingKeptOnNo() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        heldDraws(t);
        ScriptedPrompter no({false});
        const ResultsImportOutcome o =
            ImportResults(t, ResultsSamples::jsonArray(fileDraws()), QStringLiteral("r.json"), no);
        QCOMPARE(no.asked.size(), 1);
        QCOMPARE(o.kept, (std::vector<int>{2}));
        QCOMPARE(o.replaced, std::vector<int>{});
        QCOMPARE(drawRows(t.TableRes).value(1), QStringLiteral("2/9/39/37/49/43/41"));
        QCOMPARE(t.TableRes.rowCount(), 6);
        QVERIFY(o.message.text.contains(
            QStringLiteral("\nDiferentes do arquivo, mantidos como estavam: 1 (2)\n")));
        QVERIFY(o.message.text.contains(QStringLiteral("\nSubstituídos: 0\n")));
    }

    // Only differing draws and a No: nothing is written.
    void onlyKeptWritesNothing() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        heldDraws(t);
        const QByteArray before = fileBytes(t.TableRes.filePath());
        ScriptedPrompter no({false});
        const ResultsImportOutcome o = ImportResults(
            t, ResultsSamples::jsonArray({draw(3, {1, 2, 3, 4, 5, 6}), draw(2, {1, 2, 3, 4, 5, 7})}),
            QStringLiteral("r.json"), no);
        QVERIFY(!o.written);
        QCOMPARE(o.kept, (std::vector<int>{3, 2}));
        QCOMPARE(no.asked.value(0).text,
                 QStringLiteral("2 concursos do arquivo têm dezenas diferentes das "
                                "cadastradas: 2, 3.\nSubstitui as dezenas cadastradas pelas "
                                "do arquivo? "));
        QCOMPARE(fileBytes(t.TableRes.filePath()), before);
    }

    void singleServiceObjectIntoEmptyHistory() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        ScriptedPrompter p;
        const ResultsImportOutcome o =
            ImportResults(t, ResultsSamples::jsonSingle(draw(2797, {25, 3, 52, 45, 1, 15})),
                          QStringLiteral("ultimo.json"), p);
        QCOMPARE(o.added, std::vector<int>{2797});
        QCOMPARE(drawRows(t.TableRes), QStringList{QStringLiteral("2797/25/3/52/45/1/15")});
        QVERIFY(o.message.text.endsWith(QStringLiteral(
            "Concursos cadastrados: de 2797 a 2797.\nNão falta nenhum concurso nesse intervalo.")));
    }

    // Only listaDezenas (ascending): the numbers come ascending.
    void ascendingListOnly() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        ScriptedPrompter p;
        const QByteArray json = R"([{"numero": 10, "listaDezenas": ["04","18","21","25","38","57"]}])";
        ImportResults(t, json, QStringLiteral("r.json"), p);
        QCOMPARE(drawRows(t.TableRes), QStringList{QStringLiteral("10/4/18/21/25/38/57")});
    }

    void refusedFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        const auto d = fileDraws();
        const QByteArray sheet = ResultsSamples::xlsx(d);
        const QByteArray json = ResultsSamples::jsonArray(d);
        const QByteArray page = ResultsSamples::html(d, false);
        QTest::newRow("empty") << QByteArray() << QStringLiteral("o arquivo está vazio");
        QTest::newRow("blank") << QByteArray(" \r\n\n") << QStringLiteral("o arquivo está vazio");
        QTest::newRow("binary") << QByteArray("\x7f"
                                              "ELF\x02\x01\x01\0\0\0\0",
                                              12)
                                << QStringLiteral(
                                       "o arquivo não é uma planilha, uma página de resultados, um texto "
                                       "com separadores nem um JSON");
        QTest::newRow("prose") << QByteArray("Lista de compras\narroz, feijão\n")
                               << QStringLiteral(
                                      "o arquivo não é uma planilha, uma página de resultados, um texto "
                                      "com separadores nem um JSON (nenhum concurso foi encontrado nele)");
        QTest::newRow("truncated spreadsheet")
            << sheet.left(sheet.size() / 2)
            << QStringLiteral("o arquivo compactado está danificado ou incompleto");
        QByteArray damaged = sheet; // the middle of the file is the compressed sheet
        for (qsizetype i = sheet.size() * 2 / 5; i < sheet.size() * 3 / 5; ++i)
            damaged[i] = static_cast<char>(damaged.at(i) ^ 0x5A);
        QTest::newRow("damaged spreadsheet") << damaged << QStringLiteral("a planilha está danificada");
        QTest::newRow("zip without a sheet")
            << ResultsSamples::zip({{QStringLiteral("leia-me.txt"), "oi"}})
            << QStringLiteral("o arquivo compactado não é uma planilha (não tem nenhuma folha)");
        QTest::newRow("spreadsheet without the columns")
            << ResultsSamples::xlsxOfRows(
                   {{QStringLiteral("Concurso"), QStringLiteral("Data do Sorteio"),
                     QStringLiteral("Rateio")}},
                   {{QStringLiteral("1"), QStringLiteral("11/03/1996"), QStringLiteral("0")}}, false)
            << QStringLiteral(
                   "a tabela não tem as colunas do número do concurso (\"Concurso\") e das seis dezenas "
                   "(\"Bola1\" a \"Bola6\")");
        QTest::newRow("truncated json")
            << json.left(json.size() - 40) << QStringLiteral("o JSON está danificado ou incompleto");
        QTest::newRow("foreign json") << QByteArray(R"({"nome": "Quinabel"})")
                                      << QStringLiteral("o JSON não traz os concursos no formato esperado");
        QTest::newRow("truncated page")
            << page.left(page.indexOf("</table>"))
            << QStringLiteral("a página está incompleta (a tabela dos resultados não "
                              "termina)");
        QTest::newRow("page without table") << QByteArray("<html><body><p>Manutenção</p></body></html>")
                                            << QStringLiteral("a página não tem a tabela dos resultados");
    }

    void refusedFiles() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        heldDraws(t);
        const QStringList rowsBefore = tableRows(t.TableRes);
        const QByteArray before = fileBytes(t.TableRes.filePath());
        const QString path = writeFile(w, QStringLiteral("Mega-Sena.xlsx"), content);

        ScriptedPrompter p({true});
        const ResultsImportOutcome o = ImportResultsFile(t, path, p);
        QVERIFY(o.fileRefused);
        QVERIFY(!o.written);
        QVERIFY(p.asked.isEmpty());
        QCOMPARE(o.message.title, QStringLiteral("Importar resultados"));
        QVERIFY2(o.message.text.startsWith(QStringLiteral("O arquivo \"%1\" não foi importado: ").arg(path)),
                 qPrintable(o.message.text));
        QVERIFY2(o.message.text.contains(reason), qPrintable(o.message.text));
        QVERIFY(o.message.text.endsWith(QStringLiteral(". Nada foi alterado.")));
        QCOMPARE(tableRows(t.TableRes), rowsBefore);
        QCOMPARE(fileBytes(t.TableRes.filePath()), before);
    }

    // A write that fails leaves the table as it was and reports the failure.
    void failedWriteChangesNothing() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        heldDraws(t);
        const QStringList rowsBefore = tableRows(t.TableRes);
        // The file's place is taken by a folder that holds something, so nothing can be put there.
        const QString file = t.TableRes.filePath();
        QVERIFY(QFile::remove(file));
        QVERIFY(QDir().mkpath(file + QStringLiteral("/ocupado")));
        ScriptedPrompter yes({true});
        bool thrown = false;
        try {
            ImportResults(t, ResultsSamples::jsonArray(fileDraws()), QStringLiteral("r.json"), yes);
        } catch (const TableError& e) {
            thrown = true;
            QVERIFY2(e.message().contains(QStringLiteral("Resultados.cds")), qPrintable(e.message()));
        }
        QVERIFY(thrown);
        QCOMPARE(tableRows(t.TableRes), rowsBefore);
        QVERIFY(QFileInfo(file).isDir());
    }

    void missingFile() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        ScriptedPrompter p;
        const ResultsImportOutcome o = ImportResultsFile(t, w.file(QStringLiteral("nao-existe.csv")), p);
        QVERIFY(o.fileRefused);
        QVERIFY(o.message.text.contains(
            QStringLiteral("nao-existe.csv\" não foi importado: ele não pode ser lido")));
    }

    // A row named twice with other numbers is refused; the same row twice is one draw.
    void repeatedRows() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        ScriptedPrompter p;
        const QByteArray text =
            "1;1;2;3;4;5;6\n1;6;5;4;3;2;1\n2;1;2;3;4;5;6\n2;1;2;3;4;5;7\n3;1;2;3;4;5;61\n4;1;2;3\n";
        const ResultsImportOutcome o = ImportResults(t, text, QStringLiteral("r.csv"), p);
        QCOMPARE(o.added, std::vector<int>{1});
        QCOMPARE(o.refused, (std::vector<int>{2, 3, 4}));

        // Numbers far outside any range are refused, not converted.
        const ResultsImportOutcome huge = ImportResults(
            t, R"({"5": [1e300, 2, 3, 4, 5, 6], "6": [-1e300, 2, 3, 4, 5, 6]})", QStringLiteral("r.json"), p);
        QCOMPARE(huge.refused, (std::vector<int>{5, 6}));
    }

    // The real history, imported from the project's data, gives the statistics the typed draws give.
    void realHistoryGivesTheSameStatistics() {
        const QString data = QStringLiteral(QUINABEL_TEST_DATA "/megasena-draws.json");
        WorkFolder typedFolder;
        Tables typed(typedFolder.path());
        startResults(typed);
        {
            QFile f(data);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QJsonObject all = QJsonDocument::fromJson(f.readAll()).object();
            for (int c = 1; all.contains(QString::number(c)); ++c) {
                const QJsonArray n = all.value(QString::number(c)).toArray();
                std::array<int, 6> d{};
                for (qsizetype k = 0; k < 6; ++k)
                    d[static_cast<std::size_t>(k)] = n.at(k).toString().toInt();
                addDraw(typed, c, d);
            }
        }
        const NumberStatistics expected = RecomputeStatistics(typed);
        QVERIFY(expected.lastConcurso > 2700);

        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        ScriptedPrompter p;
        const ResultsImportOutcome o = ImportResultsFile(t, data, p);
        QVERIFY(o.statistics);
        QCOMPARE(o.refused, std::vector<int>{});
        QCOMPARE(o.added.size(), static_cast<std::size_t>(expected.lastConcurso));
        QCOMPARE(o.statistics->numbers, expected.numbers);
        QCOMPARE(o.statistics->classCounts, expected.classCounts);
        QCOMPARE(o.statistics->mediaText(), expected.mediaText());
        QCOMPARE(tableRows(t.TableRes), tableRows(typed.TableRes));
        QCOMPARE(tableRows(t.TableSaidas), tableRows(typed.TableSaidas));
    }

    void rememberedFolder() {
        WorkFolder w;
        QCOMPARE(LastImportFolder(w.path()), QString());
        RememberImportFolder(w.path(), QStringLiteral("/home/jogador/Downloads"));
        QCOMPARE(LastImportFolder(w.path()), QStringLiteral("/home/jogador/Downloads"));
        const QString longer = QStringLiteral("/home/jogador/") + QString(300, QLatin1Char('x'));
        RememberImportFolder(w.path(), longer);
        QCOMPARE(LastImportFolder(w.path()), longer);
        QVERIFY(QFile::exists(w.file(QStringLiteral("PastaImportacao.cds"))));
    }
};

QUINABEL_CORE_TEST_MAIN(ResultsImportTest)
#include "tst_resultsimport.moc"
