#pragma once

#include "ReportDocument.h"
#include "Schemas.h"
#include "Table.h"
#include "TestSupport.h"

#include <QColor>
#include <QImage>
#include <memory>
#include <vector>

// Small tables of the shapes the reports run over, in a test's working folder.
std::unique_ptr<Table> makeTable(const WorkFolder& folder, const QString& name, const QString& file,
                                 FieldList fields, const QString& index);

// The slips table (Cartela, J1, J2, J3, Dezenas) with `count` slips of three games each, slip k
// holding games 3k-2, 3k-1, 3k, size 6; `games` > 0 stops the games there (the last slip short).
std::unique_ptr<Table> makeSlips(const WorkFolder& folder, int count, int games = 0);

// The listing table (Linha, Detalhe) with `count` lines.
std::unique_ptr<Table> makeListing(const WorkFolder& folder, int count);

// The statistics report table with `count` rows, row k holding k in every field.
std::unique_ptr<Table> makeStatsReport(const WorkFolder& folder, int count);

// The colour of the pixel at a point in mm from the page's top-left corner.
QColor pixelAt(const QImage& page, double xMm, double yMm);
// The colour at the centre of a box given in mm on the page.
QColor centreOf(const QImage& page, QRectF boxMm);
bool isDark(const QColor& c);
// True when some pixel of the box is dark (text drawn in it).
bool hasInk(const QImage& page, QRectF boxMm);
