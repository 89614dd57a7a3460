#pragma once

#include "AreaContext.h"

#include <QObject>
#include <array>
#include <memory>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class TableGrid;
struct NumberStatistics;

// The statistics: the weight legend beside the results (Panel1), the statistics grid on the
// right (Panel4) with its four orders and its report. It keeps the last recomputation and tells
// the other areas when it changes (`statisticsShown`).
class StatisticsArea final : public QObject {
    Q_OBJECT

public:
    explicit StatisticsArea(const AreaContext& context);
    ~StatisticsArea() override;

    void RecomputeStatisticsAndShow();
    // Shows statistics recomputed elsewhere (an import).
    void show(const NumberStatistics& s);
    void RBDezenaClick();
    void BitBtn2Click();

signals:
    // The statistics shown changed; the board and the editor show them too.
    void statisticsShown(const NumberStatistics& s);

private:
    void showStatistics();

    const AreaContext& ctx_;
    // The window's state and rules under the names the handlers use.
    Tables& tables_;
    const MenuServices& services_;
    bool guarded(const std::function<void()>& op) { return ctx_.guarded(op); }
    void showError(const QString& text) { ctx_.showError(text); }
    std::unique_ptr<NumberStatistics> statistics_;
    QFrame* Panel1 = nullptr;
    std::array<QLabel*, 5> classCounts_{}; // LabelRed, LabelFuc, LabelBlue, LabelMaroon, LabelBlack
    QLabel* LabelMedia = nullptr;
    QFrame* Panel4 = nullptr;
    TableGrid* DBGrid1 = nullptr;
    QRadioButton* RBDezena = nullptr;
    QRadioButton* RBSaidas = nullptr;
    QRadioButton* RBDemora = nullptr;
    QRadioButton* RBMaiorDemora = nullptr;
    QPushButton* BitBtn2 = nullptr;
};
