#include "shell/desktop.h"

#include "books/tf_lx53.h"
#include "common/line_files.h"
#include "efiles/tf_dh_pds.h"
#include "efiles/tf_rev_sintegra.h"
#include "efiles/tf_sintegra2004.h"
#include "platform/dialogs.h"
#include "platform/stop_signals.h"
#include "print/tf_edit.h"
#include "print/tf_email.h"
#include "registers/tf_cae.h"
#include "reports/report_windows.h"
#include "shell/main_window.h"
#include "shell/tf_usuario.h"
#include "tools/selection_windows.h"
#include "tools/tf_hlp.h"
#include "tools/tf_mpa.h"
#include "tools/tf_pesqc.h"

using namespace Qt::StringLiterals;

namespace livrax::shell {

LivraxApplication::LivraxApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // No application display name: the windows' titles are their own
    // captions, without the program's name added after them. Qt's own texts
    // are loaded in Portuguese by main().
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
    tools::RegisterQueryWindows();
    tools::RegisterMaintenanceWindow();
    tools::RegisterHelpWindows();
    books::RegisterBookWindows();
    efiles::RegisterEfilesWindows();
    efiles::RegisterSintegraWindows();
    registers::RegisterRegisterWindows();
    efiles::RegisterReversalWindows();
    reports::RegisterReportWindows();
    RegisterUserWindows();
    print::RegisterEditorWindow();
    print::RegisterEmailWindow();
    // A line file that cannot be read or written is reported in a message
    // box, which the user answers before the next try.
    SetLineFileNotice([](const QString& message) {
        platform::ShowMessage(QApplication::activeWindow(), message);
    });
    TF_LIVRAXB window;
    // A stop signal ends every event loop (a report running in the preview
    // stops at its next row and leaves no output); then the main window
    // closes through the shut-down chain.
    platform::OnStopSignal([] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    });
    const int status = RunMainWindow(window);
    return platform::StopRequested() ? 1 : status;
}

int RunMainWindow(TF_LIVRAXB& window) {
    QGuiApplication::setQuitOnLastWindowClosed(true);
    // Not left to "last window closed" alone: any other top-level window
    // still visible (a box or a preview left open behind the main window)
    // would keep the loop, and the process, alive.
    QObject::connect(&window, &TF_LIVRAXB::closed, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
    window.show();
    const int status = QApplication::exec();
    window.close();
    return status;
}

} // namespace livrax::shell
