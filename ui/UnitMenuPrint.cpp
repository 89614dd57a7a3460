#include "CalibrationDialog.h"
#include "GamesListing.h"
#include "MenuLayout.h"
#include "MessageBoxes.h"
#include "PreviewService.h"
#include "PrintCalibration.h"
#include "ReportForms.h"
#include "SlipPrinting.h"
#include "SlipTestSheet.h"
#include "StatisticsOrder.h"
#include "UnitMenu.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>

namespace {
// A radio button of an exclusive group cannot be unchecked directly; a print choice is cleared
// after its run so that it can be chosen again.
void clearChoice(QRadioButton* rb) {
    QButtonGroup* g = rb->group();
    if (g)
        g->setExclusive(false);
    rb->setChecked(false);
    if (g)
        g->setExclusive(true);
}
} // namespace

// Printing: the print panel with its three choices (slips on slip paper, the games listing, slips
// on A4) and the teimosinha; the statistics report of the statistics panel.
void TFormMenu::buildPrint() {
    using namespace MenuLayout;
    PanelImp = panel(this, "PanelImp", {8, 376, 358, 196}, false);
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

void TFormMenu::ButtonImpClick() {
    PanelImp->show();
    PanelImp->raise();
}

void TFormMenu::RBCartClick(QRadioButton* sender) {
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
    clearChoice(sender);
}

void TFormMenu::RBRelClick() {
    PanelImp->hide();
    clearChoice(RBRel);
    guarded([this] {
        if (const std::optional<Message> none = BuildGamesListing(tables_)) {
            services_.messages->inform(*none);
            return;
        }
        services_.previews->preview(services_.reports->FormRel.layout(), tables_.TableRel);
    });
}

void TFormMenu::BitBtn2Click() {
    if (!leaveDraw()) // the title moves the results to their last draw
        return;
    guarded([this] {
        BuildStatisticsReport(tables_);
        // The grid goes back to ascending numbers with RBDezena selected.
        if (!RBDezena->isChecked()) {
            RBDezena->setChecked(true);
            RBDezenaClick();
        }
        services_.reports->FormRelSai.setTitle(StatisticsReportTitle(tables_.TableRes));
        services_.previews->preview(services_.reports->FormRelSai.layout(), tables_.TableRelSai);
        tables_.TableRelSai.close();
    });
}

// The calibration dialog: the offsets as stored, a test sheet of either paper with the offsets as
// they stand in the dialog, and the offsets stored when the player saves them.
void TFormMenu::ButtonCalibraClick() {
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
        this);
    if (dialog.exec() == QDialog::Accepted)
        guarded([&] { StorePrintCalibration(folder_, dialog.calibration()); });
}
