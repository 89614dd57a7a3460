#include "DrawsFixture.h"
#include "Prompter.h"
#include "RecomputeStatistics.h"
#include "ResultsFileSamples.h"
#include "ResultsImport.h"
#include "ResultsReadingLimits.h"
#include "ScriptedPrompterFixture.h"
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <sys/resource.h>
#include <sys/stat.h>
#include <zlib.h>

// The files a player may hand the import by mistake or from a hostile source, each made here: each
// gets a Portuguese answer within a few seconds, under an address-space limit far below what
// reading it whole would take, leaves every file of the folder as it was, and a real import still
// works afterwards.
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true; // AddressSanitizer reserves terabytes: no address-space limit
constexpr qint64 kFewSecondsMs = 30000;
#else
constexpr bool kSanitized = false;
constexpr qint64 kFewSecondsMs = 5000;
#endif

// What the process may map beyond what it had when the tests started.
constexpr rlim_t kHeadroomBytes = 384ull * 1024 * 1024;

qint64 statusKb(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(static_cast<qsizetype>(std::strlen(key)))
                .trimmed()
                .split(' ')
                .value(0)
                .toLongLong();
    return -1;
}

// Forgets the peak resident size, so that the next one is this case's own.
void resetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

std::vector<ResultsSamples::Draw> someDraws(int count) {
    QRandomGenerator rng(2797);
    std::vector<ResultsSamples::Draw> out;
    for (int c = 1; c <= count; ++c) {
        ResultsSamples::Draw d{c, {}};
        std::vector<int> taken;
        while (taken.size() < 6) {
            const int x = rng.bounded(1, 61);
            if (std::find(taken.begin(), taken.end(), x) == taken.end()) {
                taken.push_back(x);
                d.numbers << ResultsSamples::twoDigits(x);
            }
        }
        out.push_back(d);
    }
    return out;
}

QByteArray deflated(z_stream& z, const QByteArray& in, int flush) {
    QByteArray out;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    z.avail_in = static_cast<uInt>(in.size());
    char buf[65536];
    do {
        z.next_out = reinterpret_cast<Bytef*>(buf);
        z.avail_out = sizeof buf;
        deflate(&z, flush);
        out.append(buf, static_cast<qsizetype>(sizeof buf - z.avail_out));
    } while (z.avail_out == 0);
    return out;
}

