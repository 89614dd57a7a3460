#include "ResultsArea.h"

#include "BoundLineEdit.h"
#include "DrawEntry.h"
#include "ImportFolder.h"
#include "MenuLayout.h"
#include "MessageBoxes.h"
#include "NamedColors.h"
#include "Navigator.h"
#include "NumberStatistics.h"
#include "ResultsFileDialog.h"
#include "ResultsImport.h"
#include "RunProgress.h"
#include "ShutdownSignals.h"
#include "Table.h"
#include "TableError.h"
#include "TableGrid.h"
#include "Tables.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

// The draw results: the read-only results grid, always visible, and the entry panel where draws
// are looked up, added, corrected and deleted.
ResultsArea::ResultsArea(const AreaContext& context)
    : ctx_(context), tables_(context.tables), services_(context.services), folder_(context.folder) {
    using namespace MenuLayout;
    const QColor sky = QColor::fromRgb(clSkyBlue);
    QVector<TableModel::Column> columns{
        {QStringLiteral("Concurso"), QStringLiteral("Conc."), Qt::AlignCenter, sky}};
    for (int i = 1; i <= 6; ++i)
        columns.append(
            {QStringLiteral("d%1").arg(i), QStringLiteral("d%1").arg(i), Qt::AlignRight | Qt::AlignVCenter});
    columns.append({QStringLiteral("pares"), QStringLiteral("P"), Qt::AlignRight | Qt::AlignVCenter, sky});
    columns.append({QStringLiteral("impares"), QStringLiteral("I"), Qt::AlignRight | Qt::AlignVCenter, sky});
    columns.append({QStringLiteral("abaixo"), QStringLiteral("até 30"), Qt::AlignRight | Qt::AlignVCenter});
    columns.append({QStringLiteral("acima"), QStringLiteral("ac.30"), Qt::AlignRight | Qt::AlignVCenter});
    GridRes = new TableGrid(new TableModel(tables_.TableRes, columns, ctx_.window), ctx_.window);
    GridRes->setObjectName(QStringLiteral("GridRes"));
    GridRes->setGeometry(500, 330, 300, 296);
    GridRes->setReadOnly(true);
    GridRes->setColumnWidths({38, 22, 22, 22, 22, 22, 22, 20, 20, 36, 34});
    GridRes->setErrorHandler([this](const QString& m) { showError(m); });
    // A click on another draw moves the cursor, which posts the draw being typed: not while one of
    // its numbers is refused.
    // A draw typed only in part is never stored: leaving it asks whether to discard it.
    GridRes->setMoveGuard([this] { return refusedDrawField() == nullptr && leaveDraw(); });

    PanelIns = panel(ctx_.window, "PanelIns", {8, 376, 358, 210}, false);
    label(PanelIns, "Label25", QStringLiteral("Insersão/Edição/Exclusão de resultados de concursos"),
          {8, 6, 470, 16}, Bold);
    label(PanelIns, "LabelConcurso", QStringLiteral("Concurso"), {8, 32, 60, 18});
    EditConc = edit(PanelIns, "EditConc", {72, 30, 70, 22});
    label(PanelIns, "Label21", QStringLiteral("Dezenas:"), {8, 62, 60, 18});
    QWidget* previous = EditConc;
    for (int i = 0; i < 6; ++i) {
        auto* e = new BoundLineEdit(tables_.TableRes, QStringLiteral("d%1").arg(i + 1), PanelIns);
        e->setObjectName(QStringLiteral("DBEdit%1").arg(i + 1));
        e->setGeometry(72 + i * 42, 60, 38, 22);
        ctx_.watchExit(e, [this, i] { DBEdit1Exit(i); });
        DBEdit[static_cast<std::size_t>(i)] = e;
        ctx_.enterMovesOn(e);
        QWidget::setTabOrder(previous, e);
        previous = e;
    }
    ctx_.enterMovesOn(EditConc);
    ctx_.watchExit(EditConc, [this] { EditConcExit(); });

    DBNAtu = new Navigator(tables_.TableRes, PanelIns);
    DBNAtu->setObjectName(QStringLiteral("DBNAtu"));
    DBNAtu->setGeometry(8, 94, 140, 28);
    DBNAtu->setFocusPolicy(Qt::TabFocus);
    DBNAtu->setErrorHandler([this](const QString& m) { showError(m); });
    DBNAtu->setMoveGuard([this] { return leaveDraw(); });
    connect(DBNAtu, &Navigator::moved, this, [this] { DBNAtuClick(); });
    // The last guard, whatever moves or posts the results: a draw whose numbers were changed is
    // stored only whole (a new draw is first stored with its numbers empty, to be typed).
    tables_.TableRes.addPendingEdit(&incompleteDrawGuard_);

    ButtonAtu = button(PanelIns, "ButtonAtu", QStringLiteral("Atualiza as estatísticas"), {8, 128, 170, 28});
    ButtonImporta =
        button(PanelIns, "ButtonImporta", QStringLiteral("Importar resultados"), {184, 128, 166, 28});
    ButtonSalva = button(PanelIns, "ButtonSalva", QStringLiteral("Salva"), {8, 170, 96, 28});
    ButtonExclui = button(PanelIns, "ButtonExclui", QStringLiteral("Exclui"), {112, 170, 96, 28});
    ButtonSaiIn = button(PanelIns, "ButtonSaiIn", QStringLiteral("Sai"), {216, 170, 96, 28});
    for (QWidget* w : std::initializer_list<QWidget*>{DBNAtu, ButtonAtu, ButtonImporta, ButtonSalva,
                                                      ButtonExclui, ButtonSaiIn}) {
        QWidget::setTabOrder(previous, w);
        previous = w;
    }
    connect(ButtonAtu, &QPushButton::clicked, this, [this] { ButtonAtuClick(); });
    connect(ButtonImporta, &QPushButton::clicked, this, [this] { ButtonImportaClick(); });
    connect(ButtonSalva, &QPushButton::clicked, this, [this] { ButtonSalvaClick(); });
    connect(ButtonExclui, &QPushButton::clicked, this, [this] { ButtonExcluiClick(); });
    connect(ButtonSaiIn, &QPushButton::clicked, this, [this] { ButtonSaiInClick(); });
}

