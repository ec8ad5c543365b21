#include "tools/selection_windows.h"

#include "data/returned_values.h"
#include "platform/window_registry.h"
#include "tools/selection.h"
#include "tools/tf_selc.h"
#include "tools/tf_self.h"

#include <type_traits>

using namespace Qt::StringLiterals;

namespace livrax::tools {

namespace {

// The arguments: mode, source, the current result and, for the filter
// dialog, the prefix of the columns it offers ("PIE.").
template <typename Dialog> void Launch(QWidget* parent, const QStringList& arguments) {
    SelHandOver& selection = Selection();
    selection.selMode = arguments.value(0);
    selection.selSource = arguments.value(1);
    selection.selResult = arguments.value(2);
    selection.selSizes.clear();
    Dialog dialog(parent);
    if constexpr (std::is_same_v<Dialog, TF_SELF>) dialog.setFieldPrefix(arguments.value(3));
    const bool accepted = dialog.exec() == QDialog::Accepted;
    data::ReturnedValueList& returned = data::ReturnedValues();
    returned.values[0] = selection.selResult;
    returned.values[1] = selection.selSizes;
    returned.rowChosen = accepted;
}

} // namespace

void RegisterSelectionWindows() {
    platform::RegisterWindow(u"SELF"_s, &Launch<TF_SELF>);
    platform::RegisterWindow(u"SELC"_s, &Launch<TF_SELC>);
}

} // namespace livrax::tools
