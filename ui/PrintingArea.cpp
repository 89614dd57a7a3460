#include "PrintingArea.h"

#include "CalibrationDialog.h"
#include "GamesListing.h"
#include "MenuLayout.h"
#include "MessageBoxes.h"
#include "PreviewService.h"
#include "PrintCalibration.h"
#include "ReportForms.h"
#include "SlipMarks.h"
#include "SlipPrinting.h"
#include "SlipTestSheet.h"
#include "Tables.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>

// Printing: the print panel with its three choices (slips on slip paper, the games listing, slips
// on A4) and the teimosinha.
PrintingArea::PrintingArea(const AreaContext& context)
    : ctx_(context), tables_(context.tables), services_(context.services), folder_(context.folder) {
    using namespace MenuLayout;
    PanelImp = panel(ctx_.window, "PanelImp", {8, 376, 358, 196}, false);
    label(PanelImp, "Label52", QStringLiteral("Impressão:"), {8, 6, 200, 16}, Bold);
    RBCart = radio(PanelImp, "RBCart", QStringLiteral("Imprime as cartelas direto nos volantes"),
                   {8, 26, 340, 20});
    RBRel = radio(PanelImp, "RBRel", QStringLiteral("Imprime relação das cartelas"), {8, 48, 340, 20});
    RBCartA4 =
        radio(PanelImp, "RBCartA4", QStringLiteral("Imprime as cartelas em papel A4"), {8, 70, 340, 20});
    auto* choice = new QButtonGroup(PanelImp);
    for (QRadioButton* rb : {RBCart, RBRel, RBCartA4})
        choice->addButton(rb);
    connect(RBCart, &QRadioButton::clicked, this, [this] { RBCartClick(RBCart); });
    connect(RBCartA4, &QRadioButton::clicked, this, [this] { RBCartClick(RBCartA4); });
    connect(RBRel, &QRadioButton::clicked, this, [this] { RBRelClick(); });
    ButtonCalibra = new QPushButton(QStringLiteral("Calibragem..."), PanelImp);
    ButtonCalibra->setObjectName(QStringLiteral("ButtonCalibra"));
    ButtonCalibra->setToolTip(
        QStringLiteral("Desloca a impressão para que as marcas caiam nos quadrinhos do volante"));
    ButtonCalibra->setGeometry(250, 2, 100, 22);
    connect(ButtonCalibra, &QPushButton::clicked, this, [this] { ButtonCalibraClick(); });

    GroupBox1 = new QGroupBox(QStringLiteral("Teimosinha"), PanelImp);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 96, 340, 90);
    RBST = radio(GroupBox1, "RBST", QStringLiteral("Sem teimosinha"), {10, 20, 150, 20});
    RB2C = radio(GroupBox1, "RB2C", QStringLiteral("2 concursos"), {10, 42, 150, 20});
    RB4C = radio(GroupBox1, "RB4C", QStringLiteral("4 concursos"), {170, 20, 150, 20});
    RB8C = radio(GroupBox1, "RB8C", QStringLiteral("8 concursos"), {170, 42, 150, 20});
    RBST->setChecked(true);
}

void PrintingArea::ButtonImpClick() {
    PanelImp->show();
    PanelImp->raise();
}

void PrintingArea::RBCartClick(SlipPaper paper) {
    RBCartClick(paper == SlipPaper::A4 ? RBCartA4 : RBCart);
}

void PrintingArea::RBCartClick(QRadioButton* sender) {
    PanelImp->hide();
    guarded([&] {
        BuildPrintNumbers(tables_);
        PackSlips(tables_.TableImp, tables_.TableCImp);
        // The teimosinha is the same on every slip of the run; each slip draws its own marks as the
        // report is laid out, again for every print from the preview.
        SlipMarks teimosinha;
        ApplyTeimosinha(teimosinha, RB2C->isChecked()   ? 2
                                    : RB4C->isChecked() ? 4
                                    : RB8C->isChecked() ? 8
                                                        : 0);
        SlipLayout& chosen = sender == RBCart ? static_cast<SlipLayout&>(services_.reports->FormEmi)
                                              : static_cast<SlipLayout&>(services_.reports->FormEmiA4);
        // The calibration moves every element of the layout; it is read from its file each time.
        const PrintCalibration calibration = LoadPrintCalibration(folder_);
        chosen.layout().page().offset = sender == RBCart ? calibration.slipPaper : calibration.a4;
        services_.previews->preview(chosen.layout(), tables_.TableCImp,
                                    chosen.marksOfEachSlip(tables_.TableImp, teimosinha));
    });
    MenuLayout::clearChoice(sender->group());
}

void PrintingArea::RBRelClick() {
    PanelImp->hide();
    MenuLayout::clearChoice(RBRel->group());
    guarded([this] {
        if (const std::optional<Message> none = BuildGamesListing(tables_)) {
            services_.messages->inform(*none);
            return;
        }
        services_.previews->preview(services_.reports->FormRel.layout(), tables_.TableRel);
    });
}

// The calibration dialog: the offsets as stored, a test sheet of either paper with the offsets as
// they stand in the dialog, and the offsets stored when the player saves them.
void PrintingArea::ButtonCalibraClick() {
    PrintCalibration stored;
    if (!guarded([&] { stored = LoadPrintCalibration(folder_); }))
        return;
    CalibrationDialog dialog(
        stored,
        [this](const PrintCalibration& c, CalibrationDialog::Paper paper) {
            guarded([&] {
                const bool a4 = paper == CalibrationDialog::Paper::A4;
                const SlipLayout& slip = a4 ? static_cast<const SlipLayout&>(services_.reports->FormEmiA4)
                                            : static_cast<const SlipLayout&>(services_.reports->FormEmi);
                const ReportLayout sheet =
                    SlipTestSheet(slip, a4 ? c.a4 : c.slipPaper,
                                  a4 ? QStringLiteral("dos volantes em A4") : QStringLiteral("do volante"));
                services_.previews->previewSheet(sheet);
            });
        },
        ctx_.window);
    if (dialog.exec() == QDialog::Accepted)
        guarded([&] { StorePrintCalibration(folder_, dialog.calibration()); });
}
