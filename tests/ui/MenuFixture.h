#pragma once

#include "CapturePreview.h"
#include "ScriptedMessageBoxes.h"
#include "ReportForms.h"
#include "TestSupport.h"
#include "UnitMenu.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <memory>

// The main window in a fresh working folder, with message boxes answered from a script and
// previews captured instead of shown. `restart` closes the window (storing its tables) and opens a
// new one on the same folder, as the player would the next day.
struct MenuFixture {
    WorkFolder folder;
    ScriptedMessageBoxes messages;
    CapturePreview previews;
    std::unique_ptr<ReportForms> reports;
    std::unique_ptr<TFormMenu> menu;
    QStringList openedPages;
    // The help link's browser; when empty, the pages the link asks for are only recorded.
    std::function<void(const QString&)> browser;
    // The file the results import's dialog answers; unset, the real dialog opens.
    std::function<QString(QWidget*, const QString&)> chooseResultsFile;
    quint64 seed = 20261209;

    TFormMenu& start() {
        MenuServices s;
        s.messages = &messages;
        s.previews = &previews;
        s.randomSeed = [this] { return seed; };
        s.openBrowser = [this](const QString& page) {
            openedPages << page;
            if (browser)
                browser(page);
        };
        s.chooseResultsFile = chooseResultsFile;
        reports = std::make_unique<ReportForms>();
        s.reports = reports.get();
        menu = std::make_unique<TFormMenu>(folder.path(), s);
        menu->show();
        QApplication::processEvents();
        return *menu;
    }
    TFormMenu& restart() {
        menu->close();
        menu.reset();
        return start();
    }
    template <typename T> T* find(const char* name) const {
        T* w = menu->findChild<T*>(QLatin1String(name));
        if (!w)
            qWarning("no control named %s", name);
        return w;
    }
    // A press and release of `button` at `at` inside `w`, as real mouse events.
    static void press(QWidget* w, Qt::MouseButton button, QPoint at = {}) {
        if (at.isNull())
            at = w->rect().center();
        QTest::mouseClick(w, button, Qt::NoModifier, at);
    }
};
