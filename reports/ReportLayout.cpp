#include "ReportLayout.h"

#include <algorithm>
#include <stdexcept>

PageSetup PageSetup::a4Portrait() {
    PageSetup p;
    p.paperName = QStringLiteral("A4");
    p.paper = QSizeF(210.0, 297.0);
    p.margins = QMarginsF(10.0, 10.0, 10.0, 10.0);
    return p;
}

double PageSetup::effectiveColumnWidth() const {
    if (columnWidth > 0)
        return columnWidth;
    return (paper.width() - margins.left() - margins.right()) / std::max(columns, 1);
}

ReportElement ReportElement::label(const QString& name, QRectF rect, const QString& text, ReportFont font,
                                   Qt::Alignment alignment) {
    ReportElement e;
    e.name = name;
    e.kind = ElementKind::Text;
    e.rect = rect;
    e.text = text;
    e.font = std::move(font);
    e.alignment = alignment;
    return e;
}

ReportElement ReportElement::dbText(const QString& name, QRectF rect, const QString& field, ReportFont font,
                                    Qt::Alignment alignment) {
    ReportElement e = label(name, rect, QString(), std::move(font), alignment);
    e.kind = ElementKind::Field;
    e.field = field;
    return e;
}

ReportElement ReportElement::shape(const QString& name, QRectF rect, const QColor& fill) {
    ReportElement e;
    e.name = name;
    e.kind = ElementKind::Shape;
    e.rect = rect;
    e.background = fill;
    return e;
}

ReportElement ReportElement::line(const QString& name, QRectF rect, const QColor& color, double thickness) {
    ReportElement e;
    e.name = name;
    e.kind = ElementKind::Line;
    e.rect = rect;
    e.color = color;
    e.lineWidth = thickness;
    return e;
}

ReportElement ReportElement::path(const QString& name, QRectF rect, const QColor& color, double thickness) {
    ReportElement e = line(name, rect, color, thickness);
    e.kind = ElementKind::Path;
    return e;
}

ReportLayout::ReportLayout(QString name, PageSetup page) : name_(std::move(name)), page_(std::move(page)) {}

ReportBand& ReportLayout::setTitleBand(double height) {
    title_.emplace();
    title_->height = height;
    return *title_;
}

void ReportLayout::add(Band b, ReportElement element) {
    const QString key = element.name.toLower();
    if (key.isEmpty() || names_.contains(key))
        throw std::invalid_argument("report element name missing or repeated: " + element.name.toStdString());
    std::vector<ReportElement>& elements = band(b).elements;
    names_.insert(key, Place{b, elements.size()});
    elements.push_back(std::move(element));
}

std::optional<ReportLayout::Place> ReportLayout::placeOf(QStringView name) const {
    const auto it = names_.constFind(name.toString().toLower());
    if (it == names_.constEnd())
        return std::nullopt;
    return *it;
}

ReportElement* ReportLayout::find(QStringView name) {
    const std::optional<Place> p = placeOf(name);
    return p ? &band(p->band).elements[p->index] : nullptr;
}

const ReportElement* ReportLayout::find(QStringView name) const {
    const std::optional<Place> p = placeOf(name);
    return p ? &(p->band == Band::Title ? *title_ : detail_).elements[p->index] : nullptr;
}

namespace {
[[noreturn]] void noSuchElement(QStringView name) {
    throw std::out_of_range("no report element named " + name.toString().toStdString());
}
} // namespace

ReportElement& ReportLayout::element(QStringView name) {
    if (ReportElement* e = find(name))
        return *e;
    noSuchElement(name);
}

const ReportElement& ReportLayout::element(QStringView name) const {
    if (const ReportElement* e = find(name))
        return *e;
    noSuchElement(name);
}

ReportElement& ReportLayout::elementIn(ReportBand& band, QStringView name) const {
    const std::optional<Place> place = placeOf(name);
    if (!place || place->index >= band.elements.size())
        noSuchElement(name);
    return band.elements[place->index];
}
