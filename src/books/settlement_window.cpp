#include "books/settlement_window.h"

#include "books/book_frame.h"
#include "books/settlement_print.h"
#include "common/dates.h"
#include "common/fields.h"
#include "common/text.h"
#include "data/data_module.h"
#include "data/param_store.h"
#include "platform/dialogs.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace livrax::books {

using namespace Qt::StringLiterals;

namespace {

const QString DatesRequired = u"Devem ser informadas as datas de Entrada e Saída"_s;

QPushButton* Button(const QString& objectName, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* TextEdit(const QString& objectName, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    return edit;
}

// A value as the raw result gives a NUMERIC: digits, the decimal comma (or
// point) and its decimals.
bool IsDecimalText(const QString& text) {
    static const QRegularExpression decimal(u"^-?\\d+[,.]\\d+$"_s);
    return decimal.match(text).hasMatch();
}

// "1234,5678" as "1234,56": cut to two decimals, never rounded.
QString TwoDecimals(const QString& text) {
    const qsizetype point = text.indexOf(QRegularExpression(u"[,.]"_s));
    return text.left(point) + u',' + (text.mid(point + 1) + u"00"_s).left(2);
}

void ShowGrid(QTableWidget* table, const NatureGrid& grid) {
    table->setRowCount(0);
    table->setRowCount(int(grid.rows.size()));
    for (int r = 0; r < grid.rows.size(); ++r) {
        const NatureRow& row = grid.rows[r];
        table->setItem(r, 0, new QTableWidgetItem(row.nature));
        table->setItem(r, 1, new QTableWidgetItem(row.history));
        for (int i = 0; i < 5; ++i) {
            const std::optional<qint64>& amount = row.amounts[i];
            auto* item = new QTableWidgetItem(amount ? FormatAmount(*amount) : QString());
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, 2 + i, item);
        }
    }
}

NatureGrid ReadGrid(const QTableWidget* table) {
    const auto text = [table](int r, int c) {
        const QTableWidgetItem* item = table->item(r, c);
        return item ? item->text() : QString();
    };
    NatureGrid grid;
    for (int r = 0; r < table->rowCount(); ++r) {
        NatureRow row{text(r, 0), text(r, 1), {}};
        for (int i = 0; i < 5; ++i) {
            const QString cell = text(r, 2 + i);
            if (!cell.trimmed().isEmpty()) row.amounts[i] = ParseAmount(cell);
        }
        grid.rows.append(row);
    }
    return grid;
}

// The company type of the company record: element 1 of its line 5.
int CompanyType() {
    data::ParamRead(data::ParamDatabase(), u"VRTNCAE"_s, 20);
    return ToInt(FieldAt(data::ParamLines().line(5), 1));
}

} // namespace

// The raw result of a recalculation as a read-only table; a month per
// invoice may hold thousands of rows, so the texts are handed to the view
// as it asks for them rather than as one item each.
class RawResultModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void setResult(const RecalcResult& result) {
        beginResetModel();
        m_columns = result.columns;
        m_rows = result.rows;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_columns.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const QString text = m_rows[index.row()].value(index.column());
        // Amounts (decimal texts of the NUMERIC columns) read as the books
        // write them: two decimals (cut), the decimal comma, right-aligned.
        const bool amount = IsDecimalText(text);
        if (role == Qt::TextAlignmentRole)
            return amount ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
        if (role != Qt::DisplayRole) return {};
        return amount ? TwoDecimals(text) : text;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return {};
        return orientation == Qt::Horizontal ? QVariant(m_columns.value(section))
                                             : QVariant(section + 1);
    }

  private:
    QStringList m_columns;
    QList<QStringList> m_rows;
};

