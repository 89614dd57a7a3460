#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <array>
#include <quazip.h>
#include <quazipfile.h>
#include <vector>

// Small results files in the layouts the lottery publishes, made from a list of draws, for the
// import's tests and benchmark.
namespace ResultsSamples {

struct Draw {
    int concurso;
    QStringList numbers; // as the file writes them: "04"
};

inline QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

inline Draw draw(int concurso, std::initializer_list<int> numbers) {
    Draw d{concurso, {}};
    for (const int n : numbers)
        d.numbers << twoDigits(n);
    return d;
}

inline QString dateOf(int concurso) {
    return QStringLiteral("%1/%2/%3")
        .arg(twoDigits(1 + concurso % 28), twoDigits(1 + concurso % 12))
        .arg(1996 + concurso / 104);
}

// --- the operator's spreadsheet: shared strings for the header and for every other number
// ("04" as text), number cells for the rest, a date as an inline string, prize columns after.
inline QString xmlEscape(QString s) {
    return s.replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"));
}

inline QString column(int c) {
    QString s;
    ++c;
    while (c > 0) {
        s.prepend(QChar(u'A' + (c - 1) % 26));
        c = (c - 1) / 26;
    }
    return s;
}

struct Entry {
    QString name;
    QByteArray data;
};

inline QByteArray zip(const std::vector<Entry>& entries) {
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    QuaZip z(&buffer);
    if (!z.open(QuaZip::mdCreate))
        return {};
    for (const Entry& e : entries) {
        QuaZipFile f(&z);
        if (!f.open(QIODevice::WriteOnly, QuaZipNewInfo(e.name)))
            return {};
        f.write(e.data);
        f.close();
    }
    z.close();
    return buffer.data();
}

inline QByteArray xlsxOfRows(const std::vector<QStringList>& header,
                             const std::vector<std::vector<QString>>& dataRows, bool textCells,
                             bool withRelations = false) {
    QStringList shared;
    const auto sharedIndex = [&](const QString& s) {
        qsizetype i = shared.indexOf(s);
        if (i < 0) {
            shared << s;
            i = shared.size() - 1;
        }
        return i;
    };
    QString sheet =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                       "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                       "<sheetData>");
    int r = 1;
    for (const QStringList& h : header) {
        sheet += QStringLiteral("<row r=\"%1\">").arg(r);
        for (int c = 0; c < h.size(); ++c)
            sheet += QStringLiteral("<c r=\"%1%2\" t=\"s\"><v>%3</v></c>")
                         .arg(column(c))
                         .arg(r)
                         .arg(sharedIndex(h.at(c)));
        sheet += QStringLiteral("</row>");
        ++r;
    }
    for (const std::vector<QString>& row : dataRows) {
        sheet += QStringLiteral("<row r=\"%1\">").arg(r);
        for (int c = 0; c < static_cast<int>(row.size()); ++c) {
            const QString& v = row[static_cast<std::size_t>(c)];
            const QString ref = column(c) + QString::number(r);
            bool isNumber = false;
            const int n = v.toInt(&isNumber);
            if (v.startsWith(QLatin1Char('#'))) // a number cell as written: "#1714650.23"
                sheet += QStringLiteral("<c r=\"%1\"><v>%2</v></c>").arg(ref, v.mid(1));
            else if (v.contains(QLatin1Char('/')))
                sheet += QStringLiteral("<c r=\"%1\" t=\"inlineStr\"><is><t>%2</t></is></c>")
                             .arg(ref, xmlEscape(v));
            else if (isNumber && !(textCells && (r + c) % 2 == 0))
                sheet += QStringLiteral("<c r=\"%1\"><v>%2</v></c>").arg(ref).arg(n);
            else
                sheet += QStringLiteral("<c r=\"%1\" t=\"s\"><v>%2</v></c>").arg(ref).arg(sharedIndex(v));
        }
        sheet += QStringLiteral("</row>");
        ++r;
    }
    sheet += QStringLiteral("</sheetData></worksheet>");
    QString sst = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                 "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                                 "count=\"%1\" uniqueCount=\"%1\">")
                      .arg(shared.size());
    for (const QString& s : shared)
        sst += QStringLiteral("<si><t>%1</t></si>").arg(xmlEscape(s));
    sst += QStringLiteral("</sst>");
    const QByteArray types =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
        "<Override PartName=\"/xl/sharedStrings.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
        "</Types>";
    const QByteArray workbook =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<sheets><sheet name=\"MEGA SENA\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    if (withRelations) {
        // As spreadsheet programs write it: the workbook names its sheet through its relations,
        // and the first sheet file is another, empty one.
        const QByteArray rels =
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
            "<Relationship Id=\"rId1\" "
            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
            "Target=\"worksheets/sheet2.xml\"/></Relationships>";
        const QByteArray empty =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
            "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
            "<sheetData/></worksheet>";
        return zip({{QStringLiteral("[Content_Types].xml"), types},
                    {QStringLiteral("xl/workbook.xml"), workbook},
                    {QStringLiteral("xl/_rels/workbook.xml.rels"), rels},
                    {QStringLiteral("xl/worksheets/sheet1.xml"), empty},
                    {QStringLiteral("xl/worksheets/sheet2.xml"), sheet.toUtf8()},
                    {QStringLiteral("xl/sharedStrings.xml"), sst.toUtf8()}});
    }
    return zip({{QStringLiteral("[Content_Types].xml"), types},
                {QStringLiteral("xl/workbook.xml"), workbook},
                {QStringLiteral("xl/worksheets/sheet1.xml"), sheet.toUtf8()},
                {QStringLiteral("xl/sharedStrings.xml"), sst.toUtf8()}});
}

