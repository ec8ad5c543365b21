#pragma once

#include "books/book_frame.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace livrax::books {

// The window every period book shares: "Dt. Inicial", "Dt. Final",
// "Campo", the "Filtros" link with its text, "Página", the book's own
// options, and the buttons "Visão", "Imprimir" and "Sair". Enter moves to
// the next control; F12, the "Sair" items and the button close the window,
// which saves the settings and commits the shared datasets. A book
// subclasses it with its settings and its run.
class BookWindow : public QDialog {
    Q_OBJECT

  public:
    BookWindow(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

    BookPeriod period() const;
    void setPeriod(const BookPeriod& period);

  protected:
    // Reads the saved settings into the controls (when the window is shown)
    // and writes them back (when it closes).
    virtual void loadSettings() = 0;
    virtual void saveSettings() = 0;
    // Runs the book to "V" (preview) or "P" (printer).
    virtual void runBook(const QString& destination) = 0;
    // Leaving "Dt. Inicial": each book sets "Campo" and "Dt. Final" its way.
    virtual void startDateLeft() {}

    // False (after telling the user) when a date typed is not a real date;
    // a blank date is allowed.
    bool datesValid();
    // Runs a report on a new job to `destination`, in the preview window,
    // then shows the filter as it was run.
    void runReport(const QString& destination, const std::function<void(print::PrintJob&)>& report,
                   BookPeriod& period);
    // Adds an option check box with its objectName.
    QCheckBox* addOption(const QString& name, const QString& caption);

    // Where a book adds its option check boxes.
    QFormLayout* options() const { return m_options; }
    QLineEdit* startDateEdit() const { return m_start; }
    QLineEdit* endDateEdit() const { return m_end; }
    QComboBox* fieldCombo() const { return m_field; }
    QLineEdit* filterEdit() const { return m_filter; }

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void openFilterDialog();

    QLineEdit* m_start = nullptr;
    QLineEdit* m_end = nullptr;
    QComboBox* m_field = nullptr;
    QLineEdit* m_filter = nullptr;
    QLineEdit* m_page = nullptr;
    QFormLayout* m_options = nullptr;
    bool m_loaded = false;
    bool m_saved = false;
};

} // namespace livrax::books