void put16(QByteArray& b, quint32 v) {
    b.append(static_cast<char>(v & 0xFF)).append(static_cast<char>((v >> 8) & 0xFF));
}
void put32(QByteArray& b, quint32 v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// A spreadsheet whose sheet expands to `chunks` MiB of rows (a few thousand make gigabytes) from
// a few megabytes: the same full-flushed deflate block repeated, with an honest size and checksum.
// With `rows` the megabytes are rows of one cell, otherwise blanks between two rows.
QByteArray zipBomb(quint32 chunks, bool rows) {
    const QByteArray prefix = "<?xml version=\"1.0\"?><worksheet><sheetData><row><c><v>1</v></c></row>";
    QByteArray chunk;
    const QByteArray row = "<row><c t=\"n\"><v>1</v></c></row>";
    while (rows && chunk.size() + row.size() <= 1024 * 1024)
        chunk += row;
    chunk += QByteArray(1024 * 1024 - chunk.size(), ' ');
    const QByteArray suffix = "</sheetData></worksheet>";
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    const QByteArray head = deflated(z, prefix, Z_FULL_FLUSH);
    const QByteArray unit = deflated(z, chunk, Z_FULL_FLUSH);
    const QByteArray tail = deflated(z, suffix, Z_FINISH);
    deflateEnd(&z);
    QByteArray data = head;
    for (quint32 i = 0; i < chunks; ++i)
        data += unit;
    data += tail;
    uLong crc =
        crc32(0, reinterpret_cast<const Bytef*>(prefix.constData()), static_cast<uInt>(prefix.size()));
    const uLong chunkCrc =
        crc32(0, reinterpret_cast<const Bytef*>(chunk.constData()), static_cast<uInt>(chunk.size()));
    for (quint32 i = 0; i < chunks; ++i)
        crc = crc32_combine(crc, chunkCrc, chunk.size());
    crc = crc32_combine(
        crc, crc32(0, reinterpret_cast<const Bytef*>(suffix.constData()), static_cast<uInt>(suffix.size())),
        suffix.size());
    const quint64 size = quint64(prefix.size()) + quint64(chunk.size()) * chunks + quint64(suffix.size());
    const QByteArray name = "xl/worksheets/sheet1.xml";
    const auto header = [&](QByteArray& b, bool central) {
        put32(b, central ? 0x02014b50 : 0x04034b50);
        if (central)
            put16(b, 20);
        put16(b, 20);
        put16(b, 0);
        put16(b, 8);
        put16(b, 0);
        put16(b, 0x21);
        put32(b, static_cast<quint32>(crc));
        put32(b, static_cast<quint32>(data.size()));
        put32(b, static_cast<quint32>(size));
        put16(b, static_cast<quint32>(name.size()));
        put16(b, 0);
        if (central) {
            put16(b, 0);
            put16(b, 0);
            put16(b, 0);
            put32(b, 0);
            put32(b, 0);
        }
        b += name;
    };
    QByteArray zip;
    header(zip, false);
    zip += data;
    const qsizetype centralAt = zip.size();
    header(zip, true);
    const qsizetype centralSize = zip.size() - centralAt;
    put32(zip, 0x06054b50);
    put16(zip, 0);
    put16(zip, 0);
    put16(zip, 1);
    put16(zip, 1);
    put32(zip, static_cast<quint32>(centralSize));
    put32(zip, static_cast<quint32>(centralAt));
    put16(zip, 0);
    return zip;
}

// A small spreadsheet whose every row has one cell in the sheet's last column.
QByteArray farColumnSheet(int rows) {
    QByteArray xml = "<?xml version=\"1.0\"?><worksheet><sheetData>";
    for (int r = 1; r <= rows; ++r)
        xml += "<row r=\"" + QByteArray::number(r) + "\"><c r=\"XFD" + QByteArray::number(r) +
               "\" t=\"n\"><v>7</v></c></row>";
    xml += "</sheetData></worksheet>";
    return ResultsSamples::zip({{QStringLiteral("xl/worksheets/sheet1.xml"), xml}});
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Every entry of the folder with its kind, size and bytes: what "nothing changed" is checked by.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QByteArray content;
        if (info.isFile() && !info.isSymLink()) {
            QFile f(path);
            if (f.open(QIODevice::ReadOnly))
                content = f.readAll();
        }
        out.insert(info.fileName(), QByteArray::number(int(info.isDir())) + ':' +
                                        QByteArray::number(info.size()) + ':' +
                                        QByteArray::number(qHash(content)));
    }
    return out;
}

class CountingProgress final : public Progress {
public:
    explicit CountingProgress(int cancelAfter = -1) : cancelAfter_(cancelAfter) {}
    bool report(qint64, qint64, qint64) override {
        ++reports;
        return cancelAfter_ < 0 || reports <= cancelAfter_;
    }
    int reports = 0;

private:
    int cancelAfter_;
};

} // namespace

class HostileImportTest : public QObject {
    Q_OBJECT

    // The history before each import, already in its file.
    static void heldDraws(Tables& t) {
        startResults(t);
        addDraw(t, 1, {41, 5, 4, 52, 30, 33});
        addDraw(t, 2, {9, 39, 37, 49, 43, 41});
        RecomputeStatistics(t);
        QVERIFY(t.commitChanges().isEmpty());
    }

