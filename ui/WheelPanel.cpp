#include "WheelPanel.h"

#include "Distribution.h"
#include "MenuLayout.h"
#include "MessageBoxes.h"
#include "NamedColors.h"
#include "RunProgress.h"
#include "Tables.h"
#include "WheelGeneration.h"

#include <QComboBox>

WheelPanel::WheelPanel(QWidget* parent, QRect at, Tables& tables, Hooks hooks)
    : QFrame(parent), tables_(tables), hooks_(std::move(hooks)) {
    using namespace MenuLayout;
    setObjectName(QStringLiteral("PanelFecha"));
    setGeometry(at);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    hide();

    label(this, "Label70", QStringLiteral("Fechamento das dezenas escolhidas"), {8, 6, 466, 16}, Bold);
    label(this, "Label71",
          QStringLiteral(
              "O programa procura o menor número de jogos, feitos só com as dezenas não desprezadas, "
              "que garante o prêmio escolhido quando a condição se cumprir. A garantia é conferida "
              "contra todos os casos antes de os jogos serem gravados."),
          {8, 26, 466, 44}, Wrap);
    label(this, "Label72", QStringLiteral("Dezenas escolhidas:"), {8, 78, 118, 18});
    LabelSelF = label(this, "LabelSelF", QString(), {128, 78, 60, 18}, Bold);
    QPalette blue = LabelSelF->palette();
    blue.setColor(QPalette::WindowText, QColor::fromRgb(clBlue));
    LabelSelF->setPalette(blue);
    label(this, "Label73", QStringLiteral("Dezenas por jogo =>"), {210, 78, 118, 20});
    EditDezFecha = edit(this, "EditDezFecha", {330, 76, 44, 22}, QStringLiteral("6"));
    label(this, "Label74", QStringLiteral("Prêmio garantido:"), {8, 110, 118, 20});
    ComboGarantia = new QComboBox(this);
    ComboGarantia->setObjectName(QStringLiteral("ComboGarantia"));
    ComboGarantia->setGeometry(128, 108, 80, 22);
    ComboGarantia->addItems(WheelPrizeNames());
    ComboCondicao = new QComboBox(this);
    ComboCondicao->setObjectName(QStringLiteral("ComboCondicao"));
    ComboCondicao->setGeometry(216, 108, 250, 22);
    LabelChanceF = label(this, "LabelChanceF", QString(), {8, 140, 466, 36}, Wrap);
    ButtonOKFecha = button(this, "ButtonOKFecha", QStringLiteral("Gera o fechamento"), {8, 186, 150, 30});
    ButtonCanFecha = button(this, "ButtonCanFecha", QStringLiteral("Cancela"), {166, 186, 110, 30});

    ComboGarantia->setCurrentIndex(1); // "Quadra", the prize players ask of a wheel most
    ComboGarantiaChange();
    connect(ComboGarantia, &QComboBox::currentIndexChanged, this, [this] { ComboGarantiaChange(); });
    connect(ComboCondicao, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(ButtonOKFecha, &QPushButton::clicked, this, [this] { ButtonOKFechaClick(); });
    connect(ButtonCanFecha, &QPushButton::clicked, this, [this] { emit closeRequested(); });
}

int WheelPanel::guaranteed() const {
    return 3 + std::max(0, ComboGarantia->currentIndex());
}

int WheelPanel::condition() const {
    return guaranteed() + std::max(0, ComboCondicao->currentIndex());
}

void WheelPanel::open() {
    refresh();
    show();
    raise();
}

void WheelPanel::refresh() {
    const int v = static_cast<int>(hooks_.selection().candidates().size());
    LabelSelF->setText(QString::number(v));
    LabelChanceF->setText(ConditionChanceText(v, condition()));
}

// Only the conditions that can carry the prize are offered: m drawn numbers from t to 6. The
// condition chosen stays when it is still offered.
void WheelPanel::ComboGarantiaChange() {
    const int m = ComboCondicao->count() > 0 ? condition() : 0;
    const QSignalBlocker quiet(ComboCondicao);
    ComboCondicao->clear();
    ComboCondicao->addItems(WheelConditionTexts(guaranteed()));
    ComboCondicao->setCurrentIndex(std::max(0, m - guaranteed()));
    refresh();
}

void WheelPanel::ButtonOKFechaClick() {
    WheelRequest request;
    request.board = hooks_.selection();
    request.dezFecha = EditDezFecha->text();
    request.t = guaranteed();
    request.m = condition();
    request.search.timeLimitMs = searchMs_;
    request.search.seed = hooks_.seed ? hooks_.seed() : 1;
    WheelOffer offer;
    {
        RunProgress::Texts texts;
        texts.name = QStringLiteral("ProgressFecha");
        texts.title = QStringLiteral("Fechamento");
        texts.label =
            QStringLiteral("Procurando o fechamento com menos jogos...\nMenor fechamento garantido até "
                           "agora: %1 jogos");
        RunProgress progress(window(), texts);
        const bool ran = hooks_.guarded([&] {
            // The games list may have been cleared since the choice opened.
            if (!tables_.TableCar.isOpen())
                PrepareGamesTable(tables_);
            offer = OfferWheel(tables_.TableCar, request, progress);
        });
        if (!ran)
            return;
    }
    if (offer.message) {
        hooks_.messages->inform(*offer.message);
        return;
    }
    if (!hooks_.messages->ask(offer.question))
        return;
    int appended = 0;
    hooks_.guarded([&] { appended = AppendWheel(tables_.TableCar, offer); });
    Q_UNUSED(appended);
    emit gamesAppended();
}