inline QByteArray xlsx(const std::vector<Draw>& draws, bool withRelations = false) {
    std::vector<std::vector<QString>> rows;
    for (const Draw& d : draws) {
        std::vector<QString> row{QString::number(d.concurso), dateOf(d.concurso)};
        for (const QString& n : d.numbers)
            row.push_back(n);
        row.push_back(QStringLiteral("0"));
        row.push_back(QStringLiteral("SÃO PAULO/SP"));
        rows.push_back(row);
    }
    return xlsxOfRows(
        {{QStringLiteral("Concurso"), QStringLiteral("Data do Sorteio"), QStringLiteral("Bola1"),
          QStringLiteral("Bola2"), QStringLiteral("Bola3"), QStringLiteral("Bola4"), QStringLiteral("Bola5"),
          QStringLiteral("Bola6"), QStringLiteral("Ganhadores 6 acertos"), QStringLiteral("Cidade / UF")}},
        rows, true, withRelations);
}

// --- the results page: one table, a header, and for every third draw two winners' places,
// the second on a row of its own holding only the city and the state. `latin1` makes the old
// page (ISO-8859-1, declared in a meta tag, "1ª Dezena" headers).
inline QByteArray html(const std::vector<Draw>& draws, bool latin1) {
    QString page = latin1
                       ? QStringLiteral("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                        "charset=iso-8859-1\"><title>Mega-Sena</title></head><body>\n")
                       : QStringLiteral("<!DOCTYPE html><html lang=\"pt-br\"><head><meta charset=\"utf-8\">"
                                        "<title>Resultados da Mega-Sena por ordem de sorteio</title></head>"
                                        "<body><h1>Resultados da Mega-Sena por ordem de sorteio</h1>\n");
    page += QStringLiteral("<table border=\"1\">\n<tr>");
    page += QStringLiteral("<th>Concurso</th><th>Data Sorteio</th>");
    for (int i = 1; i <= 6; ++i)
        page +=
            latin1 ? QStringLiteral("<th>%1ª Dezena</th>").arg(i) : QStringLiteral("<th>Bola %1</th>").arg(i);
    page += QStringLiteral("<th>Ganhadores_Sena</th><th>Cidade</th><th>UF</th></tr>\n");
    for (const Draw& d : draws) {
        const bool two = d.concurso % 3 == 0;
        const QString span = two ? QStringLiteral(" rowspan=\"2\"") : QString();
        page += QStringLiteral("<tr><td%1>%2</td><td%1>%3</td>")
                    .arg(span)
                    .arg(d.concurso)
                    .arg(dateOf(d.concurso));
        for (const QString& n : d.numbers)
            page += QStringLiteral("<td%1>%2</td>").arg(span, n);
        page +=
            QStringLiteral("<td%1>%2</td><td>SÃO PAULO</td><td>SP</td></tr>\n").arg(span).arg(two ? 2 : 0);
        if (two)
            page += QStringLiteral("<tr><td>BRASÍLIA</td><td>DF</td></tr>\n");
    }
    page += QStringLiteral("</table>\n</body></html>\n");
    return latin1 ? page.toLatin1() : page.toUtf8();
}

