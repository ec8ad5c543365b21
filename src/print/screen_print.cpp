#include "print/screen_print.h"

#include "data/user_flags.h"
#include "platform/print_screen.h"

namespace livrax::print {

void PrintScreen(QWidget* window) {
    platform::PrintScreen(window, platform::ScreenPrintModeOf(data::UserScreenPrintMode()));
}

} // namespace livrax::print
