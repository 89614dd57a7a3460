#include "EntryPanelDriver.h"
#include "TableError.h"
#include "TableGrid.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <new>
#include <stdexcept>

// The window as it opens and closes: the first-start tutorial, the title and place, the help
// link, the Enter key of the entry fields and the place of every control in the window.
class TestShell : public QObject {
    Q_OBJECT

private slots:
    void firstStartGreetsWithTheTutorial();
    void laterStartsShowTheTutorialOnRequest();
    void titleSizeAndPlace();
    void helpLinkHoverAndClick();
    void helpPageIsAPlayersGuide();
    void anyExceptionEndsOnlyItsOperation_data();
    void anyExceptionEndsOnlyItsOperation();
    void enterMovesTheFocusOn();
    void tabOrderOfTheEntryPanel();
    void textsFitTheirControls();
    void panelsOpenOverTheLeftArea();
};

void TestShell::firstStartGreetsWithTheTutorial() {
    MenuFixture f;
    f.start();
    auto* tut = f.find<QFrame>("PanelTut");
    QVERIFY(tut->isVisible());
    QCOMPARE(f.find<QLabel>("TextLabel11")->text(), QString("Quinabel"));
    QCOMPARE(
        f.find<QLabel>("TextLabel3")->text(),
        QString(
            "Cada uma das 60 dezenas são apresentadas no quadro de dezenas  informando em cor verde quantas "
            "vezes já saiu nos concursos anteriores. A informação em azul informa há quantos concursos a "
            "dezena não sai."));
    QCOMPARE(
        f.find<QLabel>("TextLabel4")->text(),
        QString(
            " E finalmente e mais importante, em preto, o peso da dezena. Quanto mais sai e mais recente é a "
            "saída, maior o seu peso. De acordo com este, ela é classificada por cor de fraca  a "
            "excepcional. "
            "Veja o quadro \"Desempenho das dezenas\"."));
    QCOMPARE(
        f.find<QLabel>("TextLabel5")->text(),
        QString(
            "Escolha neste quadro as dezenas que você quer deixar de lado nos seus jogos. Basta clicar na "
            "dezena e ela ficará azulada indicando que foi desprezada.O total de dezenas desprezadas é "
            "atualizado instantaneamente."));
    QCOMPARE(
        f.find<QLabel>("TextLabel6")->text(),
        QString(
            "Depois de marcar as desprezadas, clique no botão \"Gera os jogos\" para que o sistema distribua "
            "as dezenas restantes nos seus jogos. Para isso o sistema pede qual o número de dezenas por "
            "cartão de sua preferência."));
    QCOMPARE(
        f.find<QLabel>("TextLabel7")->text(),
        QString(
            "Os jogos gerados aparecerão no quadro de Jogos e dezenas. A partir daí você mover, clicando e "
            "arrastando qulquer dezena de jogo a jogo. O sistema vai informando instantaneamente o valor de "
            "cada jogo e o total dos jogos no quadro \"Total do jogos\"."));
    QCOMPARE(
        f.find<QLabel>("TextLabel8")->text(),
        QString(
            "Após inserir o resultado do último concurso, você clica em \"Verifica resultado\"  pra que o "
            "sistema marque na janela \"Jogos e dezenas\",  os seus acertos."));
    QCOMPARE(
        f.find<QLabel>("TextLabel9")->text(),
        QString("Você deve clicar também em \"Atualiza resultados\" para que dados do quadro de dezenas seja "
                "atualizado, baseado nos resultdos adicionados. Para limpar o quadro dos \"Jogos e dezenas, "
                "dezenas desprezadas e Total dos jogos\" clique em \"Limpa desprezadas\"."));
    QCOMPARE(f.find<QLabel>("Label42")->text(), QString("Boa Sorte!!!"));
    QCOMPARE(f.find<QLabel>("Label54")->text(), QString("(Informações sobre o sistema)"));
    QCOMPARE(f.find<QPushButton>("ButtonSai")->text(), QString("Sair"));

    QCOMPARE(f.find<TableGrid>("GridRes")->model()->rowCount(), 0);
    QCOMPARE(f.find<TableGrid>("DBGrid2")->model()->rowCount(), 0);
    QCOMPARE(f.find<QPlainTextEdit>("MemoJogos")->toPlainText(), QString());
    QVERIFY2(f.messages.shown().isEmpty(), qPrintable(f.messages.texts().join('|')));
    for (const char* hidden : {"PanelIns", "PanelImp", "PanelEdita", "PanelGera", "PanelGeraQual"})
        if (auto* p = f.menu->findChild<QWidget*>(hidden))
            QVERIFY2(!p->isVisible(), hidden);
}