void ResultsArea::ButtonInsClick() {
    PanelIns->show();
    PanelIns->raise();
    EditConc->setText(currentConcursoText(tables_.TableRes));
}

void ResultsArea::EditConcExit() {
    guarded([this] {
        // Another draw number leaves the draw being typed.
        const std::optional<int> wanted = ParseWholeNumber(EditConc->text());
        const Table& res = tables_.TableRes;
        if (wanted && *wanted >= 1 && res.isEditing() &&
            res.intValue(res.fieldIndex(u"Concurso")) != std::optional<qint32>(*wanted) && !leaveDraw()) {
            EditConc->setText(currentConcursoText(res));
            return;
        }
        if (const auto text = LookupOrAddDraw(EditConc->text(), tables_, *services_.messages))
            EditConc->setText(*text);
    });
}

void ResultsArea::DBEdit1Exit(int field) {
    if (checkingDrawNumber_)
        return;
    checkingDrawNumber_ = true;
    BoundLineEdit* e = DBEdit[static_cast<std::size_t>(field)];
    bool refused = false;
    const auto notice = CheckDrawNumber(drawFieldTexts(), field);
    // Text that is no whole number is refused by the field itself, with the store's message; a
    // number out of range is refused here and never written into the row.
    if (!notice || (!e->text().trimmed().isEmpty() && !ParseWholeNumber(e->text()))) {
        try {
            e->writeTyped();
        } catch (const TableError& err) {
            showError(err.message());
            refused = true;
        }
    }
    if (!refused && notice) {
        services_.messages->inform(*notice);
        refused = true;
    }
    if (refused)
        e->setFocus();
    checkingDrawNumber_ = false;
}

