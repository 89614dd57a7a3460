#include "CalibrationDialog.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

CalibrationDialog::CalibrationDialog(const PrintCalibration& start, SheetPreview previewSheet,
                                     QWidget* parent)
    : QDialog(parent), previewSheet_(std::move(previewSheet)) {
    setObjectName(QStringLiteral("CalibrationDialog"));
    setWindowTitle(QStringLiteral("Calibragem da impressão"));
    const PrintCalibration c = BoundCalibration(start);
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(QStringLiteral("Se as marcas não caem nos quadrinhos do volante, desloque a impressão.\n"
                                  "Valores positivos movem tudo para a direita e para baixo."),
                   this);
    layout->addWidget(intro);

    struct Names {
        const char* group;
        const char* x;
        const char* y;
        const char* sheet;
    };
    const auto group = [&](const QString& title, Names names, QDoubleSpinBox*& x, QDoubleSpinBox*& y,
                           QPointF value, Paper paper) {
        auto* box = new QGroupBox(title, this);
        box->setObjectName(QLatin1String(names.group));
        auto* form = new QFormLayout(box);
        x = offsetBox(names.x, value.x());
        y = offsetBox(names.y, value.y());
        form->addRow(QStringLiteral("Horizontal:"), x);
        form->addRow(QStringLiteral("Vertical:"), y);
        auto* sheet = new QPushButton(QStringLiteral("Folha de teste"), box);
        sheet->setObjectName(QLatin1String(names.sheet));
        form->addRow(sheet);
        connect(sheet, &QPushButton::clicked, this, [this, paper] {
            if (previewSheet_)
                previewSheet_(calibration(), paper);
        });
        layout->addWidget(box);
    };
    group(QStringLiteral("Volante (papel de 82 × 140 mm)"),
          {"GroupVolante", "SpinVolanteX", "SpinVolanteY", "ButtonTesteVolante"}, SpinVolanteX, SpinVolanteY,
          c.slipPaper, Paper::SlipPaper);
    group(QStringLiteral("Volantes em papel A4"), {"GroupA4", "SpinA4X", "SpinA4Y", "ButtonTesteA4"}, SpinA4X,
          SpinA4Y, c.a4, Paper::A4);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* save = new QPushButton(QStringLiteral("Salva"), this);
    save->setObjectName(QStringLiteral("ButtonSalvaCalibragem"));
    save->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancela"), this);
    cancel->setObjectName(QStringLiteral("ButtonCancelaCalibragem"));
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QDoubleSpinBox* CalibrationDialog::offsetBox(const char* name, double value) {
    auto* spin = new QDoubleSpinBox(this);
    spin->setObjectName(QLatin1String(name));
    spin->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    spin->setRange(-kCalibrationLimit, kCalibrationLimit);
    spin->setSingleStep(kCalibrationStep);
    spin->setDecimals(1);
    spin->setSuffix(QStringLiteral(" mm"));
    spin->setValue(value);
    return spin;
}

PrintCalibration CalibrationDialog::calibration() const {
    return BoundCalibration(
        {QPointF(SpinVolanteX->value(), SpinVolanteY->value()), QPointF(SpinA4X->value(), SpinA4Y->value())});
}
