#include "GenerationArea.h"

#include "BoardSelection.h"
#include "CombinationGeneration.h"
#include "Distribution.h"
#include "DistributionEditor.h"
#include "Filters.h"
#include "MenuLayout.h"
#include "MessageBoxes.h"
#include "NamedColors.h"
#include "NumberBoard.h"
#include "RandomGeneration.h"
#include "RunProgress.h"
#include "Tables.h"
#include "WheelPanel.h"

#include <QButtonGroup>
#include <QDateTime>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <memory>
#include <random>

namespace {

QLabel* coloured(QLabel* l, quint32 rgb) {
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, QColor::fromRgb(rgb));
    l->setPalette(p);
    return l;
}

BoardSelection selectionOf(const NumberBoard& board) {
    BoardSelection s;
    for (const int n : board.validNumbers())
        s.valid.push_back(n);
    for (const int n : board.fixedNumbers())
        s.fixed.push_back(n);
    return s;
}

FilterTexts filterTextsOf(const QLineEdit* pares, const QLineEdit* linhas, const QLineEdit* inicial,
                          const QLineEdit* final) {
    FilterTexts t;
    t.pares = pares->text();
    t.linhas = linhas->text();
    t.inicial = inicial->text();
    t.final = final->text();
    return t;
}

// The shuffle keys of one random run, from one seed.
RandomKeys seededKeys(quint64 seed) {
    auto engine = std::make_shared<std::mt19937_64>(seed);
    return [engine] { return std::uniform_int_distribution<int>(0, 999)(*engine); };
}

} // namespace