void TestShell::laterStartsShowTheTutorialOnRequest() {
    MenuFixture f;
    f.start();
    MenuFixture::press(f.find<QWidget>("p7"), Qt::LeftButton);
    f.restart();
    QVERIFY(QFileInfo::exists(f.folder.file("Desprezadas.cds")));
    auto* tut = f.find<QFrame>("PanelTut");
    QVERIFY(!tut->isVisible());
    QTest::mouseClick(f.find<QPushButton>("ButtonTutorial"), Qt::LeftButton);
    QVERIFY(tut->isVisible());
    QTest::mouseClick(f.find<QPushButton>("ButtonSai"), Qt::LeftButton);
    QVERIFY(!tut->isVisible());
    QTest::mouseClick(f.find<QPushButton>("ButtonTutorial"), Qt::LeftButton);
    QVERIFY(tut->isVisible());
    QVERIFY(f.messages.shown().isEmpty());
}

void TestShell::titleSizeAndPlace() {
    MenuFixture f;
    TFormMenu& m = f.start();
    QCOMPARE(m.windowTitle(), QString("Quinabel - Versão 2.1"));
    QCOMPARE(m.size(), QSize(1171, 631));
    QCOMPARE(m.pos(), QPoint(0, 0));
    QCOMPARE(f.find<QPushButton>("ButtonTutorial")->text(), QString("Tutorial && informações"));
    QCOMPARE(f.find<QPushButton>("ButtonIns")->toolTip(), QString("Inserir/Editar resultdado de concurso"));
    QCOMPARE(f.find<QPushButton>("ButtonIns")->text(), QString("Inserir Resultados"));
}

void TestShell::helpLinkHoverAndClick() {
    MenuFixture f;
    TFormMenu& m = f.start();
    EntryPanelDriver{f}.activate();
    auto* link = f.find<QLabel>("LabelTabela");
    auto textColor = [link] { return link->palette().color(QPalette::WindowText); };
    QCOMPARE(textColor(), QColor(0, 0, 0));

    QTest::mouseMove(link, link->rect().center());
    QTRY_COMPARE(textColor(), QColor(0, 0, 255));
    QCOMPARE(m.cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseMove(f.find<QWidget>("TextLabel3"), QPoint(5, 5));
    QTRY_COMPARE(textColor(), QColor(0, 0, 0));
    QCOMPARE(m.cursor().shape(), Qt::ArrowCursor);

    QVERIFY(f.openedPages.isEmpty());
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(f.openedPages.size(), 1);
    const QFileInfo page(f.openedPages.first());
    QCOMPARE(page.fileName(), QString("ajuda.html"));
    QVERIFY(page.exists());
    // The page the program ships, found where the program looks for it (never in the source tree).
    QVERIFY2(page.canonicalFilePath() !=
                 QFileInfo(QUINABEL_TEST_DATA "/../../docs/ajuda.html").canonicalFilePath(),
             qPrintable(page.canonicalFilePath()));
    QFile opened(page.filePath());
    QFile shipped(QUINABEL_TEST_DATA "/../../docs/ajuda.html");
    QVERIFY(opened.open(QIODevice::ReadOnly) && shipped.open(QIODevice::ReadOnly));
    QCOMPARE(opened.readAll(), shipped.readAll());
}

// The page the link opens tells the player how to use every part of the program, on its own.
void TestShell::anyExceptionEndsOnlyItsOperation_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("start");
    QTest::newRow("out of memory") << 0 << QString("A memória do computador acabou");
    QTest::newRow("std::out_of_range") << 1 << QString("Ocorreu um erro inesperado");
    QTest::newRow("not a std::exception") << 2 << QString("Ocorreu um erro inesperado");
    QTest::newRow("TableError") << 3 << QString("Os dados dos jogos não estão abertos");
}

