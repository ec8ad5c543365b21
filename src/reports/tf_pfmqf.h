#pragma once

#include "print/form_window.h"
#include "reports/report_designer.h"
#include "reports/report_menu.h"

#include <QList>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QWidget;

namespace livrax::reports {

// Reading and writing one control's value of a definition or of a field.
template <typename V> struct ControlBinding {
    std::function<void(V&)> load;
    std::function<void(V&)> store;
};

// The report designer: one report definition of a menu (key M + NNN + "A")
// on the pages "Relatório", "Filtros/Ordem", "Campos", "Agrupar / Organizar",
// "Cabeçalho", "Detalhe/Total" and "Arq.Secundário". The definition is read
// when the window is built and written by "Salvar" (or on closing, when the
// user agrees); any key press or mouse change marks it "Alterado".
class TF_PFMQF : public print::FormWindow {
    Q_OBJECT

  public:
    TF_PFMQF(const ReportMenu& menu, int number, QWidget* parent = nullptr);
    ~TF_PFMQF() override;

    // Reads the definition again and shows it, field 1 current.
    void reload();
    // "Salvar" without closing: the controls written to the definition key.
    // False, after telling the user, when nothing was written.
    bool save();
    // The old-format import of one file: asks before replacing the report's
    // definition, writes the file's lines under its key and shows them.
    // False when the file cannot be read, the user declines or the write
    // fails.
    bool importFile(const QString& path);

    bool modified() const;
    // The definition as the controls hold it now.
    ReportDefinition currentDefinition();

  protected:
    void loadSettings() override {}
    // The closing question when something changed; OK saves.
    bool saveSettings() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* buildReportPage();
    QWidget* buildFilterPage();
    QWidget* buildFieldPage();
    QWidget* buildGroupPage();
    QWidget* buildHeaderPage();
    QWidget* buildDetailPage();
    QWidget* buildSecondaryPage();
    void buildMenu();
    void watchChangesWithoutKeys();

    void showDefinition();
    void storeDefinition();
    void showField();
    void storeField();
    void applyTypeRules();
    void move(void (ReportDesign::*step)());
    void markModified();

    void refuseNewField();
    void newField();
    void duplicateField();
    void deleteField();
    // A column of the table for the current field; its title too when it was
    // chosen in the list rather than typed.
    void chooseTableField(const QString& name, bool chosenInList);
    void chooseSecondaryField(const QString& name);
    void chooseExpression(const QString& expression);
    void fillOtherTableLists();
    void fillSecondaryLists();

    void chooseFont(ReportFont& font);
    void showFontLabels();
    void paperFormChosen(int form);
    void orientationChosen(bool landscape);
    void printerSetup();
    void chooseOrder(QLineEdit* target, bool secondary);
    void chooseFilter(QLineEdit* target, bool secondary);
    void importOldFormat();

    void fillOrganiser();
    void organiserMoved(bool up);

    ReportMenu m_menu;
    int m_number = 0;
    QString m_key;
    ReportDesign m_design;
    // What the field editor's controls gave for the current field when it
    // was shown: storing the same again leaves the field as it was.
    ReportField m_shownStored;

    QList<ControlBinding<ReportDefinition>> m_definitionBindings;
    QList<ControlBinding<ReportField>> m_fieldBindings;

    QCheckBox* m_modified = nullptr;
    QTabWidget* m_pages = nullptr;
    QWidget* m_fieldPage = nullptr;
    QWidget* m_groupPage = nullptr;

    // "Relatório"
    QLineEdit* m_directory = nullptr;
    QLineEdit* m_table = nullptr;
    QLineEdit* m_importName = nullptr;
    QLabel* m_fontName = nullptr;
    QLabel* m_fontSize = nullptr;
    QLabel* m_fontStyle = nullptr;
    QButtonGroup* m_orientation = nullptr;
    QButtonGroup* m_paperForm = nullptr;
    QLineEdit* m_paperLength = nullptr;
    QLineEdit* m_paperWidth = nullptr;
    // "Filtros/Ordem"
    QComboBox* m_distinctField = nullptr;
    QLineEdit* m_order = nullptr;
    QLineEdit* m_filters = nullptr;
    // "Campos"
    QLabel* m_lineNumber = nullptr;
    QLineEdit* m_currentNumber = nullptr;
    QLineEdit* m_content = nullptr;
    QLineEdit* m_title = nullptr;
    QButtonGroup* m_type = nullptr;
    QWidget* m_otherGroup = nullptr;
    QLabel* m_otherLabel = nullptr;
    QComboBox* m_otherTable = nullptr;
    QComboBox* m_otherKey = nullptr;
    QComboBox* m_otherKeyList = nullptr;
    QComboBox* m_otherField = nullptr;
    QString m_otherListsTable;
    QWidget* m_shapeGroup = nullptr;
    QComboBox* m_tableField = nullptr;
    QComboBox* m_secondaryField = nullptr;
    QComboBox* m_expression = nullptr;
    QLabel* m_fieldFont = nullptr;
    // "Agrupar / Organizar"
    QComboBox* m_groupField = nullptr;
    QList<QWidget*> m_complement;
    QTableWidget* m_organiser = nullptr;
    // "Cabeçalho"
    QComboBox* m_macros = nullptr;
    QCheckBox* m_dateInHeader = nullptr;
    QCheckBox* m_timeInHeader = nullptr;
    QLineEdit* m_footer = nullptr;
    // "Arq.Secundário"
    QComboBox* m_secondaryTable = nullptr;
    QComboBox* m_mainKey = nullptr;
    QComboBox* m_secondaryKey = nullptr;
    QLineEdit* m_secondaryOrder = nullptr;
    QLineEdit* m_secondaryFilter = nullptr;
    QString m_secondaryListsTable;

    bool m_showing = false; // controls being filled: no field is chosen
};

} // namespace livrax::reports