    // The real download's size: the operator's spreadsheet of 2,797 draws imports whole.
    static void realImportWorks(Tables& t, const QString& folder) {
        const QString path = folder + QStringLiteral("/Mega-Sena.xlsx");
        writeFile(path, ResultsSamples::xlsx(someDraws(2797)));
        ScriptedPrompter yes({true});
        const ResultsImportOutcome o = ImportResultsFile(t, path, yes);
        QVERIFY2(!o.fileRefused, qPrintable(o.message.text));
        QCOMPARE(t.TableRes.rowCount(), 2797);
        QVERIFY(o.written);
    }

private slots:
    void initTestCase() {
        qInfo("address space at start: %lld MB", statusKb("VmSize:") / 1024);
        if (kSanitized)
            return;
        const rlim_t now = static_cast<rlim_t>(statusKb("VmSize:")) * 1024;
        const rlimit limit{now + kHeadroomBytes, now + kHeadroomBytes};
        QCOMPARE(setrlimit(RLIMIT_AS, &limit), 0);
        // The limit holds: reading a gigabyte at once is refused by the system.
        QVERIFY_THROWS_EXCEPTION(std::bad_alloc, QByteArray(1024 * 1024 * 1024, 'x'));
    }

    void hostileFiles_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("zip bomb of blanks")
            << QStringLiteral("bomb")
            << QStringLiteral("uma parte do arquivo compactado tem mais de 32 MB "
                              "descompactada");
        QTest::newRow("zip bomb of rows")
            << QStringLiteral("row bomb") << QStringLiteral("ele tem mais de 100.000 linhas");
        QTest::newRow("cell in column XFD on 20,000 rows")
            << QStringLiteral("xfd") << QStringLiteral("a tabela não tem as colunas do número do concurso");
        QTest::newRow("fifo") << QStringLiteral("fifo")
                              << QStringLiteral("ele não é um arquivo comum (é um canal de comunicação entre "
                                                "programas (FIFO))");
        QTest::newRow("link to /dev/zero")
            << QStringLiteral("/dev/zero")
            << QStringLiteral("ele não é um arquivo comum (é um dispositivo do sistema)");
        QTest::newRow("link to /dev/urandom")
            << QStringLiteral("/dev/urandom")
            << QStringLiteral("ele não é um arquivo comum (é um dispositivo do sistema)");
        QTest::newRow("folder") << QStringLiteral("folder")
                                << QStringLiteral("ele não é um arquivo comum (é uma pasta)");
        QTest::newRow("a million rows")
            << QStringLiteral("million") << QStringLiteral("ele tem mais de 100.000 linhas");
        QTest::newRow("100 MB of one-digit lines")
            << QStringLiteral("100mb") << QStringLiteral("ele tem mais de 32 MB");
        QTest::newRow("millions of JSON values")
            << QStringLiteral("json") << QStringLiteral("o JSON tem mais de 2.000.000 valores");
        QTest::newRow("a page row of millions of cells")
            << QStringLiteral("page") << QStringLiteral("nenhum concurso foi encontrado");
        QTest::newRow("one line of a million fields")
            << QStringLiteral("wide") << QStringLiteral("nenhum concurso foi encontrado");
    }

    void hostileFiles() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        WorkFolder w;
        Tables t(w.path());
        heldDraws(t);
        const QString downloads = w.file(QStringLiteral("Downloads"));
        QVERIFY(QDir().mkpath(downloads));
        const QString path = downloads + QStringLiteral("/resultados");
        if (kind.endsWith(u"bomb")) {
            const QByteArray bomb = zipBomb(3000, kind == u"row bomb"); // 3 GB
            QVERIFY(bomb.size() < 8 * 1024 * 1024);
            writeFile(path, bomb);
        } else if (kind == u"xfd") {
            writeFile(path, farColumnSheet(20000));
        } else if (kind == u"fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind.startsWith(u"/dev/")) {
            QVERIFY(QFile::link(kind, path));
        } else if (kind == u"folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (kind == u"million") {
            QByteArray text;
            for (int i = 1; i <= 1000000; ++i)
                text += QByteArray::number(i) + ";01;02;03;04;05;06\n";
            writeFile(path, text);
        } else if (kind == u"100mb") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            const QByteArray lines = QByteArray("1\n").repeated(512 * 1024);
            for (int i = 0; i < 100; ++i)
                QCOMPARE(f.write(lines), lines.size());
        } else if (kind == u"json") {
            writeFile(path, "[" + QByteArray("1,").repeated(3000000) + "1]");
        } else if (kind == u"page") {
            writeFile(path, "<html><body><table><tr>" + QByteArray("<td>").repeated(4 * 1024 * 1024) +
                                "</tr></table></body></html>");
        } else if (kind == u"wide") {
            writeFile(path, "a" + QByteArray(";b").repeated(1000000) + "\n");
        }
        const QMap<QString, QByteArray> before = snapshot(w.path());
        const QStringList rowsBefore = tableRows(t.TableRes);

        resetPeak();
        QElapsedTimer clock;
        clock.start();
        ScriptedPrompter p;
        const ResultsImportOutcome o = ImportResultsFile(t, path, p);
        const qint64 ms = clock.elapsed();
        qInfo("%s: %lld ms, peak resident %lld MB", qPrintable(kind), ms, statusKb("VmHWM:") / 1024);

        QVERIFY2(ms < kFewSecondsMs, qPrintable(QString::number(ms)));
        QVERIFY(o.fileRefused);
        QVERIFY(!o.written);
        QVERIFY(p.asked.isEmpty());
        QVERIFY2(o.message.text.startsWith(QStringLiteral("O arquivo \"%1\" não foi importado: ").arg(path)),
                 qPrintable(o.message.text));
        QVERIFY2(o.message.text.contains(reason), qPrintable(o.message.text));
        QVERIFY(o.message.text.endsWith(QStringLiteral(". Nada foi alterado.")));
        QCOMPARE(snapshot(w.path()), before);
        QCOMPARE(tableRows(t.TableRes), rowsBefore);

        realImportWorks(t, w.path());
    }

    // The operator's own spreadsheet, for the figures beside the hostile ones.
    void realDownloadFigures() {
        WorkFolder w;
        Tables t(w.path());
        startResults(t);
        resetPeak();
        QElapsedTimer clock;
        clock.start();
        realImportWorks(t, w.path());
        qInfo("real spreadsheet of 2,797 draws: %lld ms, peak resident %lld MB", clock.elapsed(),
              statusKb("VmHWM:") / 1024);
    }

    // A draw number far beyond any real draw is refused and counted; one already held (typed, or
    // from an older import) costs the summary nothing: missing draws are told as runs.
    void hugeDrawNumbers() {
        WorkFolder w;
        Tables t(w.path());
        heldDraws(t);
        ScriptedPrompter p;
        const QByteArray text = "2147483647;01;02;03;04;05;06\n500000000;01;02;03;04;05;06\n"
                                "99999999999;01;02;03;04;05;06\n3;07;08;09;10;11;12\n";
        const ResultsImportOutcome o = ImportResults(t, text, QStringLiteral("r.csv"), p);
        QCOMPARE(o.added, std::vector<int>{3});
        QCOMPARE(o.implausible, qsizetype{3});
        QVERIFY2(o.message.text.contains(QStringLiteral(
                     "Linhas recusadas: 3 (o número do concurso passa de 100.000, nenhum concurso real chega "
                     "lá)")),
                 qPrintable(o.message.text));

        addDraw(t, 2147483647, {1, 2, 3, 4, 5, 6});
        QVERIFY(t.commitChanges().isEmpty());
        QElapsedTimer clock;
        clock.start();
        const ResultsImportOutcome again =
            ImportResults(t, "3;07;08;09;10;11;12\n", QStringLiteral("r.csv"), p);
        QVERIFY(clock.elapsed() < kFewSecondsMs);
        QVERIFY(!again.written);
        QVERIFY2(again.message.text.endsWith(QStringLiteral("Concursos cadastrados: de 1 a 2147483647.\n"
                                                            "Faltam nesse intervalo: 2147483643 (4 a "
                                                            "2147483646).")),
                 qPrintable(again.message.text));
    }

    // A draw the file gives twice with other numbers is refused for that, not for its numbers.
    void conflictingRepeats() {
        WorkFolder w;
        Tables t(w.path());
        heldDraws(t);
        ScriptedPrompter p;
        QByteArray text;
        for (int c = 3; c < 40003; ++c)
            text += QByteArray::number(c) + ";01;02;03;04;05;06\n" + QByteArray::number(c) +
                    ";01;02;03;04;05;07\n";
        text += "60000;01;02;03;04;05;99\n";
        QElapsedTimer clock;
        clock.start();
        const ResultsImportOutcome o = ImportResults(t, text, QStringLiteral("r.csv"), p);
        QVERIFY(clock.elapsed() < kFewSecondsMs);
        QVERIFY2(!o.fileRefused, qPrintable(o.message.text));
        QCOMPARE(o.added, std::vector<int>{});
        QCOMPARE(o.conflicting.size(), std::size_t{40000});
        QVERIFY2(o.message.text.contains(QStringLiteral(
                     "Recusados: 40000 (3 a 40002) (o arquivo dá o mesmo concurso mais de uma vez, com "
                     "dezenas diferentes)")),
                 qPrintable(o.message.text));
        QVERIFY2(o.message.text.contains(QStringLiteral(
                     "Recusados: 1 (60000) (as dezenas não são seis números diferentes de 1 a 60)")),
                 qPrintable(o.message.text));
        QVERIFY(!o.written);
    }

    // A page saved as UTF-16 (with or without its byte order mark) is read as the same page.
    void utf16Page_data() {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<bool>("bom");
        QTest::newRow("UTF-16LE with BOM") << QStringLiteral("UTF-16LE") << true;
        QTest::newRow("UTF-16BE with BOM") << QStringLiteral("UTF-16BE") << true;
        QTest::newRow("UTF-16LE without BOM") << QStringLiteral("UTF-16LE") << false;
    }

    void utf16Page() {
        QFETCH(QString, encoding);
        QFETCH(bool, bom);
        WorkFolder w;
        Tables t(w.path());
        heldDraws(t);
        const QString page = QString::fromUtf8(ResultsSamples::html(someDraws(30), false));
        QStringEncoder encode(qPrintable(encoding),
                              bom ? QStringEncoder::Flag::WriteBom : QStringEncoder::Flag::Default);
        const QByteArray bytes = encode(page);
        const QString path = w.file(QStringLiteral("d_mega.htm"));
        writeFile(path, bytes);
        ScriptedPrompter yes({true});
        const ResultsImportOutcome o = ImportResultsFile(t, path, yes);
        QVERIFY2(!o.fileRefused, qPrintable(o.message.text));
        QVERIFY2(o.message.text.contains(QStringLiteral("(página HTML): 30 concursos lidos")),
                 qPrintable(o.message.text));
        QCOMPARE(t.TableRes.rowCount(), 30);
    }

    // The reading tells its progress and stops when the progress says so, changing nothing.
    void cancelledReading() {
        WorkFolder w;
        Tables t(w.path());
        heldDraws(t);
        const QString path = w.file(QStringLiteral("resultados.csv"));
        QByteArray text;
        for (int i = 3; i <= 60000; ++i)
            text += QByteArray::number(i) + ";01;02;03;04;05;06\n";
        writeFile(path, text);
        const QMap<QString, QByteArray> before = snapshot(w.path());
        CountingProgress cancelling(3);
        const auto read = ReadResultsFile(path, cancelling);
        QVERIFY(std::holds_alternative<ResultsImportOutcome>(read));
        const ResultsImportOutcome& o = std::get<ResultsImportOutcome>(read);
        QVERIFY(o.cancelled);
        QCOMPARE(
            o.message.text,
            QStringLiteral("A importação do arquivo \"%1\" foi cancelada. Nada foi alterado.").arg(path));
        QCOMPARE(snapshot(w.path()), before);

        CountingProgress watching;
        const auto whole = ReadResultsFile(path, watching);
        QVERIFY(std::holds_alternative<ParsedResults>(whole));
        QCOMPARE(std::get<ParsedResults>(whole).draws.size(), std::size_t{59998});
        QVERIFY(watching.reports > 10);
    }
};

QUINABEL_CORE_TEST_MAIN(HostileImportTest)
#include "tst_hostile_import.moc"
