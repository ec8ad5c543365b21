#include "books/tf_lx53.h"

#include "books/invoice_book_settings.h"
#include "books/tf_lx40.h"
#include "books/tf_lx52.h"
#include "books/tf_lx55.h"
#include "books/tf_lx56.h"
#include "books/tf_lx57.h"
#include "books/tf_lx64.h"
#include "books/tf_lx67.h"
#include "books/tf_lx70.h"
#include "common/dates.h"
#include "common/text.h"
#include "platform/dialogs.h"
#include "platform/window_registry.h"
#include "print/report_runner.h"

#include <QComboBox>
#include <QLineEdit>

namespace livrax::books {

using namespace Qt::StringLiterals;

TF_LX53::TF_LX53(QWidget* parent)
    : BookWindow(u"TF_LX53"_s, u"F_LX53 - REGISTRO DE ENTRADA"_s, parent) {
    addOptions(LX53Settings());
}

void TF_LX53::loadSettings() {
    setInputs(LX53Settings(), LoadBookSettings(LX53Settings()));
}

bool TF_LX53::saveSettings() {
    return SaveBookSettings(LX53Settings(), inputs(LX53Settings()));
}

void TF_LX53::startDateLeft() {
    if (fieldCombo()->currentText().trimmed().isEmpty()) fieldCombo()->setCurrentText(u"DATA"_s);
    // Empty when the start date is not a complete valid date.
    endDateEdit()->setText(LastDayOfMonthShort(startDateEdit()->displayText()));
}

void TF_LX53::runBook(print::Destination destination) {
    if (!datesValid()) return;
    LX53Options options = inputs(LX53Settings());
    runReport(
        destination, [&options](print::PrintJob& run) { PrintLX53(run, options); }, options.period);
}

void RegisterBookWindows() {
    platform::RegisterWindow(u"LX40"_s, [](QWidget* parent, const QStringList&) {
        TF_LX40 window(parent);
        window.exec();
    });
    platform::RegisterWindow(u"LX64"_s, [](QWidget* parent, const QStringList&) {
        TF_LX64 window(parent);
        window.exec();
    });
    platform::RegisterWindow(u"LX67"_s, [](QWidget* parent, const QStringList&) {
        TF_LX67 window(parent);
        window.exec();
    });
    platform::RegisterWindow(u"LX52"_s, [](QWidget* parent, const QStringList&) {
        TF_LX52 window(parent);
        window.exec();
    });
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
    platform::RegisterWindow(u"LX70"_s, [](QWidget* parent, const QStringList&) {
        TF_LX70 window(parent);
        window.exec();
    });
}

} // namespace livrax::books
