#include "MenuLayout.h"
#include "UnitMenu.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
// The help page ships with the program: next to the executable when installed, or in the source
// tree's docs folder for a build that was not installed.
QString helpPage() {
    const QString app = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {app + QStringLiteral("/../share/quinabel/ajuda.html"),
                                     app + QStringLiteral("/share/quinabel/ajuda.html"),
                                     QStringLiteral(QUINABEL_SOURCE_DIR "/docs/ajuda.html")})
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(candidate);
    return {};
}
} // namespace

// The tutorial panel greets a first start and opens from its button at any time.
void TFormMenu::buildTutorial() {
    using namespace MenuLayout;
    PanelTut = panel(this, "PanelTut", {8, 150, 486, 476}, false);
    QWidget* p = PanelTut;
    QLabel* title = label(p, "TextLabel11", QStringLiteral("Quinabel"), {10, 8, 466, 22}, Bold | Centered);
    QFont big = title->font();
    big.setPixelSize(18);
    title->setFont(big);
    struct Text {
        const char* name;
        QString text;
        int height;
    };
    const Text texts[] = {
        {"TextLabel3",
         QStringLiteral("Cada uma das 60 dezenas são apresentadas no quadro de dezenas  informando em cor verde quantas "
                        "vezes já saiu nos concursos anteriores. A informação em azul informa há quantos concursos a "
                        "dezena não sai."),
         42},
        {"TextLabel4",
         QStringLiteral(" E finalmente e mais importante, em preto, o peso da dezena. Quanto mais sai e mais recente é a "
                        "saída, maior o seu peso. De acordo com este, ela é classificada por cor de fraca  a excepcional. "
                        "Veja o quadro \"Desempenho das dezenas\"."),
         42},
        {"TextLabel5",
         QStringLiteral("Escolha neste quadro as dezenas que você quer deixar de lado nos seus jogos. Basta clicar na "
                        "dezena e ela ficará azulada indicando que foi desprezada.O total de dezenas desprezadas é "
                        "atualizado instantaneamente."),
         42},
        {"TextLabel6",
         QStringLiteral("Depois de marcar as desprezadas, clique no botão \"Gera os jogos\" para que o sistema distribua "
                        "as dezenas restantes nos seus jogos. Para isso o sistema pede qual o número de dezenas por "
                        "cartão de sua preferência."),
         42},
        {"TextLabel7",
         QStringLiteral("Os jogos gerados aparecerão no quadro de Jogos e dezenas. A partir daí você mover, clicando e "
                        "arrastando qulquer dezena de jogo a jogo. O sistema vai informando instantaneamente o valor de "
                        "cada jogo e o total dos jogos no quadro \"Total do jogos\"."),
         56},
        {"TextLabel8",
         QStringLiteral("Após inserir o resultado do último concurso, você clica em \"Verifica resultado\"  pra que o "
                        "sistema marque na janela \"Jogos e dezenas\",  os seus acertos."),
         30},
        {"TextLabel9",
         QStringLiteral("Você deve clicar também em \"Atualiza resultados\" para que dados do quadro de dezenas seja "
                        "atualizado, baseado nos resultdos adicionados. Para limpar o quadro dos \"Jogos e dezenas, "
                        "dezenas desprezadas e Total dos jogos\" clique em \"Limpa desprezadas\"."),
         56},
    };
    int y = 38;
    for (const Text& t : texts) {
        label(p, t.name, t.text, {12, y, 462, t.height}, Wrap);
        y += t.height + 6;
    }
    label(p, "Label42", QStringLiteral("Boa Sorte!!!"), {12, y + 2, 200, 18}, Bold);
    LabelTabela = label(p, "LabelTabela", QStringLiteral("Página do Quinabel"), {12, y + 26, 130, 18}, Bold);
    LabelTabela->setMouseTracking(true);
    LabelTabela->installEventFilter(this);
    label(p, "Label54", QStringLiteral("(Informações sobre o sistema)"), {146, y + 26, 220, 18});
    ButtonSai = button(p, "ButtonSai", QStringLiteral("Sair"), {396, 436, 80, 28});
    connect(ButtonSai, &QPushButton::clicked, this, [this] { ButtonSaiClick(); });
    LabelTabelaMouseLeave();
}

void TFormMenu::ButtonTutorialClick() {
    PanelTut->show();
    PanelTut->raise();
}

void TFormMenu::ButtonSaiClick() { PanelTut->hide(); }

void TFormMenu::LabelTabelaClick() {
    if (services_.openBrowser)
        services_.openBrowser(helpPage());
}

void TFormMenu::LabelTabelaMouseMove() {
    QPalette pal = LabelTabela->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
    LabelTabela->setPalette(pal);
    setCursor(Qt::PointingHandCursor);
}

void TFormMenu::LabelTabelaMouseLeave() {
    QPalette pal = LabelTabela->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 0));
    LabelTabela->setPalette(pal);
    unsetCursor();
}
