#include "DiscardedNumbers.h"
#include "FixedNumbers.h"
#include "MenuLayout.h"
#include "MessageBoxes.h"
#include "NumberBoard.h"
#include "NumberCell.h"
#include "NumberStatistics.h"
#include "UnitMenu.h"

#include <QFontMetrics>
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
void TFormMenu::buildBoard() {
    using namespace MenuLayout;
    board_ = std::make_unique<NumberBoard>();
    const int boardWidth = cellOffset(9, 5) + kCell + 4, boardHeight = cellOffset(5, 3) + kCell + 4;
    PanelDez = panel(this, "PanelDez", {500, 40, boardWidth, boardHeight});
    PanelDez->setFrameShape(QFrame::Box);
    PanelDez->setToolTip(
        QStringLiteral("Clique com o botão esquerdo=Despreza a dezena(Azul). Botão direito=fixa(Branco))"));
    for (int n = 1; n <= 60; ++n) {
        auto* cell = new NumberCell(n, PanelDez);
        cell->move(2 + cellOffset((n - 1) % 10, 5), 2 + cellOffset((n - 1) / 10, 3));
        cell->setToolTip(PanelDez->toolTip());
        connect(cell, &NumberCell::pressed, this, &TFormMenu::ToggleCellPressed);
        cells_[static_cast<std::size_t>(n - 1)] = cell;
    }
    auto bar = [this](const char* name, QRect at) {
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
    Label40 = label(this, "Label40", caption, {500, 22, boardWidth, 16});
    const QFontMetrics fm(Label40->font());
    auto valueAt = [&](const char* name, const QString& before, QColor color) {
        QLabel* l = label(this, name, QString(), {500 + fm.horizontalAdvance(before) + 3, 22, 44, 16});
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, color);
        l->setPalette(p);
        return l;
    };
    wl = valueAt("wl", QStringLiteral("(Peso:"), Qt::black);
    ql = valueAt("ql", QStringLiteral("(Peso:             Saídas:"), QColor(0, 128, 0));
    ul = valueAt("ul", QStringLiteral("(Peso:             Saídas:            Há quantos concursos não sai:"),
                 QColor(0, 0, 128));

    LabelDesp = label(this, "LabelDesp", QString(), {500, 40 + boardHeight + 4, 280, 16});
    LabelPares = label(this, "LabelPares", QString(), {500, 40 + boardHeight + 20, 280, 16});
    ButtonInverte = button(this, "ButtonInverte", QStringLiteral("Inverter a seleção"),
                           {500 + boardWidth - 110, 40 + boardHeight + 4, 110, 28});
    connect(ButtonInverte, &QPushButton::clicked, this, [this] { ButtonInverteClick(); });

    connect(board_.get(), &NumberBoard::changed, this, [this] {
        for (int n = 1; n <= 60; ++n)
            cells_[static_cast<std::size_t>(n - 1)]->setBackground(StateColor(board_->state(n)));
        UpdateBoardCounts();
    });
    emit board_->changed();
}

void TFormMenu::ToggleCellPressed(int n, Qt::MouseButton button) {
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

void TFormMenu::ButtonInverteClick() {
    board_->InvertSelection();
}

void TFormMenu::UpdateBoardCounts() {
    LabelDesp->setText(board_->DiscardedLabelText());
    LabelPares->setText(board_->EvenLabelText());
}

void TFormMenu::ButtonLimpaClick() {
    MessageBoxes& m = *services_.messages;
    if (m.ask({QStringLiteral("Dezenas desprezadas"),
               QStringLiteral("Limpa mesmo todas as dezenas desprezadas? ")}))
        board_->ClearSelection();
    if (m.ask({QStringLiteral("Apagar os jogos"), QStringLiteral("Limpa a lista de jogos? ")}))
        ClearGames();
}

void TFormMenu::LoadDiscardedAndShow() {
    guarded([this] {
        const bool firstStart = LoadDiscarded(tables_, *board_);
        savedDiscards_ = board_->discardedNumbers();
        ApplyFixed(*board_, LoadFixed(folder_));
        savedFixed_ = board_->fixedNumbers();
        if (firstStart)
            ButtonTutorialClick(); // a first start: the tutorial greets the player
    });
}

void TFormMenu::SaveDiscardedAndReport() {
    guarded([this] { SaveDiscarded(tables_, *board_); });
    if (board_->fixedNumbers() != savedFixed_)
        guarded([this] { SaveFixed(folder_, board_->fixedNumbers()); });
}
