#include "UnitMenu.h"

#include "AreaContext.h"
#include "BoardArea.h"
#include "DiscardedNumbers.h"
#include "DrawEntry.h"
#include "DurableWork.h"
#include "FileNames.h"
#include "FixedNumbers.h"
#include "FocusExit.h"
#include "GamesArea.h"
#include "GenerationArea.h"
#include "MenuLayout.h"
#include "MessageBoxes.h"
#include "NumberBoard.h"
#include "OperationFailure.h"
#include "PlayerWork.h"
#include "ProgramVersion.h"
#include "ResultsArea.h"
#include "Schemas.h"
#include "ShutdownSignals.h"
#include "StartupNotice.h"
#include "StatisticsArea.h"
#include "TutorialArea.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

TFormMenu::TFormMenu(const QString& folder, MenuServices services, QWidget* parent)
    : QWidget(parent), folder_(folder), services_(std::move(services)), tables_(folder) {
    setObjectName(QStringLiteral("FormMenu"));
    resize(kContentSize);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    setFont(f);
    board_ = std::make_unique<NumberBoard>();
    context_ = std::make_unique<AreaContext>(AreaContext{
        this,
        tables_,
        *board_,
        folder_,
        services_,
        [this](const std::function<void()>& op) { return guarded(op); },
        [this](const QString& text) { showError(text); },
        [this](QWidget* field) { SaiEnter(field); },
        [this](QWidget* field, std::function<void()> exit) { watchExit(field, std::move(exit)); },
        [this] { return closing_; },
        [this] { return leaveDraw(); },
    });
    // The controls are created area by area in the order of the Tab key.
    buildShell();
    results_ = std::make_unique<ResultsArea>(*context_);
    boardArea_ = std::make_unique<BoardArea>(*context_);
    statistics_ = std::make_unique<StatisticsArea>(*context_);
    games_ = std::make_unique<GamesArea>(*context_);
    generation_ = std::make_unique<GenerationArea>(*context_);
    printing_ = std::make_unique<PrintingArea>(*context_);
    tutorial_ = std::make_unique<TutorialArea>(*context_);
    putContentInScrollArea();

    // What one area needs of another.
    connect(results_.get(), &ResultsArea::recomputeRequested, this, [this] { RecomputeStatisticsAndShow(); });
    connect(results_.get(), &ResultsArea::statisticsImported, statistics_.get(), &StatisticsArea::show);
    connect(statistics_.get(), &StatisticsArea::statisticsShown, boardArea_.get(),
            &BoardArea::showStatistics);
    connect(statistics_.get(), &StatisticsArea::statisticsShown, generation_.get(),
            &GenerationArea::showStatistics);
    connect(games_.get(), &GamesArea::gamesCleared, generation_.get(), &GenerationArea::gamesCleared);
    connect(generation_.get(), &GenerationArea::gamesInGameOrder, games_.get(), &GamesArea::showGameOrder);
    connect(generation_.get(), &GenerationArea::gamesAppended, this,
            [this] { guarded([this] { RefreshGamesSummary(); }); });

    durable_ = new DurableWork([this] { commitPlayerWork(); }, this);
    for (Table* t : tables_.playerTables())
        durable_->watch(*t);
    connect(board_.get(), &NumberBoard::changed, durable_, &DurableWork::changed);
    FormCreate();
}

// Every control keeps its place on a content of the window's full size; on a screen too small for
// it the window is smaller and the content scrolls, so every control can still be reached.
void TFormMenu::putContentInScrollArea() {
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("FormMenuContent"));
    content->setFixedSize(kContentSize);
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const bool hidden = w->isHidden();
        const QRect at = w->geometry();
        w->setParent(content); // hides it
        w->setGeometry(at);
        w->setVisible(!hidden);
    }
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollMenu"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    // No larger than the content and its scroll bars: the layout stays as it is drawn.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    setMaximumSize(kContentSize + QSize(bar, bar));
}

