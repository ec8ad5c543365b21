#include "books/tf_lx70.h"

#include "books/lx70_settings.h"
#include "common/dates.h"
#include "common/fields.h"
#include "common/numbers.h"
#include "common/text.h"
#include "platform/dialogs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace livrax::books {

using namespace Qt::StringLiterals;

namespace {

QLineEdit* NewEdit(QWidget* parent, const QString& name, const QString& text = {}) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    return edit;
}

// Leaving an amount field writes it again with its width and decimals.
void Reformat(QLineEdit* edit, int width, int decimals) {
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit, width, decimals] {
        edit->setText(FormatScaled(ToScaled(edit->text().trimmed(), decimals), width, decimals));
    });
}

qint64 Amount(const QLineEdit* edit) {
    return ToScaled(edit->text().trimmed(), 2);
}

} // namespace

TF_LX70::TF_LX70(QWidget* parent)
    : BookWindow(u"TF_LX70"_s, u"F_LX70 - Livro de ISSQN"_s, parent, u"PDS"_s) {
    QFormLayout* form = options();
    m_rate = NewEdit(this, u"E_ALIQUOTA"_s, u"0"_s);
    m_subcontracted = NewEdit(this, u"E_SUBEMPREITADAS"_s, u"0"_s);
    m_method = new QComboBox(this);
    m_method->setObjectName(u"CB_CALCULO"_s);
    m_method->addItems({u"0 - Na Impressão"_s, u"1 - Do Cadastro"_s, u"2 - Calculado"_s});
    m_value = new QComboBox(this);
    m_value->setObjectName(u"CB_VALOR"_s);
    m_value->addItems({u"0 - Líquido"_s, u"1 - Bruto"_s});
    m_professionals = NewEdit(this, u"E_PROFISSIONAIS"_s, u"0"_s);
    m_issValue = NewEdit(this, u"E_VALORISS"_s, u"0"_s);
    m_paymentDate = print::NewDateEdit(u"E_DTRECOLHIMENTO"_s, this);
    m_withheld = NewEdit(this, u"E_RETIDO"_s, u"0"_s);
    m_note = NewEdit(this, u"E_OBS"_s);
    m_withheldCalc = NewEdit(this, u"E_RETIDOCALC"_s, u"0"_s);
    m_withheldCalc->setReadOnly(true);
    form->addRow(u"Aliquota"_s, m_rate);
    form->addRow(u"(-) Subempreitadas "_s, m_subcontracted);
    form->addRow(u"Cálculo"_s, m_method);
    form->addRow(u"Valor"_s, m_value);
    form->addRow(u"Número Profissionais"_s, m_professionals);
    form->addRow(u"Valor do ISSQN"_s, m_issValue);
    form->addRow(u"Dt. Recolhimento"_s, m_paymentDate);
    form->addRow(u"Total do Imp.Retido"_s, m_withheld);
    form->addRow(u"Obs:"_s, m_note);
    form->addRow(u"ISSQN Retido Calc"_s, m_withheldCalc);
    addOptions(LX70Settings());
    auto* retido = new QPushButton(u"Retido"_s, this);
    retido->setObjectName(u"BU_RETIDO"_s);
    retido->setAutoDefault(false);
    form->addRow(retido);
    connect(retido, &QPushButton::clicked, this, [this] { withheld(); });
    Reformat(m_rate, 6, 2);
    Reformat(m_subcontracted, 15, 2);
    Reformat(m_professionals, 7, 0);
    Reformat(m_issValue, 12, 2);
    installConventions();
}

LX70Options TF_LX70::bookInputs() const {
    LX70Options options = inputs(LX70Settings());
    options.rate = Amount(m_rate);
    options.subcontracted = Amount(m_subcontracted);
    options.method = LX70Method(std::max(0, m_method->currentIndex()));
    options.gross = m_value->currentIndex() == 1;
    options.professionals = std::max(0, ToInt(m_professionals->text()));
    options.issValue = Amount(m_issValue);
    options.paymentDate = m_paymentDate->displayText();
    options.withheld = Amount(m_withheld);
    options.note = m_note->text();
    return options;
}

void TF_LX70::setBookInputs(const LX70Options& options) {
    setInputs(LX70Settings(), options);
    m_rate->setText(FormatScaled(options.rate, 6, 2));
    m_method->setCurrentIndex(int(options.method));
    m_value->setCurrentIndex(options.gross ? 1 : 0);
    m_professionals->setText(FormatDecimal(QString::number(options.professionals), 7, 0));
    m_issValue->setText(FormatScaled(options.issValue, 12, 2));
    m_paymentDate->setText(options.paymentDate);
    m_note->setText(options.note);
}

void TF_LX70::loadSettings() {
    setBookInputs(LoadBookSettings(LX70Settings()));
    if (fieldCombo()->currentText().trimmed().isEmpty())
        fieldCombo()->setFocus();
    else
        startDateEdit()->setFocus();
}

bool TF_LX70::saveSettings() {
    return SaveBookSettings(LX70Settings(), bookInputs());
}

void TF_LX70::startDateLeft() {
    const QDate date = ParseDate(startDateEdit()->displayText());
    if (date.isValid()) startDateEdit()->setText(FormatShortDate(date));
    if (fieldCombo()->currentText().trimmed().isEmpty())
        fieldCombo()->setCurrentText(DefaultDateField());
    const QString start = startDateEdit()->displayText();
    if (IsBlank(start)) return;
    const QString end = LastDayOfMonth(u"01"_s + start.mid(2, 6));
    if (!end.isEmpty()) endDateEdit()->setText(end);
    m_paymentDate->setText(LX70PaymentDate(m_paymentDate->displayText(), start));
}

void TF_LX70::showTable(const LX70DayTable& table) {
    m_withheldCalc->setText(FormatScaled(table.withheldCalc, 12, 2));
}

std::optional<LX70DayTable> TF_LX70::withheld() {
    if (!datesValid()) return std::nullopt;
    LX70Options options = bookInputs();
    try {
        const LX70DayTable table = LX70Withheld(options);
        showTable(table);
        return table;
    } catch (const BookError& error) {
        platform::ShowError(this, error.message());
        return std::nullopt;
    }
}

void TF_LX70::runBook(print::Destination destination) {
    if (!datesValid()) return;
    LX70Options options = bookInputs();
    // "Retido" runs with the book, so the preview's reprint reads the days again.
    runReport(
        destination, [this, &options](print::PrintJob& run) { showTable(PrintLX70(run, options)); },
        options.period);
}

} // namespace livrax::books