SettlementWindow::SettlementWindow(const SettlementBook& book, QWidget* parent)
    : FormWindow(u"TF_"_s + book.code, book.caption, parent), m_book(book) {
    // Of the settlement books only the IPI one commits the shared datasets
    // when it closes.
    setCommitOnClose(book.ipi);

    auto* bar = new QHBoxLayout;
    auto* print = Button(u"BU_IMPRIMIR"_s, u"Imprimir"_s, this);
    auto* preview = Button(u"BU_VISAO"_s, u"Visão"_s, this);
    auto* recalc = Button(u"BU_RECALC"_s, u"Recalc."_s, this);
    auto* saveButton = Button(u"BU_SALVAR"_s, u"Salvar"_s, this);
    auto* exit = Button(u"BU_SAIR"_s, u"Sair"_s, this);
    exit->setToolTip(u"Sair do Programa"_s);
    for (QPushButton* button : {print, preview, recalc, saveButton, exit})
        bar->addWidget(button);
    m_reload = new QCheckBox(u"Ler informações do mes anterior"_s, this);
    m_reload->setObjectName(u"CB_LER"_s);
    bar->addWidget(m_reload);
    bar->addStretch();
    mainLayout()->addLayout(bar);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(u"PC_PASTAS"_s);
    m_selection = buildSelection();
    m_tabs->addTab(m_selection, u"SELEÇÃO"_s);
    m_tabs->addTab(buildBoxes(false), u"ENTRADAS"_s);
    m_tabs->addTab(buildBoxes(true), u"SAÍDAS"_s);
    m_tabs->addTab(buildSettlement(), u"APURAÇÃO"_s);
    m_entriesGridTab = buildGridTab(false);
    m_exitsGridTab = buildGridTab(true);
    m_tabs->addTab(m_entriesGridTab, u"M.Entrada"_s);
    m_tabs->addTab(m_exitsGridTab, u"M.Saída"_s);
    if (!book.ipi) {
        for (Side* side : {&m_entries, &m_exits}) {
            const bool exits = side == &m_exits;
            side->raw = new RawResultModel(this);
            auto* view = new QTableView(this);
            view->setObjectName(exits ? u"DG_SAIDA"_s : u"DG_ENTRADA"_s);
            view->setModel(side->raw);
            m_tabs->addTab(view, exits ? u"G.Saída"_s : u"G.Entrada"_s);
        }
    }
    mainLayout()->addWidget(m_tabs);

    connect(print, &QPushButton::clicked, this,
            [this] { this->print(print::Destination::Printer); });
    connect(preview, &QPushButton::clicked, this,
            [this] { this->print(print::Destination::Preview); });
    connect(recalc, &QPushButton::clicked, this, [this] { recalcAll(); });
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    // Any change of the start date asks for the month to be read again.
    connect(m_start, &QLineEdit::textChanged, this, [this] { m_reload->setChecked(true); });
    connect(m_start, &QLineEdit::editingFinished, this, [this] { startDateLeft(); });

    installConventions();
    resize(760, 620);
}

SettlementWindow::~SettlementWindow() {
    // Destroyed while shown, the window hides afterwards: a field that had
    // the focus reports that it was left, which must not reach this part of
    // the window (gone by then).
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->disconnect(this);
}