// --- text with separators; with a header, a date column sits between the draw number and the
// numbers and a prize column follows them.
inline QByteArray text(const std::vector<Draw>& draws, QChar sep, bool header, bool latin1 = false) {
    QStringList lines;
    if (header)
        lines << QStringList{QStringLiteral("Concurso"),  QStringLiteral("Data do Sorteio"),
                             QStringLiteral("1ª Dezena"), QStringLiteral("2ª Dezena"),
                             QStringLiteral("3ª Dezena"), QStringLiteral("4ª Dezena"),
                             QStringLiteral("5ª Dezena"), QStringLiteral("6ª Dezena"),
                             QStringLiteral("Rateio")}
                     .join(sep);
    for (const Draw& d : draws) {
        QStringList cells{QString::number(d.concurso)};
        if (header)
            cells << dateOf(d.concurso);
        cells << d.numbers;
        if (header)
            cells << QStringLiteral("1000");
        lines << cells.join(sep);
    }
    const QString all = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return latin1 ? all.toLatin1() : all.toUtf8();
}

// --- JSON: the results service's objects, in an array or a single one, and the keyed object.
inline QJsonObject serviceObject(const Draw& d) {
    QJsonObject o;
    o.insert(QStringLiteral("tipoJogo"), QStringLiteral("MEGA_SENA"));
    o.insert(QStringLiteral("numero"), d.concurso);
    o.insert(QStringLiteral("dataApuracao"), dateOf(d.concurso));
    QStringList ascending = d.numbers;
    std::sort(ascending.begin(), ascending.end());
    o.insert(QStringLiteral("listaDezenas"), QJsonArray::fromStringList(ascending));
    o.insert(QStringLiteral("dezenasSorteadasOrdemSorteio"), QJsonArray::fromStringList(d.numbers));
    return o;
}

inline QByteArray jsonArray(const std::vector<Draw>& draws) {
    QJsonArray a;
    for (const Draw& d : draws)
        a.append(serviceObject(d));
    return QJsonDocument(a).toJson();
}

inline QByteArray jsonSingle(const Draw& d) {
    return QJsonDocument(serviceObject(d)).toJson(QJsonDocument::Compact);
}