// An exception of any kind inside a handler ends that operation with a Portuguese message box; the
// window stays open and the next click works.
void TestShell::anyExceptionEndsOnlyItsOperation() {
    QFETCH(int, kind);
    QFETCH(QString, start);
    MenuFixture f;
    bool fail = true;
    f.browser = [&](const QString&) {
        if (!fail)
            return;
        switch (kind) {
        case 0:
            throw std::bad_alloc();
        case 1:
            throw std::out_of_range("vector::_M_range_check: __n (which is 60) >= this->size()");
        case 2:
            throw 42;
        default:
            throw TableError::notOpen("TableCar");
        }
    };
    f.start();
    auto* link = f.find<QLabel>("LabelTabela");
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(f.messages.shown().size(), 1);
    const auto& shown = f.messages.shown().first();
    QCOMPARE(shown.icon, MessageBoxes::Icon::Critical);
    QVERIFY2(shown.text.startsWith(start), qPrintable(shown.text));
    QVERIFY(!shown.text.contains("range"));
    if (kind == 0)
        QVERIFY2(shown.text.contains("Foi mantido"), qPrintable(shown.text));
    QVERIFY(f.menu->isVisible());

    fail = false;
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(f.openedPages.size(), 2);
    QCOMPARE(f.messages.shown().size(), 1);
}

void TestShell::helpPageIsAPlayersGuide() {
    QFile file(QUINABEL_TEST_DATA "/../../docs/ajuda.html");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QVERIFY(html.contains("<html lang=\"pt-BR\">"));
    QVERIFY(html.contains("<meta charset=\"utf-8\">"));
    for (const char* topic :
         {"Inserir Resultados", "Atualiza as estatísticas", "Inverter a seleção", "Limpa dados",
          "Gera os jogos", "Distribui", "aleatório", "combina", "Total dos jogos", "Conferindo os resultados",
          "Imprime os jogos", "volantes", "A4", "Cartelas.csv"})
        QVERIFY2(html.contains(QString::fromUtf8(topic), Qt::CaseInsensitive), topic);
    // No external resource: the page opens the same without a network.
    QVERIFY(!html.contains(QRegularExpression("(src|href)\\s*=\\s*[\"']?(https?:|//)")));
    QVERIFY(!html.contains("<script", Qt::CaseInsensitive));
}