std::array<QString, 6> ResultsArea::drawFieldTexts() const {
    std::array<QString, 6> texts;
    for (std::size_t i = 0; i < DBEdit.size(); ++i)
        texts[i] = DBEdit[i]->text();
    return texts;
}

BoundLineEdit* ResultsArea::refusedDrawField() const {
    const std::array<QString, 6> texts = drawFieldTexts();
    for (int i = 0; i < 6; ++i) {
        BoundLineEdit* e = DBEdit[static_cast<std::size_t>(i)];
        if (e->hasTypedText() && CheckDrawNumber(texts, i))
            return e;
    }
    return nullptr;
}

bool ResultsArea::drawNumbersAccepted() {
    BoundLineEdit* refused = refusedDrawField();
    if (!refused)
        return true;
    // The number check has just told the player, as the focus tried to leave the field.
    refused->setFocus();
    return false;
}

void ResultsArea::DBNAtuClick() {
    EditConc->setText(currentConcursoText(tables_.TableRes));
}

void ResultsArea::ButtonSalvaClick() {
    if (!drawNumbersAccepted())
        return;
    Table& res = tables_.TableRes;
    if (res.state() != Table::State::Edit)
        return;
    if (!IsWholeDraw(drawFieldTexts())) {
        services_.messages->inform(incompleteDrawNotice(currentConcursoText(res)));
        focusIncompleteField();
        return;
    }
    guarded([&res] { res.post(); });
}

bool ResultsArea::leaveDraw() {
    Table& res = tables_.TableRes;
    if (!res.isOpen() || !res.isEditing())
        return true;
    const std::array<QString, 6> texts = drawFieldTexts();
    if (IsWholeDraw(texts)) // stored, as a move stores it
        return guarded([this] { StorePendingDraw(); });
    std::array<QString, 6> stored;
    if (res.state() == Table::State::Edit && res.position() >= 0) {
        const RowRef row = res.rowAt(res.position());
        for (int i = 0; i < 6; ++i)
            stored[static_cast<std::size_t>(i)] = row.text(res.fieldIndex(QStringLiteral("d%1").arg(i + 1)));
    }
    auto same = [](const std::array<QString, 6>& a, const std::array<QString, 6>& b) {
        for (std::size_t i = 0; i < 6; ++i)
            if (a[i].trimmed() != b[i].trimmed())
                return false;
        return true;
    };
    // Nothing typed differs from what the draw holds: there is nothing to lose.
    const bool ask = !same(texts, stored) && !ctx_.closing() && !ShutdownSignals::requested();
    if (ask && !services_.messages->ask(incompleteDrawQuestion(currentConcursoText(res)))) {
        focusIncompleteField();
        return false;
    }
    discardDraft();
    return true;
}

void ResultsArea::discardDraft() {
    for (BoundLineEdit* e : DBEdit)
        e->discardTyped();
    if (tables_.TableRes.isEditing())
        tables_.TableRes.cancel();
}

void ResultsArea::focusIncompleteField() {
    const std::array<QString, 6> texts = drawFieldTexts();
    for (int i = 0; i < 6; ++i) {
        const QString& t = texts[static_cast<std::size_t>(i)];
        if (t.trimmed().isEmpty() || CheckDrawNumber(texts, i)) {
            DBEdit[static_cast<std::size_t>(i)]->setFocus();
            return;
        }
    }
}

void ResultsArea::refuseIncompleteDraw() {
    const Table& res = tables_.TableRes;
    if (!res.isEditing())
        return;
    const std::array<QString, 6> pending = DrawTexts(res);
    if (IsWholeDraw(pending))
        return;
    if (res.state() == Table::State::Insert) {
        if (IsEmptyDraw(pending))
            return;
    } else if (res.position() >= 0) {
        const RowRef row = res.rowAt(res.position());
        bool unchanged = true;
        for (int i = 0; i < 6 && unchanged; ++i) {
            const int f = res.fieldIndex(QStringLiteral("d%1").arg(i + 1));
            unchanged = row.text(f) == pending[static_cast<std::size_t>(i)];
        }
        if (unchanged) // another field changed (the statistics' counts): the numbers stay as stored
            return;
    }
    throw TableError(incompleteDrawRefusal(currentConcursoText(res)));
}

