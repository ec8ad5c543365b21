#include "books/tf_lx55.h"

#include "books/invoice_book_settings.h"
#include "common/dates.h"
#include "common/text.h"

#include <QComboBox>
#include <QLineEdit>

namespace livrax::books {

using namespace Qt::StringLiterals;

TF_LX55::TF_LX55(QWidget* parent)
    : BookWindow(u"TF_LX55"_s, u"F_LX55 - REGISTRO DE SAÍDA"_s, parent) {
    addOptions(LX55Settings());
}

void TF_LX55::loadSettings() {
    setInputs(LX55Settings(), LoadBookSettings(LX55Settings()));
}

bool TF_LX55::saveSettings() {
    return SaveBookSettings(LX55Settings(), inputs(LX55Settings()));
}

void TF_LX55::startDateLeft() {
    if (fieldCombo()->currentText().trimmed().isEmpty()) fieldCombo()->setCurrentText(u"DTNOTA"_s);
    const QString start = startDateEdit()->displayText();
    if (IsBlank(start)) return;
    // The last day of the start date's month, without checking the day typed
    // (31/02/04 gives 29/02/04); a month that is no date leaves "Dt. Final".
    const QString end = LastDayOfMonth(u"01"_s + start.mid(2, 6));
    if (!end.isEmpty()) endDateEdit()->setText(end);
}

void TF_LX55::runBook(print::Destination destination) {
    if (!datesValid()) return;
    LX55Options options = inputs(LX55Settings());
    runReport(
        destination, [&options](print::PrintJob& run) { PrintLX55(run, options); }, options.period);
}

} // namespace livrax::books