void TFormMenu::fitToScreen() {
    const QScreen* s = screen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    // The title bar and borders, as the window manager drew them, or a fair guess before that.
    QSize frame = frameGeometry().size() - geometry().size();
    if (frame.width() <= 0 && frame.height() <= 0)
        frame = QSize(8, 32);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    int w = std::min(kContentSize.width(), area.width() - frame.width());
    int h = std::min(kContentSize.height() + (w < kContentSize.width() ? bar : 0),
                     area.height() - frame.height());
    if (h < kContentSize.height() && w < kContentSize.width() + bar)
        w = std::min(kContentSize.width() + bar, area.width() - frame.width());
    resize(w, h);
    move(area.topLeft());
}

TFormMenu::~TFormMenu() {
    if (!closing_)
        FormClose(); // destroyed without a close event (a test, the end of the session)
    // The controls and models are bound to the tables, which are members: they go first, while
    // the tables still exist (QWidget would delete them only after the members are gone).
    qDeleteAll(findChildren<QObject*>(QString(), Qt::FindDirectChildrenOnly));
}

// ---------------------------------------------------------------- start-up and shutdown

void TFormMenu::FormCreate() {
    // The program's texts are Brazilian, and so are its numbers (1.848,00), whatever the system's
    // locale: every number it formats goes through the default locale, set here for the whole
    // program, before anything is read or shown.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    move(0, 0);
    setWindowTitle(QStringLiteral("Quinabel - Versão ") + programVersion());
    StartupNotice notice;
    notice.say(QStringLiteral("Lendo os resultados dos concursos..."));
    guarded([this] { rebuildResultsFile(tables_); });
    LoadDiscardedAndShow();
    guarded([this] {
        Table& rel = tables_.TableRel;
        if (!rel.fileExists()) {
            rel.defineFields(Schemas::listing());
            rel.create();
        }
        rel.open();
    });
    notice.say(QStringLiteral("Calculando as estatísticas..."));
    RecomputeStatisticsAndShow();
    LoadBetPriceInForce();
    notice.say(QStringLiteral("Lendo os jogos..."));
    // The games table stays closed until the first generation makes its file; a games file that
    // exists but cannot be read is reported, never silently replaced.
    if (tables_.TableCar.fileExists())
        guarded([this] {
            tables_.TableCar.open();
            RefreshGamesSummary();
            updateCheckReportButton();
        });
}

void TFormMenu::closeEvent(QCloseEvent* e) {
    // A draw typed only in part is never stored: the player may go back to it instead of closing.
    if (!closing_ && !leaveDraw()) {
        e->ignore();
        return;
    }
    if (!closing_)
        FormClose();
    e->accept();
}

void TFormMenu::FormClose() {
    closing_ = true;
    if (durable_)
        durable_->stop();
    StorePendingDraw();
    guarded([this] { RemoveEmptyDraws(tables_.TableRes); });
    SaveDiscardedAndReport();
    // The player's tables are committed through the write path, then every table is closed
    // (closing itself never writes); a table that cannot be written keeps its old file, and the
    // player is told which and why.
    for (const QString& failure : tables_.closeAll())
        showError(failure);
}

bool TFormMenu::guarded(const std::function<void()>& op) {
    // Nothing escapes: an exception of any kind ends the operation with a message, and the end of
    // the operation (its commit) is guarded the same way.
    const auto run = [this](const std::function<void()>& step) {
        try {
            step();
            return true;
        } catch (...) {
            showError(operationFailureText(std::current_exception()));
            return false;
        }
    };
    if (durable_)
        durable_->operationStarted();
    const bool ran = run(op);
    if (durable_)
        run([this] { durable_->operationEnded(); });
    return ran;
}

void TFormMenu::commitPlayerWork() {
    if (closing_)
        return;
    if (!board_)
        return;
    try {
        for (const QString& failure : CommitPlayerWork(tables_, *board_, savedDiscards_, savedFixed_))
            showError(failure);
    } catch (...) {
        showError(operationFailureText(std::current_exception()));
    }
}