void TestShell::enterMovesTheFocusOn() {
    MenuFixture f;
    seedDraws(f.folder.path(), {{2500, 1, 2, 3, 4, 5, 6}});
    f.start();
    EntryPanelDriver d{f};
    d.activate();
    d.open();
    QSignalSpy concReturn(d.conc(), &QLineEdit::returnPressed);
    QSignalSpy lastReturn(d.field(6), &QLineEdit::returnPressed);

    d.conc()->setFocus();
    QTest::keyClick(d.conc(), Qt::Key_Return);
    QCOMPARE(d.focused(), d.field(1));
    QCOMPARE(d.conc()->text(), QString("2500"));

    d.field(6)->setFocus();
    QTest::keyClick(d.field(6), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(d.focused(), f.find<QWidget>("DBNAtu"));
    QCOMPARE(d.field(6)->text(), QString("6"));
    QCOMPARE(concReturn.count(), 0);
    QCOMPARE(lastReturn.count(), 0);
    QVERIFY(f.messages.shown().isEmpty());

    // Other keys reach the field unchanged.
    d.field(2)->setFocus();
    d.field(2)->selectAll();
    QTest::keyClicks(d.field(2), "12");
    QCOMPARE(d.field(2)->text(), QString("12"));
}

void TestShell::tabOrderOfTheEntryPanel() {
    MenuFixture f;
    seedDraws(f.folder.path(), {{2500, 1, 2, 3, 4, 5, 6}});
    f.start();
    EntryPanelDriver d{f};
    d.activate();
    d.open();
    d.conc()->setFocus();
    QStringList order{d.focused()->objectName()};
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(d.focused(), Qt::Key_Tab);
        order << d.focused()->objectName();
    }
    QCOMPARE(order, QStringList({"EditConc", "DBEdit1", "DBEdit2", "DBEdit3", "DBEdit4", "DBEdit5", "DBEdit6",
                                 "DBNAtu", "ButtonAtu", "ButtonImporta", "ButtonSalva", "ButtonExclui",
                                 "ButtonSaiIn"}));
    QVERIFY(f.messages.shown().isEmpty());
}

// No caption the window shows is cut off, whichever font the platform lends.
void TestShell::textsFitTheirControls() {
    MenuFixture f;
    seedDraws(f.folder.path(), {{2500, 1, 2, 3, 4, 5, 6}});
    TFormMenu& m = f.start();
    for (QLabel* l : m.findChildren<QLabel*>()) {
        if (!l->isVisible() || l->wordWrap() || l->text().isEmpty())
            continue;
        const int need = l->fontMetrics().horizontalAdvance(l->text());
        QVERIFY2(need <= l->contentsRect().width(), qPrintable(QString("%1 \"%2\" needs %3 px, has %4")
                                                                   .arg(l->objectName(), l->text())
                                                                   .arg(need)
                                                                   .arg(l->contentsRect().width())));
    }
    for (QLabel* l : m.findChildren<QLabel*>()) {
        if (!l->isVisible() || !l->wordWrap())
            continue;
        const QRect need = l->fontMetrics().boundingRect(l->contentsRect(), Qt::TextWordWrap, l->text());
        QVERIFY2(need.height() <= l->contentsRect().height(), qPrintable(l->objectName()));
    }
    for (QPushButton* b : m.findChildren<QPushButton*>()) {
        const int need = b->fontMetrics().horizontalAdvance(b->text().replace("&&", "&")) + 8;
        QVERIFY2(
            need <= b->width(),
            qPrintable(QString("%1 needs %2 px, has %3").arg(b->objectName()).arg(need).arg(b->width())));
    }
}

// Every panel that opens over the lower left keeps to the games area, left of the buttons, and
// inside the window.
void TestShell::panelsOpenOverTheLeftArea() {
    MenuFixture f;
    TFormMenu& m = f.start();
    const int buttonsLeft = f.find<QPushButton>("ButtonGera")->x();
    for (const char* name : {"PanelTut", "PanelIns"}) {
        const QRect r = f.find<QWidget>(name)->geometry();
        QVERIFY2(r.left() >= 0 && r.right() < buttonsLeft, name);
        QVERIFY2(r.bottom() < m.height(), name);
    }
    // The tutorial's controls stay inside it.
    auto* tut = f.find<QWidget>("PanelTut");
    for (QWidget* w : tut->findChildren<QWidget*>())
        QVERIFY2(tut->rect().contains(w->geometry()), qPrintable(w->objectName()));
    // The window's visible controls stay inside the window.
    for (QWidget* w : m.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (!w->isHidden())
            QVERIFY2(m.rect().contains(w->geometry()), qPrintable(w->objectName()));
}

QUINABEL_GUI_TEST_MAIN(TestShell)
#include "tst_shell.moc"