QWidget* SettlementWindow::buildSelection() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    m_start = print::NewDateEdit(u"E_DATAI"_s, page);
    // Made before the month arrows: Enter (and Tab) go from "Dt. Inicial"
    // to "Dt. Final", the arrows come after.
    m_end = print::NewDateEdit(u"E_DATAF"_s, page);
    auto* back = Button(u"BU_MESANTERIOR"_s, u"<"_s, page);
    auto* forward = Button(u"BU_MESSEGUINTE"_s, u">"_s, page);
    auto* startRow = new QHBoxLayout;
    startRow->addWidget(m_start);
    startRow->addWidget(back);
    startRow->addWidget(forward);
    startRow->addStretch();
    form->addRow(u"Dt. Inicial"_s, startRow);
    form->addRow(u"Dt. Final"_s, m_end);
    m_page = TextEdit(u"E_PAGINA"_s, page);
    m_page->setMaximumWidth(60);
    form->addRow(u"Página"_s, m_page);

    // Informative: the company record's type; nothing reads it.
    auto* type = new QGroupBox(u"Tipo de Empresa"_s, page);
    type->setObjectName(u"RG_TIPO"_s);
    auto* typeLayout = new QVBoxLayout(type);
    const QStringList types{u"0 - Outro"_s, u"1 - Geral"_s, u"2 - EPP"_s, u"3 - Micro"_s,
                            u"4 - Simples"_s};
    for (const QString& caption : types) {
        auto* option = new QRadioButton(caption, type);
        typeLayout->addWidget(option);
        m_companyType.append(option);
    }
    form->addRow(type);

    connect(back, &QPushButton::clicked, this, [this] { moveMonth(-1); });
    connect(forward, &QPushButton::clicked, this, [this] { moveMonth(1); });
    return page;
}

QLineEdit* SettlementWindow::amountEdit(const QString& objectName) {
    QLineEdit* edit = TextEdit(objectName, this);
    edit->setAlignment(Qt::AlignRight);
    edit->setMaximumWidth(140);
    recomputeOnLeave(edit);
    return edit;
}

void SettlementWindow::recomputeOnLeave(QLineEdit* edit) {
    connect(edit, &QLineEdit::editingFinished, this, [this] {
        if (!m_busy) recomputeSummary();
    });
}

QWidget* SettlementWindow::buildBoxes(bool exits) {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    Side& side = exits ? m_exits : m_entries;
    const QString prefix = exits ? u"SAI"_s : u"ENT"_s;
    int row = 0;
    for (int box : exits ? ExitBoxes() : EntryBoxes()) {
        grid->addWidget(new QLabel(BoxCaption(exits, box), page), row, 0);
        QLineEdit* amount = amountEdit(u"E_"_s + prefix + QString::number(box));
        side.boxes.insert(box, amount);
        grid->addWidget(amount, row, 1);
        if (FreeBoxes().contains(box)) {
            QLineEdit* description =
                TextEdit(u"E_"_s + prefix + u"DESC"_s + QString::number(box), page);
            side.descriptions.insert(box, description);
            grid->addWidget(description, row, 2);
        }
        ++row;
    }
    grid->addWidget(new QLabel(u"TOTAL"_s, page), row, 0);
    side.total = TextEdit(u"E_"_s + prefix + u"TOTAL"_s, page);
    side.total->setReadOnly(true);
    side.total->setAlignment(Qt::AlignRight);
    side.total->setMaximumWidth(140);
    grid->addWidget(side.total, row, 1);
    grid->setRowStretch(row + 1, 1);
    return page;
}

QWidget* SettlementWindow::buildSettlement() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* balance = new QFormLayout;
    m_box29 = amountEdit(u"E_29"_s);
    m_box30 = amountEdit(u"E_30"_s);
    balance->addRow(BoxCaption(false, 29), m_box29);
    balance->addRow(BoxCaption(false, 30), m_box30);
    layout->addLayout(balance);

    auto* guides = new QGroupBox(u"GUIAS DE ARRECADAÇÃO"_s, page);
    auto* grid = new QGridLayout(guides);
    const QStringList captions{u"Número"_s, u"Data"_s, u"Valor"_s, u"Orgão Arrecadador"_s};
    const QStringList names{u"NUMERO"_s, u"DATA"_s, u"VALOR"_s, u"ORGAO"_s};
    for (int part = 0; part < 4; ++part) {
        grid->addWidget(new QLabel(captions[part], guides), 0, part);
        for (int g = 0; g < 4; ++g) {
            QLineEdit* edit = TextEdit(u"E_GUIA"_s + names[part] + QString::number(g + 1), guides);
            recomputeOnLeave(edit);
            m_guides[g][part] = edit;
            grid->addWidget(edit, g + 1, part);
        }
    }
    layout->addWidget(guides);
    auto* obs = new QFormLayout;
    for (int i = 0; i < 3; ++i) {
        m_obs[i] = TextEdit(u"E_OBS"_s + QString::number(i + 1), page);
        recomputeOnLeave(m_obs[i]);
        obs->addRow(u"OBS:"_s, m_obs[i]);
    }
    layout->addLayout(obs);
    layout->addStretch();
    return page;
}