void TFormMenu::showError(const QString& text) {
    if (ShutdownSignals::requested()) {
        qWarning("%s", qUtf8Printable(text)); // nobody is there to read a message box
        return;
    }
    if (services_.messages)
        services_.messages->error(text);
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

void TFormMenu::StorePendingDraw() {
    results_->StorePendingDraw();
}

// ---------------------------------------------------------------- shell

void TFormMenu::buildShell() {
    using namespace MenuLayout;
    label(this, "Label8", QStringLiteral("Jogos"), {8, 4, 200, 16}, Bold);
    label(this, "Label13", QStringLiteral("Dezenas"), {500, 2, 120, 16}, Bold);
    label(this, "Label43", QStringLiteral("Resultados dos concursos"), {500, 312, 250, 16}, Bold);
    label(this, "Label44", QStringLiteral("Saídas"), {928, 4, 200, 16}, Bold);

    const int x = 370, w = 126, h = 34;
    QPushButton* ButtonGera = button(this, "ButtonGera", QStringLiteral("Gera os jogos"), {x, 24, w, h});
    QPushButton* ButtonImp = button(this, "ButtonImp", QStringLiteral("Imprime os jogos"), {x, 64, w, h});
    QPushButton* ButtonRes =
        button(this, "ButtonRes", QStringLiteral("Conferindo os resultados"), {x, 104, w, h});
    QPushButton* ButtonLimpa = button(this, "ButtonLimpa", QStringLiteral("Limpa dados"), {x, 144, w, h});
    QPushButton* ButtonTutorial =
        button(this, "ButtonTutorial", QStringLiteral("Tutorial && informações"), {x, 184, w, h});
    QPushButton* ButtonIns = button(this, "ButtonIns", QStringLiteral("Inserir Resultados"), {x, 224, w, h});
    ButtonIns->setToolTip(QStringLiteral("Inserir/Editar resultdado de concurso"));
    // The column is as wide as the gap between the games and the board; a slightly smaller font
    // keeps its longest caption, "Conferindo os resultados", whole.
    for (QPushButton* b : {ButtonGera, ButtonImp, ButtonRes, ButtonLimpa, ButtonTutorial, ButtonIns}) {
        QFont bf = b->font();
        bf.setPixelSize(10);
        b->setFont(bf);
    }
    // A doubled ampersand shows as one ampersand and makes no shortcut.
    ButtonTutorial->setText(QStringLiteral("Tutorial && informações"));

    connect(ButtonGera, &QPushButton::clicked, this, [this] { ButtonGeraClick(); });
    connect(ButtonImp, &QPushButton::clicked, this, [this] { ButtonImpClick(); });
    connect(ButtonRes, &QPushButton::clicked, this, [this] { ButtonResClick(); });
    connect(ButtonLimpa, &QPushButton::clicked, this, [this] { ButtonLimpaClick(); });
    connect(ButtonTutorial, &QPushButton::clicked, this, [this] { ButtonTutorialClick(); });
    connect(ButtonIns, &QPushButton::clicked, this, [this] { ButtonInsClick(); });
}

void TFormMenu::SaiEnter(QWidget* field) {
    field->installEventFilter(this);
}

void TFormMenu::watchExit(QWidget* field, std::function<void()> exit) {
    FocusExit::watch(field, std::move(exit), [this] { return closing_; });
}

bool TFormMenu::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(e);
        // The Enter of the keypad is the same key to the player.
        const bool plain = (k->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier)) == Qt::NoModifier;
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && plain) {
            // The field never sees the Enter; the focus moves on exactly as a Tab press moves it.
            if (auto* w = qobject_cast<QWidget*>(watched)) {
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QCoreApplication::sendEvent(w, &tab);
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

QWidget* TFormMenu::numberControl(const QString& name) const {
    for (QWidget* w : findChildren<QWidget*>())
        if (w->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return w;
    return nullptr;
}

// The shell's own command: the board's selection and the games list, each after its question.
void TFormMenu::ButtonLimpaClick() {
    MessageBoxes& m = *services_.messages;
    if (m.ask({QStringLiteral("Dezenas desprezadas"),
               QStringLiteral("Limpa mesmo todas as dezenas desprezadas? ")}))
        board_->ClearSelection();
    if (m.ask({QStringLiteral("Apagar os jogos"), QStringLiteral("Limpa a lista de jogos? ")}))
        ClearGames();
}
