#include "shell/desktop.h"

#include "books/tf_lx53.h"
#include "platform/dialogs.h"
#include "shell/main_window.h"
#include "tools/selection_windows.h"

using namespace Qt::StringLiterals;

namespace livrax::shell {

LivraxApplication::LivraxApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationDisplayName(u"LIVRAX"_s);
}

bool LivraxApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        platform::ShowError(activeWindow(), QString::fromUtf8(error.what()));
    } catch (...) {
        platform::ShowError(activeWindow(), u"Erro inesperado."_s);
    }
    return false;
}

int RunDesktopProgram() {
    tools::RegisterSelectionWindows();
    books::RegisterBookWindows();
    TF_LIVRAXB window;
    window.show();
    return QApplication::exec();
}

} // namespace livrax::shell