QWidget* SettlementWindow::buildGridTab(bool exits) {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    Side& side = exits ? m_exits : m_entries;
    const QString suffix = exits ? u"SAI"_s : u"ENT"_s;

    auto* top = new QHBoxLayout;
    auto* recalc = Button(u"BU_RECALCULAR"_s + suffix, u"Recalcular"_s, page);
    side.analytic = new QCheckBox(u"Analítico"_s, page);
    side.analytic->setObjectName(u"CB_ANALITICO"_s + suffix);
    top->addWidget(recalc);
    top->addWidget(side.analytic);
    if (m_book.ipi) {
        side.archive = new QCheckBox(u"Arquivo"_s, page);
        side.archive->setObjectName(u"CB_ARQUIVO"_s + suffix);
        top->addWidget(side.archive);
    }
    side.filter = TextEdit(u"E_FILTRO"_s + suffix, page);
    top->addWidget(
        addFilterLink(u"LA_FILTROS"_s + suffix, side.filter, exits ? u"PDS"_s : u"PDE"_s));
    top->addWidget(side.filter, 1);
    layout->addLayout(top);

    side.grid = new QTableWidget(0, 7, page);
    side.grid->setObjectName(u"SG_"_s + (exits ? u"SAIDA"_s : u"ENTRADA"_s));
    side.grid->setHorizontalHeaderLabels(NatureGrid::Titles());
    // The amounts and the nature take what they need; "Historico" the rest.
    side.grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    side.grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    // Hidden by "Arquivo", the grid keeps its room: the row above stays put.
    QSizePolicy keepRoom = side.grid->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    side.grid->setSizePolicy(keepRoom);
    layout->addWidget(side.grid, 1);

    connect(recalc, &QPushButton::clicked, this, [this, exits] { recalcSide(exits); });
    if (side.archive) connect(side.archive, &QCheckBox::toggled, side.grid, &QWidget::setHidden);
    return page;
}

MonthData SettlementWindow::month() const {
    MonthData month;
    for (const Side* side : {&m_entries, &m_exits}) {
        const bool exits = side == &m_exits;
        QMap<int, qint64>& boxes = exits ? month.exits : month.entries;
        QMap<int, QString>& descriptions = exits ? month.exitDescriptions : month.entryDescriptions;
        for (auto it = side->boxes.cbegin(); it != side->boxes.cend(); ++it)
            boxes.insert(it.key(), ParseAmount(it.value()->text()));
        for (auto it = side->descriptions.cbegin(); it != side->descriptions.cend(); ++it)
            descriptions.insert(it.key(), it.value()->text());
        (exits ? month.exitsTotal : month.entriesTotal) = ParseAmount(side->total->text());
        (exits ? month.exitsGrid : month.entriesGrid) = ReadGrid(side->grid);
    }
    month.box29 = ParseAmount(m_box29->text());
    month.box30 = ParseAmount(m_box30->text());
    for (int i = 0; i < 3; ++i)
        month.obs[i] = m_obs[i]->text();
    for (int g = 0; g < 4; ++g)
        month.guides[g] = {m_guides[g][0]->text(), m_guides[g][1]->text(), m_guides[g][2]->text(),
                           m_guides[g][3]->text()};
    return month;
}

