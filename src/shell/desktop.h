#pragma once

#include <QApplication>

namespace livrax::shell {

// The desktop program's application object: an error that a window did not
// handle is shown in the program's error box instead of ending the program.
class LivraxApplication : public QApplication {
  public:
    LivraxApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

class TF_LIVRAXB;

// Shows the main window and runs the message loop until it closes. Needs a
// QApplication. Returns the exit status.
int RunDesktopProgram();

// Shows `window` and runs the message loop until it closes: closing the main
// window ends the loop whatever else is still on the screen (a window left
// visible would otherwise keep the process running after the last window
// the user sees has gone).
int RunMainWindow(TF_LIVRAXB& window);

} // namespace livrax::shell
