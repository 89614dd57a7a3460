#pragma once

#include "BoundLineEdit.h"
#include "MenuFixture.h"
#include "Navigator.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <array>
#include <vector>

// Drives the draw entry panel the way a player does: clicks, focus moves and typed keys.
using Draw = std::array<int, 7>; // Concurso, d1..d6

// Puts draws into the working folder before the window opens, as an earlier run would.
inline void seedDraws(const QString& folder, const std::vector<Draw>& draws) {
    Tables t(folder);
    t.TableRes.create();
    for (const Draw& d : draws) {
        t.TableRes.insert();
        for (int i = 0; i < 7; ++i)
            t.TableRes.setInteger(i, d[static_cast<std::size_t>(i)]);
        t.TableRes.post();
    }
    QVERIFY(t.closeAll().isEmpty());
}

struct EntryPanelDriver {
    MenuFixture& f;

    // Focus events only flow in the active window.
    void activate() {
        f.menu->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.menu.get()));
    }
    QLineEdit* conc() const { return f.find<QLineEdit>("EditConc"); }
    BoundLineEdit* field(int i) const {
        return f.find<BoundLineEdit>(QStringLiteral("DBEdit%1").arg(i).toLatin1());
    }
    QToolButton* nav(const char* name) const { return f.find<QToolButton>(name); }
    void click(const char* button) const { QTest::mouseClick(f.find<QPushButton>(button), Qt::LeftButton); }
    void open() const { click("ButtonIns"); }

    // Puts the focus into `e` and types `text` over what it holds, as select-all and typing do.
    static void typeInto(QLineEdit* e, const QString& text) {
        e->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        e->selectAll();
        if (text.isEmpty())
            QTest::keyClick(e, Qt::Key_Backspace);
        else
            QTest::keyClicks(e, text);
    }
    static void enter(QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }
    static QWidget* focused() { return QApplication::focusWidget(); }

    // Types a draw number into EditConc and leaves it with Enter; questions take `answer`.
    void goTo(const QString& text, bool answer = true) {
        f.messages.answer({answer});
        typeInto(conc(), text);
        enter(conc());
    }
    // Types the six numbers, each left with Enter.
    void typeNumbers(const std::array<int, 6>& d) {
        for (int i = 0; i < 6; ++i) {
            typeInto(field(i + 1), QString::number(d[static_cast<std::size_t>(i)]));
            enter(field(i + 1));
        }
    }
    // A new draw through the panel: its number in EditConc (answered Yes), the numbers, "Salva".
    void addDraw(int concurso, const std::array<int, 6>& d) {
        goTo(QString::number(concurso), true);
        typeNumbers(d);
        click("ButtonSalva");
    }
};