void SettlementWindow::showBoxes(const MonthData& month) {
    for (Side* side : {&m_entries, &m_exits}) {
        const bool exits = side == &m_exits;
        const QMap<int, qint64>& boxes = exits ? month.exits : month.entries;
        for (auto it = side->boxes.cbegin(); it != side->boxes.cend(); ++it)
            it.value()->setText(FormatAmount(boxes.value(it.key())));
        side->total->setText(FormatAmount(exits ? month.exitsTotal : month.entriesTotal));
    }
    m_box29->setText(BalanceText(month, 29));
    m_box30->setText(BalanceText(month, 30));
}

void SettlementWindow::showMonth(const MonthData& month) {
    showBoxes(month);
    for (Side* side : {&m_entries, &m_exits}) {
        const bool exits = side == &m_exits;
        const QMap<int, QString>& descriptions =
            exits ? month.exitDescriptions : month.entryDescriptions;
        for (auto it = side->descriptions.cbegin(); it != side->descriptions.cend(); ++it)
            it.value()->setText(descriptions.value(it.key()));
        ShowGrid(side->grid, exits ? month.exitsGrid : month.entriesGrid);
    }
    for (int i = 0; i < 3; ++i)
        m_obs[i]->setText(month.obs[i]);
    for (int g = 0; g < 4; ++g) {
        const Guide& guide = month.guides[g];
        const std::array<QString, 4> parts{guide.number, guide.date, guide.value, guide.agency};
        for (int part = 0; part < 4; ++part)
            m_guides[g][part]->setText(parts[part]);
    }
}

void SettlementWindow::loadMonth() {
    const QString start = m_start->displayText();
    if (start.mid(3, 2).trimmed().isEmpty()) return;
    showMonth(LoadMonth(m_book, start));
    m_monthStart = start;
    m_reload->setChecked(false);
}

void SettlementWindow::recomputeSummary() {
    MonthData current = month();
    RecomputeSummary(current);
    showBoxes(current);
}

void SettlementWindow::recalcSide(bool exits) {
    Side& side = exits ? m_exits : m_entries;
    MonthData current = month();
    RecalcInput input{m_start->displayText(), m_end->displayText(), side.filter->text(),
                      side.analytic->isChecked()};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const RecalcResult result =
        exits ? RecalcExits(m_book, input, current) : RecalcEntries(m_book, input, current);
    QApplication::restoreOverrideCursor();
    showRecalcResult(side, input.filter, result);
    ShowGrid(side.grid, exits ? current.exitsGrid : current.entriesGrid);
    showBoxes(current);
}

void SettlementWindow::showRecalcResult(Side& side, const QString& filter,
                                        const RecalcResult& result) {
    if (m_book.ipi) return;
    side.filter->setText(filter); // "#" made blanks
    side.filter->setToolTip(result.condition);
    side.raw->setResult(result);
}

void SettlementWindow::recalcAll() {
    if (!datesUsable()) return;
    m_busy = true;
    for (Side* side : {&m_entries, &m_exits}) {
        m_tabs->setCurrentWidget(side == &m_exits ? m_exitsGridTab : m_entriesGridTab);
        side->analytic->setChecked(false);
        if (side->archive) side->archive->setChecked(false);
    }
    const QString start = m_start->displayText();
    QString entriesFilter = m_entries.filter->text(), exitsFilter = m_exits.filter->text();
    MonthData current = month();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const MonthRecalc recalc = RecalculateAndSave(m_book, start, m_end->displayText(),
                                                  entriesFilter, exitsFilter, current);
    QApplication::restoreOverrideCursor();
    showRecalcResult(m_entries, entriesFilter, recalc.entries);
    showRecalcResult(m_exits, exitsFilter, recalc.exits);
    m_tabs->setCurrentWidget(m_selection);
    if (recalc.failed()) {
        // Nothing was stored and the tabs keep the month they held.
        platform::ShowError(this, u"A consulta falhou; o mês não foi gravado.\n"_s +
                                      recalc.failures().join(u'\n'));
        m_busy = false;
        return;
    }
    if (!recalc.saved) {
        // The record keeps what it held and the tabs the month they showed.
        platform::ShowError(this, u"O mês não foi gravado. "_s + print::SaveFailedMessage());
        m_busy = false;
        return;
    }
    ShowGrid(m_entries.grid, current.entriesGrid);
    ShowGrid(m_exits.grid, current.exitsGrid);
    showBoxes(current);
    m_busy = false;
    // The month was saved into the start date's record: the tabs now hold
    // that month.
    m_monthStart = start;
    if (!SaveSettlementSettings(m_book, settings()))
        platform::ShowError(this, u"As opções não foram gravadas. "_s + print::SaveFailedMessage());
}

