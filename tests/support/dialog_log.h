#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace livrax::test {

// Records every dialog shown while it lives: message and error boxes, the
// input box, any window of the program (every one of them is a QDialog),
// whether it was shown through the platform helpers, the window registry or
// directly. A test checks that no dialog appeared by reading the record
// right after the action, with no waiting: a dialog shown by the action is
// in it, however late in the action it came.
class DialogLog : public QObject {
  public:
    enum class Boxes {
        Close, // each dialog is closed as soon as its event loop runs, so one
               // that should not have appeared cannot hold the test up
        Leave  // the test handles the dialogs it expects itself
    };

    explicit DialogLog(Boxes boxes = Boxes::Close);
    ~DialogLog() override;

    struct Shown {
        QString name; // objectName, e.g. "ERROR_BOX", "TF_INPUT", "TF_PRINT"
        QString text; // a message box's text, an input box's prompt
    };
    // What was shown so far, in order. The events already posted are
    // delivered first (nothing is waited for), so that a dialog the action
    // queued for later is counted too.
    const QList<Shown>& shown();
    // The object names of shown(), in order.
    QStringList names();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Boxes m_boxes;
    QList<Shown> m_shown;
};

} // namespace livrax::test
