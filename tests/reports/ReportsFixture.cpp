#include "ReportsFixture.h"

std::unique_ptr<Table> makeTable(const WorkFolder& folder, const QString& name, const QString& file,
                                 FieldList fields, const QString& index) {
    auto t = std::make_unique<Table>(name, folder.path(), file);
    t->defineFields(std::move(fields));
    t->setIndexFieldNames(index);
    t->create();
    return t;
}

std::unique_ptr<Table> makeSlips(const WorkFolder& folder, int count, int games) {
    auto t = makeTable(folder, QStringLiteral("TableCImp"), Schemas::kScratchFile, Schemas::slips(),
                       QStringLiteral("Cartela"));
    const int cartela = t->fieldIndex(u"Cartela");
    const int dezenas = t->fieldIndex(u"Dezenas");
    const int j1 = t->fieldIndex(u"J1");
    Table::BulkChange bulk(*t);
    for (int k = 1; k <= count; ++k) {
        t->insert();
        t->setInteger(cartela, k);
        t->setInteger(dezenas, 6);
        for (int j = 0; j < 3; ++j) {
            const int game = 3 * k - 2 + j;
            if (games <= 0 || game <= games)
                t->setInteger(j1 + j, game);
        }
        t->post();
    }
    return t;
}

std::unique_ptr<Table> makeListing(const WorkFolder& folder, int count) {
    auto t = makeTable(folder, QStringLiteral("TableRel"), Schemas::kListingFile, Schemas::listing(),
                       QStringLiteral("Linha"));
    Table::BulkChange bulk(*t);
    for (int k = 1; k <= count; ++k) {
        t->insert();
        t->setInteger(0, k);
        t->setText(1, QStringLiteral("%1;01;02;03;04;05;06;").arg(k, 7, 10, QLatin1Char('0')));
        t->post();
    }
    return t;
}

std::unique_ptr<Table> makeStatsReport(const WorkFolder& folder, int count) {
    auto t = makeTable(folder, QStringLiteral("TableRelSai"), Schemas::kStatsReportFile,
                       Schemas::statsReport(), QStringLiteral("Dezena"));
    Table::BulkChange bulk(*t);
    for (int k = 1; k <= count; ++k) {
        t->insert();
        for (int f = 0; f < t->fieldCount(); ++f)
            t->setInteger(f, k);
        t->post();
    }
    return t;
}

QColor pixelAt(const QImage& page, double xMm, double yMm) {
    const double k = page.dotsPerMeterX() / 1000.0;
    return page.pixelColor(static_cast<int>(xMm * k), static_cast<int>(yMm * k));
}

QColor centreOf(const QImage& page, QRectF boxMm) {
    return pixelAt(page, boxMm.center().x(), boxMm.center().y());
}

bool isDark(const QColor& c) {
    return c.lightness() < 100;
}

bool hasInk(const QImage& page, QRectF boxMm) {
    const double k = page.dotsPerMeterX() / 1000.0;
    const QRect px(static_cast<int>(boxMm.left() * k), static_cast<int>(boxMm.top() * k),
                   static_cast<int>(boxMm.width() * k), static_cast<int>(boxMm.height() * k));
    for (int y = px.top(); y <= px.bottom(); ++y)
        for (int x = px.left(); x <= px.right(); ++x)
            if (isDark(page.pixelColor(x, y)))
                return true;
    return false;
}
