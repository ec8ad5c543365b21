#pragma once

#include "shell/main_menu.h"

#include <QHash>
#include <QMainWindow>

class QLabel;
class QToolButton;

namespace livrax::shell {

// The main window: company name, tool bar of the most used books and the
// main menu. Every command opens one modal window through the window
// registry; showing the window the first time runs the start-up chain and
// closing it runs the shut-down chain.
class TF_LIVRAXB : public QMainWindow {
    Q_OBJECT

  public:
    explicit TF_LIVRAXB(QWidget* parent = nullptr);

    // Runs a command of the menu or the tool bar.
    void runCommand(const QString& command, const QStringList& arguments = {});

    // The access-level list last typed in "Senhas" during this run.
    const QString& passwordLevels() const { return m_passwordLevels; }

  Q_SIGNALS:
    // The window has closed, after the shut-down chain: the program ends.
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildToolBar(QWidget* panel);
    void buildMenu();
    void addEntries(class QMenu* menu, const QList<MenuEntry>& entries);
    void startProgram();
    void askPasswordLevels();
    void exitProgram();

    QLabel* m_companyLabel = nullptr;
    QHash<QString, QToolButton*> m_lockedButtons; // command -> its tool button
    QString m_passwordLevels;
    bool m_started = false;
    bool m_shutDown = false;
};

} // namespace livrax::shell