void SettlementWindow::save() {
    recomputeSummary();
    if (!saveSettings())
        platform::ShowError(this, u"O mês não foi gravado. "_s + print::SaveFailedMessage());
}

void SettlementWindow::moveMonth(int months) {
    if (m_book.ipi && (IsBlank(m_start->displayText()) || IsBlank(m_end->displayText()))) return;
    m_start->setText(AddMonths(m_start->displayText(), months));
    // As if the focus had left the start date: the new month is loaded.
    startDateLeft();
}

void SettlementWindow::startDateLeft() {
    const QString start = m_start->displayText();
    if (m_busy || !m_reload->isChecked() || start.contains(u' ')) return;
    if (!IsValidShortDate(start)) {
        m_busy = true; // the message takes the focus: no second one
        platform::ShowError(this, u"Data inválida: "_s + start);
        m_busy = false;
        return;
    }
    m_busy = true;
    m_end->setText(LastDayOfMonth(start));
    loadMonth();
    m_busy = false;
    if (MonthIsEmpty(month())) recalcAll();
}

bool SettlementWindow::datesUsable() {
    if (m_book.ipi && (IsBlank(m_start->displayText()) || IsBlank(m_end->displayText()))) {
        platform::ShowMessage(this, DatesRequired);
        return false;
    }
    for (const QString& date : {m_start->displayText(), m_end->displayText()}) {
        if (!IsBlank(date) && !IsValidShortDate(date)) {
            platform::ShowError(this, u"Data inválida: "_s + date);
            return false;
        }
    }
    return true;
}

void SettlementWindow::print(print::Destination destination) {
    if (!datesUsable()) return;
    const MonthData current = month();
    const BookPeriod period{m_start->displayText(), m_end->displayText(), QString(), QString(),
                            m_page->text()};
    runReport(
        destination, [&](print::PrintJob& job) { PrintSettlement(job, m_book, current, period); },
        BookDocumentName(m_book.code, period.startDate, period.endDate));
}

SettlementSettings SettlementWindow::settings() const {
    return {m_start->displayText(), m_end->displayText(), m_page->text(), m_entries.filter->text(),
            m_exits.filter->text()};
}

void SettlementWindow::loadSettings() {
    const int type = CompanyType();
    if (type >= 0 && type < m_companyType.size()) m_companyType[type]->setChecked(true);
    const SettlementSettings saved = LoadSettlementSettings(m_book);
    m_start->setText(saved.startDate);
    if (!saved.endDate.isEmpty()) m_end->setText(saved.endDate);
    m_page->setText(saved.firstPage);
    m_entries.filter->setText(saved.entriesFilter);
    m_exits.filter->setText(saved.exitsFilter);
    loadMonth();
    m_reload->setChecked(false);
    m_start->setFocus();
}

bool SettlementWindow::saveSettings() {
    bool saved = SaveSettlementSettings(m_book, settings());
    // No month on the tabs yet: nothing of a month to store.
    if (!MonthKey(m_book, m_monthStart).isEmpty())
        saved = SaveMonth(m_book, m_monthStart, month()) && saved;
    return saved;
}

} // namespace livrax::books
