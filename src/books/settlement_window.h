#pragma once

#include "books/settlement.h"
#include "print/form_window.h"

#include <QMap>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QWidget;

namespace livrax::books {

class RawResultModel;

// The window of the monthly settlement books. Tabs "SELEÇÃO" (dates with the
// month arrows, first page, company type), "ENTRADAS" and "SAÍDAS" (the
// numbered boxes and their TOTAL), "APURAÇÃO" (boxes 29 and 30, the guides,
// the observations), "M.Entrada" and "M.Saída" (the nature grids with
// "Recalcular", "Analítico" and the filter) and, in the ICMS book,
// "G.Entrada" and "G.Saída" (the raw result of the last recalculation).
// The month on the tabs is the month of "Dt. Inicial": changing it and
// leaving the field loads that month (or recalculates it when nothing is
// stored); "Salvar", "Recalc." and closing write it back.
class SettlementWindow : public print::FormWindow {
    Q_OBJECT

  public:
    SettlementWindow(const SettlementBook& book, QWidget* parent = nullptr);
    ~SettlementWindow() override;

    // What the tabs hold, as the month record keeps it.
    MonthData month() const;

  protected:
    void loadSettings() override;
    bool saveSettings() override;

  private:
    struct Side {
        QMap<int, QLineEdit*> boxes, descriptions;
        QLineEdit* total = nullptr;
        QTableWidget* grid = nullptr;
        RawResultModel* raw = nullptr; // ICMS book only
        QCheckBox* analytic = nullptr;
        QCheckBox* archive = nullptr; // IPI book only: hides the grid
        QLineEdit* filter = nullptr;
    };

    QWidget* buildSelection();
    QWidget* buildBoxes(bool exits);
    QWidget* buildSettlement();
    QWidget* buildGridTab(bool exits);
    QLineEdit* amountEdit(const QString& objectName);
    // Leaving the field (a box, a guide, an observation) balances the month again.
    void recomputeOnLeave(QLineEdit* edit);

    void showMonth(const MonthData& month);
    void showBoxes(const MonthData& month);
    void loadMonth();
    void recomputeSummary();
    void recalcSide(bool exits);
    // The ICMS book shows the filter as it ran ("#" made blanks), the
    // condition as its hint, and the raw result.
    void showRecalcResult(Side& side, const QString& filter, const RecalcResult& result);
    // "Recalc.": both sides per nature, then the month saved (not when a
    // query failed: the user is told and the tabs keep their month).
    void recalcAll();
    void save();
    void moveMonth(int months);
    void startDateLeft();
    void print(print::Destination destination);
    // Dates a recalculation or a print can use: real dates where given, and
    // in the IPI book both of them (else the user is told why not).
    bool datesUsable();
    SettlementSettings settings() const;

    const SettlementBook& m_book;
    QTabWidget* m_tabs = nullptr;
    QWidget* m_selection = nullptr;
    QLineEdit* m_start = nullptr;
    QLineEdit* m_end = nullptr;
    QLineEdit* m_page = nullptr;
    QCheckBox* m_reload = nullptr;
    QList<QRadioButton*> m_companyType;
    Side m_entries, m_exits;
    QWidget* m_entriesGridTab = nullptr;
    QWidget* m_exitsGridTab = nullptr;
    QLineEdit* m_box29 = nullptr;
    QLineEdit* m_box30 = nullptr;
    std::array<std::array<QLineEdit*, 4>, 4> m_guides{}; // [guide][number, date, value, agency]
    std::array<QLineEdit*, 3> m_obs{};
    bool m_busy = false; // a load or recalculation is moving the focus
    // The start date of the month on the tabs: the tabs are saved into that
    // month's record even when another date was typed since.
    QString m_monthStart;
};

} // namespace livrax::books
