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

// Shows the main window and runs the message loop until it closes. Needs a
// QApplication. Returns the exit status.
int RunDesktopProgram();

} // namespace livrax::shell
