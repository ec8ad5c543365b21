#include "books/tf_lx55.h"

#include "books/lx55.h"
#include "common/dates.h"
#include "common/text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace livrax::books {

using namespace Qt::StringLiterals;

const LineBookSettings& TF_LX55::Settings() {
    // Lines 7 to 10: IPI, company (only when saved checked), ICM, substitution.
    static const LineBookSettings settings{u"PAR_LX55"_s, u"PDS"_s, 20, {true, false, true, true}};
    return settings;
}

TF_LX55::TF_LX55(QWidget* parent)
    : BookWindow(u"TF_LX55"_s, u"F_LX55 - REGISTRO DE SAÍDA"_s, parent) {
    m_ipi = addOption(u"CB_IPI"_s, u"Imprimir IPI"_s);
    m_company = addOption(u"CB_EMPRESA"_s, u"Imprimir Empresa"_s);
    m_icm = addOption(u"CB_ICM"_s, u"Imprimir ICM"_s);
    m_st = addOption(u"CB_ST"_s, u"Imprimir Subst.Tribut."_s);
}

void TF_LX55::loadSettings() {
    const LoadedBookSettings loaded = LoadBookSettings(Settings());
    setPeriod(loaded.period);
    m_ipi->setChecked(loaded.checks.value(0));
    m_company->setChecked(loaded.checks.value(1));
    m_icm->setChecked(loaded.checks.value(2));
    m_st->setChecked(loaded.checks.value(3));
}

void TF_LX55::saveSettings() {
    SaveBookSettings(
        Settings(), period(),
        {m_ipi->isChecked(), m_company->isChecked(), m_icm->isChecked(), m_st->isChecked()});
}

void TF_LX55::startDateLeft() {
    if (fieldCombo()->currentText().trimmed().isEmpty()) fieldCombo()->setCurrentText(u"DTNOTA"_s);
    const QString start = startDateEdit()->displayText();
    if (IsBlank(start)) return;
    // The last day of the start date's month, without the full date check.
    const QDate first = ParseDate(u"01"_s + start.mid(2, 6));
    if (first.isValid()) endDateEdit()->setText(FormatShortDate(first.addMonths(1).addDays(-1)));
}

void TF_LX55::runBook(print::Destination destination) {
    if (!datesValid()) return;
    LX55Options options;
    options.period = period();
    options.printIpi = m_ipi->isChecked();
    options.printCompany = m_company->isChecked();
    options.printIcm = m_icm->isChecked();
    options.printSt = m_st->isChecked();
    runReport(
        destination, [&options](print::PrintJob& run) { PrintLX55(run, options); }, options.period);
}

} // namespace livrax::books
