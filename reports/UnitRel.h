#pragma once

#include "ReportLayout.h"

// The games listing on A4 over the listing table (`Linha`, `Detalhe`): a framed title band on the
// first page, then one line of text per row.
class TFormRel {
public:
    TFormRel();

    ReportLayout& layout() { return layout_; }
    const ReportLayout& layout() const { return layout_; }

private:
    ReportLayout layout_;
};
