#pragma once

#include "ReportLayout.h"

// The one-page statistics report on A4 over the report table (`Dezena`, `Saidas`, `Demora`,
// `MaiorDemora` and the same four with the suffixes N, D and M): the 60 numbers in four orders side
// by side, each group's sorting column on a silver background.
class TFormRelSai {
public:
    TFormRelSai();

    ReportLayout& layout() { return layout_; }
    const ReportLayout& layout() const { return layout_; }

    // The caption of LabelTitulo, "Mega-Sena. Concurso: " and the last draw's number.
    void setTitle(const QString& caption) { layout_.element(u"LabelTitulo").text = caption; }

private:
    ReportLayout layout_;
};
