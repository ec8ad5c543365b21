#pragma once
// The browse/edit state of the register windows. A register window names its
// controls by role (BU_NOVO, BU_SALVA, PA_CADASTRO..., ED_PESQ, LA_IAE) and,
// whenever the user starts, saves or cancels an action, hands the action to
// SetRecordMode, which enables and disables the controls by those names so
// that the window is always browsing (CONSULTA), inserting (INCLUSÃO),
// changing (ALTERAÇÃO) or closed.

#include <QString>

class QWidget;

namespace livrax::tools {

// How the window's record buttons are laid out.
enum class RecordButtons {
    // Buttons on a panel: the panels of data fields, the search field and
    // the mode label follow the mode too.
    Panel,
    // Tool-bar buttons (widgets or actions): only the named buttons change.
    ToolBar
};

// Sets the window's controls for `action`, one of "BU_NOVO", "BU_ALTERA",
// "BU_SALVA", "BU_EXCLUI", "BU_OPEN" and "BU_CLOSE"; any other text changes
// nothing. Controls are found among the window's descendants (widgets and
// actions) by objectName; a window without some of them is handled as well.
//   BU_NOVO, BU_ALTERA     only Save and Delete usable, data panels enabled,
//                          search field off, label INCLUSÃO / ALTERAÇÃO.
//   BU_SALVA, BU_EXCLUI,   browsing: everything but Open, Save and Delete
//   BU_OPEN                usable, data panels off, search field on, label
//                          CONSULTA.
//   BU_CLOSE               only Open and Exit usable, panels and search field
//                          off, label unchanged.
// The tool-bar variant applies the same button states and leaves panels,
// search field and label alone.
void SetRecordMode(QWidget* window, const QString& action,
                   RecordButtons buttons = RecordButtons::Panel);

} // namespace livrax::tools
