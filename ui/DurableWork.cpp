#include "DurableWork.h"

#include "Table.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>

DurableWork::DurableWork(std::function<void()> commit, QObject* parent)
    : QObject(parent), commit_(std::move(commit)) {
    if (auto* d = QAbstractEventDispatcher::instance())
        connect(d, &QAbstractEventDispatcher::aboutToBlock, this, [this] { commitIfPending(); });
    if (auto* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

DurableWork::~DurableWork() {
    if (auto* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void DurableWork::watch(Table& t) {
    // What the commit itself does to the tables (a save that empties and refills one, then fails
    // and keeps its rows) is not new work: a failure is shown once, and tried again only after the
    // next operation, not as soon as its message box closes.
    const auto mark = [this] {
        if (!committing_)
            pending_ = true;
    };
    connect(&t, &Table::rowsInserted, this, mark);
    connect(&t, &Table::rowsRemoved, this, mark);
    connect(&t, &Table::rowChanged, this, mark);
    connect(&t, &Table::rowMoved, this, mark);
    connect(&t, &Table::reset, this, mark);
}

void DurableWork::operationEnded() {
    if (depth_ > 0)
        --depth_;
    pending_ = true; // an operation may change rows quietly (inside a bulk change)
    commitIfPending();
}

void DurableWork::commitIfPending() {
    if (!pending_ || depth_ > 0 || committing_ || stopped_)
        return;
    pending_ = false;
    committing_ = true;
    try {
        commit_();
    } catch (...) {
        committing_ = false;
        throw;
    }
    committing_ = false;
}

bool DurableWork::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
        commitIfPending();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, e);
}
