#pragma once

#include "print/print_settings.h"

#include <QDialog>
#include <QList>

#include <functional>

class QLabel;
class QMenu;
class QLineEdit;
class QVBoxLayout;

namespace livrax::print {

class PrintJob;

// What every form window that runs reports shares (the books, the report
// runner, the tax files), whatever its controls: the menu "Arquivo" >
// "Sair" (F12) and the menu "Sair"; Enter moving on to the next control
// (except in multi-line texts and on buttons); the settings read once when
// the window is first shown and written once when it closes (then, for most
// windows, the shared datasets committed; when they cannot be written the user
// is told and the window stays open, and closing it again leaves without
// them); the "Filtros" links that open the
// filter dialog for a filter text; and running a report to a destination.
class FormWindow : public QDialog {
    Q_OBJECT

  public:
    FormWindow(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

  protected:
    virtual void loadSettings() = 0;
    // False when something could not be written.
    virtual bool saveSettings() = 0;

    // The window's main layout, under the menu.
    QVBoxLayout* mainLayout() const { return m_layout; }
    // Whether closing commits the shared datasets after saving (most windows).
    void setCommitOnClose(bool commit) { m_commitOnClose = commit; }
    // Makes Enter move on in every control built so far; subclasses call it
    // at the end of their constructor.
    void installConventions();
    // A bold "Filtros" label with a hand cursor; a click opens the filter
    // dialog in `mode` ("SQL" or "EXE") with `tableCode` and the text of
    // `filter`, whose result replaces it. `fieldPrefix` ("PIE.") is put
    // before the columns the dialog offers, for a filter that lands in a
    // query naming its table so.
    QLabel* addFilterLink(const QString& objectName, QLineEdit* filter, const QString& tableCode,
                          const QString& mode = QStringLiteral("SQL"),
                          const QString& fieldPrefix = {});
    // The menu "Arquivo", which ends with "Sair".
    QMenu* fileMenu() const { return m_fileMenu; }
    // Runs a report on a new interactive job to `destination`; a file made
    // of it is called `documentName` unless the user says otherwise.
    // `adjust`, when given, sets the job's settings further before the run
    // (a report's own title, fonts, margins); `reprint` replaces the
    // preview's "Imprimir" (print::RunReport).
    void runReport(print::Destination destination,
                   const std::function<void(print::PrintJob&)>& report, const QString& documentName,
                   const std::function<void(PrintSettings&)>& adjust = {},
                   const std::function<void()>& reprint = {});

    // A row of buttons under what the window built so far: one per
    // destination in the order given ("Visão" BU_VISAO for the preview,
    // "Imprimir" BU_IMPRIMIR for the printer), each calling `run` with it,
    // then "Sair" (BU_SAIR) closing the window.
    void addRunButtons(const QList<Destination>& order,
                       const std::function<void(Destination)>& run);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Esc (QDialog's reject) does nothing: the window closes only through
    // "Sair" and F12, which save.
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // False when the window must stay open: the save failed (and the user
    // was told).
    bool saveOnce();

    QVBoxLayout* m_layout = nullptr;
    QMenu* m_fileMenu = nullptr;
    bool m_commitOnClose = true;
    bool m_loaded = false;
    bool m_saved = false;
    bool m_leaveUnsaved = false; // a save failed once: the next close leaves
};

// What the user is told when a save failed.
QString SaveFailedMessage();

// A date field typed as dd/mm/yy; a blank one reads "  /  /  ". It takes
// the typing as soon as it gets the focus (the text selected, the cursor at
// its start).
QLineEdit* NewDateEdit(const QString& objectName, QWidget* parent);

} // namespace livrax::print
