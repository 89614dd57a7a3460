#include "TutorialArea.h"

#include "MenuLayout.h"
#include "Tables.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace {
// The help page ships with the program in "share/quinabel" beside the folder of the executable
// ("/usr/bin" and "/usr/share" when installed); the build puts a copy in its own "share" folder,
// one or two levels above its executables. Only those places are named, never the folder the
// program was built from.
QString helpPage() {
    QDir dir(QCoreApplication::applicationDirPath());
    for (int up = 0; up < 3; ++up) {
        const QString candidate = dir.filePath(QStringLiteral("share/quinabel/ajuda.html"));
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(candidate);
        if (!dir.cdUp())
            break;
    }
    return {};
}
} // namespace

// The tutorial panel greets a first start and opens from its button at any time.
TutorialArea::TutorialArea(const AreaContext& context) : ctx_(context), services_(context.services) {
    using namespace MenuLayout;
    // The panel keeps to the games area, left of the buttons column, and grows upwards from the
    // window's bottom edge as far as its texts need in the font the platform lends.
    constexpr int kLeft = 8, kWidth = 358, kBottom = 626, kMargin = 10, kText = kWidth - 2 * kMargin;
    PanelTut = panel(ctx_.window, "PanelTut", {kLeft, 0, kWidth, 100}, false);
    QWidget* p = PanelTut;
    QLabel* title =
        label(p, "TextLabel11", QStringLiteral("Quinabel"), {kMargin, 6, kText, 22}, Bold | Centered);
    QFont big = title->font();
    big.setPixelSize(18);
    title->setFont(big);
    const std::pair<const char*, QString> texts[] = {
        {"TextLabel3",
         QStringLiteral(
             "Cada uma das 60 dezenas são apresentadas no quadro de dezenas  informando em cor verde quantas "
             "vezes já saiu nos concursos anteriores. A informação em azul informa há quantos concursos a "
             "dezena não sai.")},
        {"TextLabel4", QStringLiteral(" E finalmente e mais importante, em preto, o peso da dezena. Quanto "
                                      "mais sai e mais recente é a "
                                      "saída, maior o seu peso. De acordo com este, ela é classificada por "
                                      "cor de fraca  a excepcional. "
                                      "Veja o quadro \"Desempenho das dezenas\".")},
        {"TextLabel5",
         QStringLiteral(
             "Escolha neste quadro as dezenas que você quer deixar de lado nos seus jogos. Basta clicar na "
             "dezena e ela ficará azulada indicando que foi desprezada.O total de dezenas desprezadas é "
             "atualizado instantaneamente.")},
        {"TextLabel6",
         QStringLiteral(
             "Depois de marcar as desprezadas, clique no botão \"Gera os jogos\" para que o sistema "
             "distribua "
             "as dezenas restantes nos seus jogos. Para isso o sistema pede qual o número de dezenas por "
             "cartão de sua preferência.")},
        {"TextLabel7",
         QStringLiteral(
             "Os jogos gerados aparecerão no quadro de Jogos e dezenas. A partir daí você mover, clicando e "
             "arrastando qulquer dezena de jogo a jogo. O sistema vai informando instantaneamente o valor de "
             "cada jogo e o total dos jogos no quadro \"Total do jogos\".")},
        {"TextLabel8",
         QStringLiteral(
             "Após inserir o resultado do último concurso, você clica em \"Verifica resultado\"  pra que o "
             "sistema marque na janela \"Jogos e dezenas\",  os seus acertos.")},
        {"TextLabel9",
         QStringLiteral(
             "Você deve clicar também em \"Atualiza resultados\" para que dados do quadro de dezenas seja "
             "atualizado, baseado nos resultdos adicionados. Para limpar o quadro dos \"Jogos e dezenas, "
             "dezenas desprezadas e Total dos jogos\" clique em \"Limpa desprezadas\".")},
    };
    int y = 32;
    for (const auto& [name, text] : texts) {
        QLabel* l = label(p, name, text, {kMargin, y, kText, 10}, Wrap);
        l->resize(kText, l->heightForWidth(kText));
        y += l->height() + 5;
    }
    QLabel* luck = label(p, "Label42", QStringLiteral("Boa Sorte!!!"), {kMargin, y + 2, kText, 18}, Bold);
    luck->resize(luck->sizeHint().width(), 18);
    y += 24;
    LabelTabela = label(p, "LabelTabela", QStringLiteral("Página do Quinabel"), {kMargin, y, 10, 18}, Bold);
    LabelTabela->resize(LabelTabela->sizeHint().width() + 2, 18);
    LabelTabela->setMouseTracking(true);
    LabelTabela->installEventFilter(this);
    QLabel* about = label(p, "Label54", QStringLiteral("(Informações sobre o sistema)"),
                          {LabelTabela->geometry().right() + 8, y, 10, 18});
    about->resize(about->sizeHint().width() + 2, 18);
    ButtonSai = button(p, "ButtonSai", QStringLiteral("Sair"), {kWidth - kMargin - 80, y + 22, 80, 26});
    connect(ButtonSai, &QPushButton::clicked, this, [this] { ButtonSaiClick(); });
    const int height = y + 22 + 26 + 8;
    PanelTut->setGeometry(kLeft, std::max(2, kBottom - height), kWidth, height);
    LabelTabelaMouseLeave();
}

void TutorialArea::ButtonTutorialClick() {
    PanelTut->show();
    PanelTut->raise();
}

void TutorialArea::ButtonSaiClick() {
    PanelTut->hide();
}

void TutorialArea::LabelTabelaClick() {
    if (services_.openBrowser)
        guarded([this] { services_.openBrowser(helpPage()); });
}

void TutorialArea::LabelTabelaMouseMove() {
    QPalette pal = LabelTabela->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
    LabelTabela->setPalette(pal);
    ctx_.window->setCursor(Qt::PointingHandCursor);
}

void TutorialArea::LabelTabelaMouseLeave() {
    QPalette pal = LabelTabela->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 0));
    LabelTabela->setPalette(pal);
    ctx_.window->unsetCursor();
}

bool TutorialArea::eventFilter(QObject* watched, QEvent* e) {
    if (watched == LabelTabela) {
        switch (e->type()) {
        case QEvent::Enter:
        case QEvent::MouseMove:
            LabelTabelaMouseMove();
            break;
        case QEvent::Leave:
            LabelTabelaMouseLeave();
            break;
        case QEvent::MouseButtonRelease:
            LabelTabelaClick();
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, e);
}