// The generation entry and the three generators' panels: the choice of a generator, the
// distribution's size field, the random and combination panels and the filter strip they share.
GenerationArea::GenerationArea(const AreaContext& context)
    : ctx_(context), tables_(context.tables), services_(context.services), board_(&context.board) {
    using namespace MenuLayout;
    const QString warning = QStringLiteral("Gerar mais de 1 milhão de combinações pode travar o sistema");

    PanelGeraQual = panel(ctx_.window, "PanelGeraQual", {8, 330, 250, 144}, false);
    label(PanelGeraQual, "TextLabel2", QStringLiteral("Opções de geração dos jogos"), {8, 6, 234, 16}, Bold);
    RBDistribui =
        radio(PanelGeraQual, "RBDistribui", QStringLiteral("Distribui as dezenas"), {12, 28, 230, 20});
    RBAlea = radio(PanelGeraQual, "RBAlea", QStringLiteral("Gera jogos aleatórios"), {12, 50, 230, 20});
    RBCombina = radio(PanelGeraQual, "RBCombina", QStringLiteral("Gera as combinções"), {12, 72, 230, 20});
    RBFecha = radio(PanelGeraQual, "RBFecha", QStringLiteral("Gera um fechamento"), {12, 94, 230, 20});
    RBCancela = radio(PanelGeraQual, "RBCancela", QStringLiteral("Cancela a geração"), {12, 116, 230, 20});
    generationChoice_ = new QButtonGroup(PanelGeraQual);
    for (QRadioButton* rb : {RBDistribui, RBAlea, RBCombina, RBFecha, RBCancela})
        generationChoice_->addButton(rb);
    connect(RBDistribui, &QRadioButton::clicked, this, [this] { RBDistribuiClick(); });
    connect(RBAlea, &QRadioButton::clicked, this, [this] { RBAleaClick(); });
    connect(RBCombina, &QRadioButton::clicked, this, [this] { RBCombinaClick(); });
    connect(RBCancela, &QRadioButton::clicked, this, [this] { RBCancelaClick(); });
    connect(RBFecha, &QRadioButton::clicked, this, [this] { RBFechaClick(); });

    PanelGera = panel(ctx_.window, "PanelGera", {8, 330, 486, 296}, false);
    const QRect generator{2, 2, 482, 206};

    // --- distribution
    PanelDistribui = panel(PanelGera, "PanelDistribui", generator);
    label(PanelDistribui, "Label46", QStringLiteral("Geração de jogos por distribuição  das dezenas"),
          {8, 6, 466, 16}, Bold);
    label(PanelDistribui, "TextLabel1",
          QStringLiteral("O programa distribuirá as dezenas não desprezadas pelas apostas possíveis. Após o "
                         "lançamento das apostas, você poderá arrastar as dezenas entre elas clicando e "
                         "arrastando cada dezena de  uma aposta a outra, à sua escolha."),
          {8, 28, 466, 70}, Wrap);
    label(PanelDistribui, "Label12", QStringLiteral("Número de dezenas por jogo =>"), {8, 112, 170, 20});
    EditMax = edit(PanelDistribui, "EditMax", {182, 110, 44, 22});
    ButtonOKGera = button(PanelDistribui, "ButtonOKGera", QStringLiteral("Gera"), {8, 154, 110, 30});
    ButtonCanDistribui =
        button(PanelDistribui, "ButtonCanDistribui", QStringLiteral("Cancela"), {126, 154, 110, 30});
    connect(ButtonOKGera, &QPushButton::clicked, this, [this] { ButtonOKGeraClick(); });
    connect(ButtonCanDistribui, &QPushButton::clicked, this, [this] { ButtonCanGeraClick(); });

    // --- random
    PanelAlea = panel(PanelGera, "PanelAlea", generator);
    label(PanelAlea, "Label48", QStringLiteral("Geração de jogos aleatória"), {8, 6, 466, 16}, Bold);
    label(PanelAlea, "Label55",
          QStringLiteral("O programa vai gerar aleatoriamente a quantidade de jogos que você deseja, usando "
                         "as dezenas não desprezadas."),
          {8, 26, 466, 30}, Wrap);
    label(PanelAlea, "Label50", QStringLiteral("Dezenas para jogar:"), {8, 64, 118, 18});
    LabelSel = coloured(label(PanelAlea, "LabelSel", QString(), {128, 64, 60, 18}, Bold), clBlue);
    label(PanelAlea, "Label53", QStringLiteral("Máximo de jogos:"), {210, 64, 104, 18});
    LabelMax = coloured(label(PanelAlea, "LabelMax", QString(), {316, 64, 160, 18}, Bold), clBlue);
    label(PanelAlea, "Label47", QStringLiteral("Dezenas por jogo =>"), {8, 92, 118, 20});
    EditDezJogo = edit(PanelAlea, "EditDezJogo", {128, 90, 44, 22});
    label(PanelAlea, "Label49", QStringLiteral("Jogos desejados: (*) "), {210, 92, 126, 20});
    EditQuant = edit(PanelAlea, "EditQuant", {338, 90, 90, 22});
    coloured(label(PanelAlea, "Label51", warning, {8, 122, 466, 16}), clRed);
    ButtonOKAlea = button(PanelAlea, "ButtonOKAlea", QStringLiteral("Gera"), {8, 154, 110, 30});
    ButtonCanAlea = button(PanelAlea, "ButtonCanAlea", QStringLiteral("Cancela"), {126, 154, 110, 30});
    ctx_.watchExit(EditDezJogo, [this] { EditDezJogoExit(); });
    connect(ButtonOKAlea, &QPushButton::clicked, this, [this] { ButtonOKAleaClick(); });
    connect(ButtonCanAlea, &QPushButton::clicked, this, [this] { ButtonCanGeraClick(); });

    // --- combination
    PanelCombina = panel(PanelGera, "PanelCombina", generator);
    label(PanelCombina, "Label56", QStringLiteral("Geração de jogos por combinações das dezenas"),
          {8, 6, 466, 16}, Bold);
    label(PanelCombina, "Label57",
          QStringLiteral("O programa vai gerar todas as combinações possíveis de 6 dezenas, das dezenas não "
                         "desprezadas excluindo as  combinações que não atendam aos filtros abaixo."),
          {8, 26, 466, 30}, Wrap);
    label(PanelCombina, "Label59", QStringLiteral("Combinações possíveis:"), {8, 64, 140, 18});
    LabelSelC = coloured(label(PanelCombina, "LabelSelC", QString(), {150, 64, 250, 18}, Bold), clBlue);
    label(PanelCombina, "Label60", QStringLiteral("Combinações a gerar: (*)"), {8, 92, 140, 18});
    LabelAGerar = coloured(label(PanelCombina, "LabelAGerar", QString(), {150, 92, 100, 18}, Bold), clBlue);
    LabelAGerar->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    coloured(label(PanelCombina, "Label58", warning, {8, 122, 466, 16}), clRed);
    ButtonOKComb = button(PanelCombina, "ButtonOKComb", QStringLiteral("Gera"), {8, 154, 110, 30});
    ButtonCalcComb = button(PanelCombina, "ButtonCalcComb", QStringLiteral("Calcula combinações a gerar"),
                            {126, 154, 190, 30});
    BitBtn4 = button(PanelCombina, "BitBtn4", QStringLiteral("Cancela"), {324, 154, 110, 30});
    connect(ButtonOKComb, &QPushButton::clicked, this, [this] { ButtonOKCombClick(); });
    connect(ButtonCalcComb, &QPushButton::clicked, this, [this] { ButtonCalcCombClick(); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { ButtonCanGeraClick(); });

    // --- filter strip, shared by the random and the combination generators
    PanelFiltro = panel(PanelGera, "PanelFiltro", {2, 210, 482, 84});
    label(PanelFiltro, "Label63", QStringLiteral("Filtros para "), {8, 12, 90, 16}, Bold);
    label(PanelFiltro, "Label64", QStringLiteral("geração de"), {8, 30, 90, 16}, Bold);
    label(PanelFiltro, "Label65", QStringLiteral("cartelas"), {8, 48, 90, 16}, Bold);
    label(PanelFiltro, "Label61", QStringLiteral("Faixa de pares "), {104, 16, 112, 20});
    EditPares = edit(PanelFiltro, "EditPares", {218, 14, 56, 22}, QStringLiteral("1-6"));
    label(PanelFiltro, "Label62", QStringLiteral("Linhas preenchidas"), {104, 48, 112, 20});
    EditLinhas = edit(PanelFiltro, "EditLinhas", {218, 46, 56, 22}, QStringLiteral("1-6"));
    label(PanelFiltro, "Label66", QStringLiteral("Dezena inicial  <="), {296, 16, 112, 20});
    EditInicial = edit(PanelFiltro, "EditInicial", {410, 14, 56, 22}, QStringLiteral("60"));
    label(PanelFiltro, "Label67", QStringLiteral("Dezena final >="), {296, 48, 112, 20});
    EditFinal = edit(PanelFiltro, "EditFinal", {410, 46, 56, 22}, QStringLiteral("1"));

    // --- wheel: its own area, over the whole generation panel (no filter strip: filters would
    // break the guarantee)
    WheelPanel::Hooks hooks;
    hooks.selection = [this] { return selectionOf(*board_); };
    hooks.guarded = ctx_.guarded;
    hooks.messages = services_.messages;
    wheelPanel_ = new WheelPanel(PanelGera, {2, 2, 482, 292}, tables_, std::move(hooks));
    connect(wheelPanel_, &WheelPanel::closeRequested, this, [this] { PanelGera->hide(); });
    connect(wheelPanel_, &WheelPanel::gamesAppended, this, [this] {
        PanelGera->hide();
        emit gamesAppended();
    });
    connect(board_, &NumberBoard::changed, wheelPanel_, [this] {
        if (wheelPanel_->isVisible())
            wheelPanel_->refresh();
    });

    for (QLineEdit* e : {EditMax, EditDezJogo, EditQuant, EditPares, EditLinhas, EditInicial, EditFinal,
                         wheelPanel_->gameSizeField()})
        ctx_.enterMovesOn(e);
    buildEditor();
}

GenerationArea::~GenerationArea() = default;

void GenerationArea::ButtonGeraClick() {
    MenuLayout::clearChoice(generationChoice_);
    PanelGeraQual->show();
    PanelGeraQual->raise();
    // Every generator appends in game order: the games list shows them in that order too.
    guarded([this] { PrepareGamesTable(tables_); });
    emit gamesInGameOrder();
    const int inPlay = static_cast<int>(board_->numbersInPlay().size());
    LabelSel->setText(QString::number(inPlay));
    LabelMax->clear();
    EditDezJogo->clear();
    EditQuant->clear();
    const CountWithNotice selc = LabelSelCText(inPlay, static_cast<int>(board_->fixedNumbers().size()));
    if (selc.message)
        services_.messages->inform(*selc.message);
    LabelSelC->setText(selc.text);
}

void GenerationArea::RBDistribuiClick() {
    wheelPanel_->hide();
    PanelGeraQual->hide();
    PanelGera->show();
    PanelGera->raise();
    PanelDistribui->show();
    PanelAlea->hide();
    PanelCombina->hide();
    PanelFiltro->hide();
}

void GenerationArea::RBAleaClick() {
    wheelPanel_->hide();
    PanelGeraQual->hide();
    PanelGera->show();
    PanelGera->raise();
    PanelAlea->show();
    PanelFiltro->show();
    PanelDistribui->hide();
    PanelCombina->hide();
}

void GenerationArea::RBCombinaClick() {
    wheelPanel_->hide();
    LabelAGerar->clear();
    PanelGeraQual->hide();
    PanelGera->show();
    PanelGera->raise();
    PanelDistribui->hide();
    PanelAlea->hide();
    PanelCombina->show();
    PanelFiltro->show();
}

void GenerationArea::RBFechaClick() {
    PanelGeraQual->hide();
    PanelGera->show();
    PanelGera->raise();
    PanelDistribui->hide();
    PanelAlea->hide();
    PanelCombina->hide();
    PanelFiltro->hide();
    wheelPanel_->open();
}

void GenerationArea::RBCancelaClick() {
    PanelGeraQual->hide();
    PanelGera->hide();
}

void GenerationArea::ButtonOKGeraClick() {
    PanelGera->hide();
    const PerGameInput in = ReadPerGame(EditMax->text());
    if (in.refusal) {
        services_.messages->inform(*in.refusal);
        return;
    }
    NumberFlags discarded{};
    for (const int n : board_->discardedNumbers())
        discarded[static_cast<std::size_t>(n - 1)] = true;
    guarded([&] {
        const Deal deal = DealNumbers(tables_, discarded, in.perGame);
        editor_->showInPlay(deal.inPlay);
        BuildDistributedGames(tables_);
        editor_->placeRows(LayoutDistributedGames(tables_));
    });
    showChips();
    PanelEdita->show();
    PanelEdita->raise();
}

void GenerationArea::ButtonCanGeraClick() {
    PanelGera->hide();
}

void GenerationArea::EditDezJogoExit() {
    const GameSizeCheck c = CheckGameSize(selectionOf(*board_), EditDezJogo->text());
    GameSizeOk = c.gameSizeOk;
    LabelSel->setText(QString::number(c.available));
    if (c.maxGames) {
        MaxGames = *c.maxGames;
        LabelMax->setText(c.labelMax);
    }
    if (c.message)
        services_.messages->inform(*c.message);
}

void GenerationArea::ButtonOKAleaClick() {
    RandomRequest request;
    request.board = selectionOf(*board_);
    request.dezJogo = EditDezJogo->text();
    request.quant = EditQuant->text();
    request.filters = filterTextsOf(EditPares, EditLinhas, EditInicial, EditFinal);
    const quint64 seed = services_.randomSeed ? services_.randomSeed()
                                              : static_cast<quint64>(QDateTime::currentMSecsSinceEpoch());
    const RandomKeys keys = seededKeys(seed);
    RandomRunResult result;
    {
        RunProgress progress(ctx_.window);
        const bool ran = guarded([&] {
            // The games list may have been cleared since the choice opened.
            if (!tables_.TableCar.isOpen())
                PrepareGamesTable(tables_);
            result = GenerateRandomGames(tables_, request, keys, *services_.messages, progress);
        });
        if (!ran) {
            // A failing table ends the run; whatever it appended is still shown.
            result.panelOpen = false;
            result.refreshSummary = tables_.TableCar.isOpen();
        }
    }
    GameSizeOk = result.size.gameSizeOk;
    LabelSel->setText(QString::number(result.size.available));
    if (result.size.maxGames) {
        MaxGames = *result.size.maxGames;
        LabelMax->setText(result.size.labelMax);
    }
    PanelGera->setVisible(result.panelOpen);
    if (result.message)
        services_.messages->inform(*result.message);
    if (result.refreshSummary)
        emit gamesAppended();
}

void GenerationArea::ButtonOKCombClick() {
    runCombinations(false);
}

void GenerationArea::ButtonCalcCombClick() {
    runCombinations(true);
}

void GenerationArea::runCombinations(bool countOnly) {
    CombinationRequest request;
    request.board = selectionOf(*board_);
    request.filters = filterTextsOf(EditPares, EditLinhas, EditInicial, EditFinal);
    request.counting = countOnly;
    CombinationRunResult result;
    {
        RunProgress progress(ctx_.window);
        const bool ran = guarded([&] {
            if (!tables_.TableCar.isOpen())
                PrepareGamesTable(tables_);
            if (request.counting) {
                result = RunCombinations(tables_.TableCar, request, progress);
                return;
            }
            // The run counts its games first, and shows the games written against that count.
            CombinationRequest counting = request;
            counting.counting = true;
            NoProgress silent;
            const CombinationRunResult counted = RunCombinations(tables_.TableCar, counting, silent);
            GamesWrittenProgress shown(progress, counted.message ? 0 : counted.count);
            result = RunCombinations(tables_.TableCar, request, shown);
        });
        if (!ran) {
            result.panelOpen = false;
            result.refreshSummary = tables_.TableCar.isOpen();
        }
    }
    if (result.message)
        services_.messages->inform(*result.message);
    if (request.counting && !result.message)
        LabelAGerar->setText(result.labelAGerar);
    PanelGera->setVisible(result.panelOpen);
    if (result.refreshSummary)
        emit gamesAppended();
}

void GenerationArea::gamesCleared() {
    editor_->showInPlay({});
    showChips();
    PanelGeraQual->hide();
}
