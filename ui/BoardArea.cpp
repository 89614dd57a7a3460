#include "BoardArea.h"

#include "MenuLayout.h"
#include "NumberBoard.h"
#include "NumberCell.h"
#include "NumberStatistics.h"
#include "Tables.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

namespace {
constexpr int kCell = 36, kGap = 2, kBar = 6;
int cellOffset(int index, int barAfter) {
    return index * (kCell + kGap) + (index >= barAfter ? kBar : 0);
}
} // namespace

// The board of the 60 numbers: six rows of ten cells split into four blocks by two maroon bars,
// the legend above it and the two counts below it. It shows NumberBoard (the cell colours) and the
// last statistics (the texts and the colour of each number).
BoardArea::BoardArea(const AreaContext& context) : ctx_(context), board_(&context.board) {
    using namespace MenuLayout;
    const int boardWidth = cellOffset(9, 5) + kCell + 4, boardHeight = cellOffset(5, 3) + kCell + 4;
    PanelDez = panel(ctx_.window, "PanelDez", {500, 40, boardWidth, boardHeight});
    PanelDez->setFrameShape(QFrame::Box);
    PanelDez->setToolTip(
        QStringLiteral("Clique com o botão esquerdo=Despreza a dezena(Azul). Botão direito=fixa(Branco))"));
    for (int n = 1; n <= 60; ++n) {
        auto* cell = new NumberCell(n, PanelDez);
        cell->move(2 + cellOffset((n - 1) % 10, 5), 2 + cellOffset((n - 1) / 10, 3));
        cell->setToolTip(PanelDez->toolTip());
        connect(cell, &NumberCell::pressed, this, &BoardArea::ToggleCellPressed);
        cells_[static_cast<std::size_t>(n - 1)] = cell;
    }
    auto bar = [&](const char* name, QRect at) {
        auto* s = new QFrame(PanelDez);
        s->setObjectName(QLatin1String(name));
        s->setGeometry(at);
        s->setAutoFillBackground(true);
        QPalette p = s->palette();
        p.setColor(QPalette::Window, QColor(128, 0, 0));
        s->setPalette(p);
    };
    bar("Shape1", {2, 2 + cellOffset(2, 3) + kCell + kGap / 2, boardWidth - 4, kBar - kGap});
    bar("Shape2", {2 + cellOffset(4, 5) + kCell + kGap / 2, 2, kBar - kGap, boardHeight - 4});

    // The legend: the three values stand in the gaps of its caption.
    const QString caption =
        QStringLiteral("(Peso:             Saídas:            Há quantos concursos não sai:       )");
    Label40 = label(ctx_.window, "Label40", caption, {500, 22, boardWidth, 16});
    const QFontMetrics fm(Label40->font());
    auto valueAt = [&](const char* name, const QString& before, QColor color) {
        QLabel* l = label(ctx_.window, name, QString(), {500 + fm.horizontalAdvance(before) + 3, 22, 44, 16});
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, color);
        l->setPalette(p);
        return l;
    };
    wl = valueAt("wl", QStringLiteral("(Peso:"), Qt::black);
    ql = valueAt("ql", QStringLiteral("(Peso:             Saídas:"), QColor(0, 128, 0));
    ul = valueAt("ul", QStringLiteral("(Peso:             Saídas:            Há quantos concursos não sai:"),
                 QColor(0, 0, 128));

    LabelDesp = label(ctx_.window, "LabelDesp", QString(), {500, 40 + boardHeight + 4, 280, 16});
    LabelPares = label(ctx_.window, "LabelPares", QString(), {500, 40 + boardHeight + 20, 280, 16});
    ButtonInverte = button(ctx_.window, "ButtonInverte", QStringLiteral("Inverter a seleção"),
                           {500 + boardWidth - 110, 40 + boardHeight + 4, 110, 28});
    connect(ButtonInverte, &QPushButton::clicked, this, [this] { ButtonInverteClick(); });

    connect(board_, &NumberBoard::changed, this, [this] { showBoard(); });
    showBoard();
}

void BoardArea::showBoard() {
    for (int n = 1; n <= 60; ++n)
        cells_[static_cast<std::size_t>(n - 1)]->setBackground(StateColor(board_->state(n)));
    UpdateBoardCounts();
}

void BoardArea::ToggleCellPressed(int n, Qt::MouseButton button) {
    board_->ToggleCell(n, button == Qt::RightButton    ? PressButton::Right
                          : button == Qt::MiddleButton ? PressButton::Middle
                                                       : PressButton::Left);
    // The legend follows the number just pressed.
    if (statistics_) {
        wl->setText(statistics_->weightText(n));
        ql->setText(statistics_->timesDrawnText(n));
        ul->setText(statistics_->absenceText(n));
    }
}

void BoardArea::ButtonInverteClick() {
    board_->InvertSelection();
}

void BoardArea::UpdateBoardCounts() {
    LabelDesp->setText(board_->DiscardedLabelText());
    LabelPares->setText(board_->EvenLabelText());
}

void BoardArea::showStatistics(const NumberStatistics& s) {
    statistics_ = s;
    for (int n = 1; n <= 60; ++n) {
        NumberCell* cell = cells_[static_cast<std::size_t>(n - 1)];
        cell->setTexts(s.weightText(n), s.timesDrawnText(n), s.absenceText(n));
        cell->setNumberColor(s.colorOf(n));
    }
    wl->setText(s.weightText(1));
    ql->setText(s.timesDrawnText(1));
    ul->setText(s.absenceText(1));
}
