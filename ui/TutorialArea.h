#pragma once

#include "AreaContext.h"

#include <QObject>

class QFrame;
class QLabel;
class QPushButton;

// The tutorial (PanelTut): it greets a first start and opens from its button at any time; its
// link opens the help page in the browser.
class TutorialArea final : public QObject {
    Q_OBJECT

public:
    explicit TutorialArea(const AreaContext& context);

    void ButtonTutorialClick();
    void ButtonSaiClick();
    void LabelTabelaClick();
    void LabelTabelaMouseMove();
    void LabelTabelaMouseLeave();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    const AreaContext& ctx_;
    // The window's state and rules under the names the handlers use.
    const MenuServices& services_;
    bool guarded(const std::function<void()>& op) { return ctx_.guarded(op); }
    QFrame* PanelTut = nullptr;
    QLabel* LabelTabela = nullptr;
    QPushButton* ButtonSai = nullptr;
};