inline QByteArray jsonKeyed(const std::vector<Draw>& draws) {
    QJsonObject o;
    for (const Draw& d : draws)
        o.insert(QString::number(d.concurso), QJsonArray::fromStringList(d.numbers));
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// --- the prizes of each draw, as the files write them: the winners and the prize per winner of
// 6, 5 and 4 hits, each cell's text as given (a spreadsheet number cell starts with "#").
struct PrizedDraw {
    Draw draw;
    QString date; // "11/03/1996"
    std::array<QString, 3> winners;
    std::array<QString, 3> prizes;
};

// The operator's spreadsheet with its columns in their order: the winners' city between the sena's
// winners and prize, the sums after.
inline QByteArray xlsxWithPrizes(const std::vector<PrizedDraw>& draws) {
    std::vector<std::vector<QString>> rows;
    for (const PrizedDraw& p : draws) {
        std::vector<QString> row{QString::number(p.draw.concurso), p.date};
        for (const QString& n : p.draw.numbers)
            row.push_back(n);
        row.push_back(p.winners[0]);
        row.push_back(QStringLiteral("SÃO PAULO/SP"));
        row.push_back(p.prizes[0]);
        row.push_back(p.winners[1]);
        row.push_back(p.prizes[1]);
        row.push_back(p.winners[2]);
        row.push_back(p.prizes[2]);
        row.push_back(QStringLiteral("R$0,00"));
        rows.push_back(row);
    }
    return xlsxOfRows(
        {{QStringLiteral("Concurso"), QStringLiteral("Data do Sorteio"), QStringLiteral("Bola1"),
          QStringLiteral("Bola2"), QStringLiteral("Bola3"), QStringLiteral("Bola4"), QStringLiteral("Bola5"),
          QStringLiteral("Bola6"), QStringLiteral("Ganhadores 6 acertos"), QStringLiteral("Cidade / UF"),
          QStringLiteral("Rateio 6 acertos"), QStringLiteral("Ganhadores 5 acertos"),
          QStringLiteral("Rateio 5 acertos"), QStringLiteral("Ganhadores 4 acertos"),
          QStringLiteral("Rateio 4 acertos"), QStringLiteral("Acumulado 6 acertos")}},
        rows, false);
}

// The saved results page with the old page's column names; a draw with two winners' places has
// the second on a row of its own.
inline QByteArray htmlWithPrizes(const std::vector<PrizedDraw>& draws, bool latin1) {
    QString page = latin1
                       ? QStringLiteral("<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; "
                                        "charset=iso-8859-1\"></HEAD><BODY>\n")
                       : QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body>\n");
    page += QStringLiteral("<table>\n<tr><th>Concurso</th><th>Data Sorteio</th>");
    for (int i = 1; i <= 6; ++i)
        page += QStringLiteral("<th>%1&ordf; Dezena</th>").arg(i);
    page += QStringLiteral("<th>Arrecadacao_Total</th><th>Ganhadores_Sena</th><th>Cidade</th><th>UF</th>"
                           "<th>Rateio_Sena</th><th>Ganhadores_Quina</th><th>Rateio_Quina</th>"
                           "<th>Ganhadores_Quadra</th><th>Rateio_Quadra</th><th>Acumulado</th></tr>\n");
    for (const PrizedDraw& p : draws) {
        const bool two = p.winners[0] == QStringLiteral("2");
        const QString span = two ? QStringLiteral(" rowspan=\"2\"") : QString();
        page += QStringLiteral("<tr><td%1>%2</td><td%1>%3</td>").arg(span).arg(p.draw.concurso).arg(p.date);
        for (const QString& n : p.draw.numbers)
            page += QStringLiteral("<td%1>%2</td>").arg(span, n);
        page += QStringLiteral("<td%1>0,00</td><td%1>%2</td><td>S&Atilde;O PAULO</td><td>SP</td>")
                    .arg(span, p.winners[0]);
        for (std::size_t i = 0; i < 3; ++i) {
            if (i > 0)
                page += QStringLiteral("<td%1>%2</td>").arg(span, p.winners[i]);
            page += QStringLiteral("<td%1>%2</td>").arg(span, p.prizes[i]);
        }
        page += QStringLiteral("<td%1>N&Atilde;O</td></tr>\n").arg(span);
        if (two)
            page += QStringLiteral("<tr><td>BRAS&Iacute;LIA</td><td>DF</td></tr>\n");
    }
    page += QStringLiteral("</table>\n</body></html>\n");
    return latin1 ? page.toLatin1() : page.toUtf8();
}

inline QByteArray textWithPrizes(const std::vector<PrizedDraw>& draws, QChar sep) {
    QStringList lines{QStringList{QStringLiteral("Concurso"), QStringLiteral("Data do Sorteio"),
                                  QStringLiteral("Bola1"), QStringLiteral("Bola2"), QStringLiteral("Bola3"),
                                  QStringLiteral("Bola4"), QStringLiteral("Bola5"), QStringLiteral("Bola6"),
                                  QStringLiteral("Ganhadores 6 acertos"), QStringLiteral("Rateio 6 acertos"),
                                  QStringLiteral("Ganhadores 5 acertos"), QStringLiteral("Rateio 5 acertos"),
                                  QStringLiteral("Ganhadores 4 acertos"), QStringLiteral("Rateio 4 acertos")}
                          .join(sep)};
    for (const PrizedDraw& p : draws) {
        QStringList cells{QString::number(p.draw.concurso), p.date};
        cells << p.draw.numbers;
        for (std::size_t i = 0; i < 3; ++i)
            cells << p.winners[i] << p.prizes[i];
        lines << cells.join(sep);
    }
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

// The results service's objects with `listaRateioPremio`; a value that reads as a number is a
// JSON number, anything else a string.
inline QByteArray jsonWithPrizes(const std::vector<PrizedDraw>& draws) {
    const auto value = [](const QString& s) -> QJsonValue {
        bool ok = false;
        const double d = s.toDouble(&ok);
        return ok ? QJsonValue(d) : QJsonValue(s);
    };
    QJsonArray a;
    for (const PrizedDraw& p : draws) {
        QJsonObject o = serviceObject(p.draw);
        o.insert(QStringLiteral("dataApuracao"), p.date);
        QJsonArray tiers;
        const char* names[] = {"6 acertos", "5 acertos", "4 acertos"};
        for (int i = 0; i < 3; ++i) {
            QJsonObject t;
            t.insert(QStringLiteral("descricaoFaixa"), QLatin1String(names[i]));
            t.insert(QStringLiteral("faixa"), i + 1);
            t.insert(QStringLiteral("numeroDeGanhadores"), value(p.winners[static_cast<std::size_t>(i)]));
            t.insert(QStringLiteral("valorPremio"), value(p.prizes[static_cast<std::size_t>(i)]));
            tiers.append(t);
        }
        o.insert(QStringLiteral("listaRateioPremio"), tiers);
        a.append(o);
    }
    return QJsonDocument(a).toJson();
}

} // namespace ResultsSamples