void ResultsArea::ButtonExcluiClick() {
    guarded([this] {
        if (const auto text = DeleteCurrentDraw(tables_.TableRes, *services_.messages))
            EditConc->setText(*text);
    });
}

void ResultsArea::ButtonSaiInClick() {
    if (!drawNumbersAccepted() || !leaveDraw())
        return;
    PanelIns->hide();
    services_.messages->inform(recomputeReminderMessage());
}

void ResultsArea::ButtonAtuClick() {
    if (!drawNumbersAccepted() || !leaveDraw())
        return;
    ButtonAtu->setEnabled(false);
    emit recomputeRequested();
    ButtonAtu->setEnabled(true);
}

// Imports a results file the player downloaded: the draw being typed is stored first, the file
// dialog opens in the folder of the last import, and the import's summary (or why the file was
// refused) is shown; the statistics shown are the ones the import recomputed.
void ResultsArea::ButtonImportaClick() {
    if (!drawNumbersAccepted() || !leaveDraw())
        return;
    QString folder;
    guarded([this, &folder] { folder = LastImportFolder(folder_); });
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString path = services_.chooseResultsFile ? services_.chooseResultsFile(ctx_.window, folder)
                                                     : ChooseResultsFile(ctx_.window, folder);
    if (path.isEmpty())
        return;
    ButtonImporta->setEnabled(false);
    bool wasRead = false;
    guarded([this, &path, &wasRead] {
        // The reading runs under the progress dialog ("Cancelar", or a termination signal, stops
        // it), which is gone before the import asks about differing draws.
        std::variant<ParsedResults, ResultsImportOutcome> read;
        {
            RunProgress progress(ctx_.window, {QStringLiteral("ProgressImporta"), importResultsTitle(),
                                               QStringLiteral("Lendo o arquivo de resultados...\n"
                                                              "Linhas lidas até agora: %1")});
            read = ReadResultsFile(path, progress);
        }
        const ResultsImportOutcome o =
            std::holds_alternative<ParsedResults>(read)
                ? ImportParsedResults(tables_, std::get<ParsedResults>(read), path, *services_.messages)
                : std::get<ResultsImportOutcome>(std::move(read));
        if (o.statistics)
            emit statisticsImported(*o.statistics);
        EditConc->setText(currentConcursoText(tables_.TableRes));
        if (o.cancelled)
            return; // the player stopped it, and knows; nothing changed
        if (o.fileRefused) {
            services_.messages->error(o.message.text);
            return;
        }
        wasRead = true;
        services_.messages->inform(o.message);
    });
    // Only the folder of a file that was read is remembered: a refused one changes nothing at all.
    if (wasRead)
        guarded([this, &path] { RememberImportFolder(folder_, QFileInfo(path).absolutePath()); });
    ButtonImporta->setEnabled(true);
}

void ResultsArea::StorePendingDraw() {
    // Numbers still in the fields reach the row first; a number the check refuses is dropped, and
    // a text the field refuses makes the draw not storable.
    const std::array<QString, 6> texts = drawFieldTexts();
    for (int i = 0; i < 6; ++i) {
        BoundLineEdit* e = DBEdit[static_cast<std::size_t>(i)];
        if (!e->hasTypedText())
            continue;
        if (CheckDrawNumber(texts, i)) {
            e->discardTyped();
            continue;
        }
        try {
            e->writeTyped();
        } catch (const TableError&) {
            tables_.TableRes.cancel();
            return;
        }
    }
    guarded([this] { ::StorePendingDraw(tables_.TableRes); });
}

ResultsArea::~ResultsArea() {
    tables_.TableRes.removePendingEdit(&incompleteDrawGuard_);
}
