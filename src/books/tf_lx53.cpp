#include "books/tf_lx53.h"

#include "books/lx53.h"
#include "books/tf_lx55.h"
#include "books/tf_lx56.h"
#include "books/tf_lx57.h"
#include "common/text.h"
#include "platform/dialogs.h"
#include "platform/window_registry.h"
#include "print/report_runner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

namespace livrax::books {

using namespace Qt::StringLiterals;

const LineBookSettings& TF_LX53::Settings() {
    static const LineBookSettings settings{u"PAR_LX53"_s, u"PDE"_s, 15, {true, true}};
    return settings;
}

TF_LX53::TF_LX53(QWidget* parent)
    : BookWindow(u"TF_LX53"_s, u"F_LX53 - REGISTRO DE ENTRADA"_s, parent) {
    m_ipi = addOption(u"CB_IPI"_s, u"Imprimir IPI"_s);
    m_icm = addOption(u"CB_ICM"_s, u"Imprimir ICM"_s);
}

void TF_LX53::loadSettings() {
    const LoadedBookSettings loaded = LoadBookSettings(Settings());
    setPeriod(loaded.period);
    m_ipi->setChecked(loaded.checks.value(0, true));
    m_icm->setChecked(loaded.checks.value(1, true));
}

void TF_LX53::saveSettings() {
    SaveBookSettings(Settings(), period(), {m_ipi->isChecked(), m_icm->isChecked()});
}

void TF_LX53::startDateLeft() {
    if (fieldCombo()->currentText().trimmed().isEmpty()) fieldCombo()->setCurrentText(u"DATA"_s);
    endDateEdit()->setText(monthEnd(startDateEdit()->displayText()));
}

void TF_LX53::runBook(print::Destination destination) {
    if (!datesValid()) return;
    LX53Options options;
    options.period = period();
    options.printIpi = m_ipi->isChecked();
    options.printIcm = m_icm->isChecked();
    runReport(
        destination, [&options](print::PrintJob& run) { PrintLX53(run, options); }, options.period);
}

void RegisterBookWindows() {
    platform::RegisterWindow(u"LX53"_s, [](QWidget* parent, const QStringList&) {
        TF_LX53 window(parent);
        window.exec();
    });
    platform::RegisterWindow(u"LX55"_s, [](QWidget* parent, const QStringList&) {
        TF_LX55 window(parent);
        window.exec();
    });
    platform::RegisterWindow(u"LX56"_s, [](QWidget* parent, const QStringList&) {
        TF_LX56 window(parent);
        window.exec();
    });
    platform::RegisterWindow(u"LX57"_s, [](QWidget* parent, const QStringList&) {
        TF_LX57 window(parent);
        window.exec();
    });
}

} // namespace livrax::books
