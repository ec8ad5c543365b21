#pragma once

class QToolButton;

namespace livrax::platform {

// A flat (auto-raised) tool button shows no focus frame in most styles, so a
// user moving through a window with Tab loses sight of where Enter or Space
// will land. While it has the keyboard focus such a button is drawn raised,
// and flat again when the focus leaves it.
void RaiseWhileFocused(QToolButton* button);

} // namespace livrax::platform
