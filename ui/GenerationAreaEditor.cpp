#include "Distribution.h"
#include "DistributionEditor.h"
#include "GenerationArea.h"
#include "MenuLayout.h"
#include "NamedColors.h"
#include "NumberChip.h"
#include "NumberStatistics.h"
#include "ShortRowsNote.h"
#include "Tables.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

// The editor of dealt games: ten white rows of fifteen slots, headed by the game numbers down the
// left and the slot numbers across the top, with the 60 number chips the player drags between the
// rows. Where the chips stand is the editor model's business; the chips only show it.
void GenerationArea::buildEditor() {
    using namespace MenuLayout;
    using E = DistributionEditor;
    editor_ = std::make_unique<DistributionEditor>();
    PanelEdita = panel(ctx_.window, "PanelEdita", {8, 26, 358, 330}, false);

    // The corner: games down ("J"), numbers across ("D").
    label(PanelEdita, "LabelJ", QStringLiteral("J"), {4, 12, 7, 12});
    label(PanelEdita, "LabelBarra", QStringLiteral("\\"), {9, 6, 6, 13});
    label(PanelEdita, "LabelD", QStringLiteral("D"), {14, 2, 7, 12});
    for (int i = 1; i <= 15; ++i)
        label(PanelEdita, "", QString::number(i), {E::kSlotPitch * i - 1, 6, E::kChipWidth, 16}, Centered);
    for (int k = 1; k <= E::kRows; ++k) {
        const int top = E::kRowPitch * k;
        label(PanelEdita, "", QString::number(k), {1, top, 18, E::kChipHeight}, Centered);
        auto* band = new QFrame(PanelEdita);
        band->setGeometry(E::kFirstLeft, top, E::kSlotPitch * 15, E::kChipHeight);
        band->setAutoFillBackground(true);
        QPalette p = band->palette();
        p.setColor(QPalette::Window, QColor::fromRgb(clWhite));
        band->setPalette(p);
    }

    // Created after the bands, so the chips stand in front of them.
    for (int n = 1; n <= 60; ++n) {
        auto* chip = new NumberChip(n, PanelEdita);
        chips_[static_cast<std::size_t>(n - 1)] = chip;
        connect(chip, &NumberChip::pressed, this,
                [this](int k, QPoint at) { editor_->press(k, at.x(), at.y()); });
        connect(chip, &NumberChip::moved, this, [this](int k, QPoint at) {
            at = keepChipInside(k, at);
            editor_->move(k, at.x(), at.y());
        });
        connect(chip, &NumberChip::released, this, [this](int k, QPoint at) {
            at = keepChipInside(k, at);
            guarded([&] { editor_->release(tables_.TableAval, k, at.x(), at.y()); });
        });
    }
    auto chipOf = [this](int n) { return chips_[static_cast<std::size_t>(n - 1)]; };
    connect(editor_.get(), &DistributionEditor::chipMoved, this, [this, chipOf](int n) {
        const DistributionEditor::Chip& c = editor_->chip(n);
        chipOf(n)->move(c.left, c.top);
    });
    connect(editor_.get(), &DistributionEditor::chipVisibilityChanged, this,
            [this, chipOf](int n) { chipOf(n)->setVisible(editor_->chip(n).visible); });
    connect(editor_.get(), &DistributionEditor::dragStarted, this,
            [chipOf](int n) { chipOf(n)->beginDrag(); });
    connect(editor_.get(), &DistributionEditor::dragEnded, this, [chipOf](int n) { chipOf(n)->endDrag(); });

    ButtonGeraJ = button(PanelEdita, "ButtonGeraJ", QStringLiteral("Gera os jogos"), {20, 286, 150, 30});
    ButtonCanGeraJ =
        button(PanelEdita, "ButtonCanGeraJ", QStringLiteral("Cancela a geração"), {186, 286, 150, 30});
    // Under the buttons: the rows "Gera os jogos" will pass over, while the player can still fill them.
    LabelSobra = label(PanelEdita, "LabelSobra", QString(), {8, 316, 342, 13});
    QPalette np = LabelSobra->palette();
    np.setColor(QPalette::WindowText, QColor::fromRgb(clMaroon));
    LabelSobra->setPalette(np);
    QFont nf = LabelSobra->font();
    nf.setPixelSize(9);
    LabelSobra->setFont(nf);
    const auto note = [this] { LabelSobra->setText(ShortRowsNote(*editor_)); };
    connect(editor_.get(), &DistributionEditor::chipMoved, this, note);
    connect(editor_.get(), &DistributionEditor::chipVisibilityChanged, this, note);
    connect(ButtonGeraJ, &QPushButton::clicked, this, [this] { ButtonGeraJClick(); });
    connect(ButtonCanGeraJ, &QPushButton::clicked, this, [this] { ButtonCanGeraJClick(); });
}

void GenerationArea::ButtonGeraJClick() {
    guarded([this] {
        // The games list may have been cleared while the editor was open.
        if (!tables_.TableCar.isOpen())
            PrepareGamesTable(tables_);
        CommitDistributedGames(tables_, *editor_);
        FillDerivedFields(tables_.TableCar);
    });
    PanelEdita->hide();
    emit gamesAppended();
}

void GenerationArea::ButtonCanGeraJClick() {
    PanelEdita->hide();
}

QPoint GenerationArea::keepChipInside(int number, QPoint at) const {
    using E = DistributionEditor;
    if (!editor_->Dragging())
        return at;
    const E::Chip& c = editor_->chip(number);
    const int left = std::clamp(c.left + at.x() - editor_->GrabX(), 0, PanelEdita->width() - E::kChipWidth);
    const int top = std::clamp(c.top + at.y() - editor_->GrabY(), 0, PanelEdita->height() - E::kChipHeight);
    return {left - c.left + editor_->GrabX(), top - c.top + editor_->GrabY()};
}

void GenerationArea::showChips() {
    for (int n = 1; n <= 60; ++n) {
        NumberChip* chip = chips_[static_cast<std::size_t>(n - 1)];
        const DistributionEditor::Chip& c = editor_->chip(n);
        chip->move(c.left, c.top);
        chip->setVisible(c.visible);
        chip->setTextColor(statistics_ ? statistics_->colorOf(n) : clBlack);
    }
}

void GenerationArea::showStatistics(const NumberStatistics& s) {
    statistics_ = s;
    showChips();
}
