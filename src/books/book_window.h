#pragma once

#include "books/book_dialog.h"
#include "books/book_frame.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QPushButton;

namespace livrax::books {

// The window of the period books: "Dt. Inicial", "Dt. Final", "Campo", the
// "Filtros" link with its text, "Página", the book's own options, and the
// buttons "Visão", "Imprimir" and "Sair", with the conventions of every book
// window (BookDialog). A book subclasses it with its settings and its run.
class BookWindow : public BookDialog {
    Q_OBJECT

  public:
    BookWindow(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

    BookPeriod period() const;
    void setPeriod(const BookPeriod& period);

  protected:
    // Runs the book to "V" (preview) or "P" (printer).
    virtual void runBook(print::Destination destination) = 0;
    // Leaving "Dt. Inicial": each book sets "Campo" and "Dt. Final" its way.
    virtual void startDateLeft() {}

    // False (after telling the user) when a date typed is not a real date;
    // a blank date is allowed.
    bool datesValid();
    // Runs a report on a new job to `destination`, in the preview window,
    // then shows the filter as it was run.
    void runReport(print::Destination destination, const std::function<void(print::PrintJob&)>& report,
                   BookPeriod& period);
    // Adds an option check box with its objectName.
    QCheckBox* addOption(const QString& name, const QString& caption);

    // Where a book adds its option check boxes.
    QFormLayout* options() const { return m_options; }
    QLineEdit* startDateEdit() const { return m_start; }
    QLineEdit* endDateEdit() const { return m_end; }
    QComboBox* fieldCombo() const { return m_field; }
    QLineEdit* filterEdit() const { return m_filter; }

  private:
    QLineEdit* m_start = nullptr;
    QLineEdit* m_end = nullptr;
    QComboBox* m_field = nullptr;
    QLineEdit* m_filter = nullptr;
    QLineEdit* m_page = nullptr;
    QFormLayout* m_options = nullptr;
};

} // namespace livrax::books
