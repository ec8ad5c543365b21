#pragma once

#include "books/book_frame.h"
#include "books/book_settings.h"
#include "print/form_window.h"

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
// window (print::FormWindow). A book subclasses it with its settings and its run;
// its option check boxes come from its LineBookSettings. "Campo" lists the
// DATE columns of `tableCode` and "Filtros" builds a filter on that table.
class BookWindow : public print::FormWindow {
    Q_OBJECT

  public:
    BookWindow(const QString& objectName, const QString& caption, QWidget* parent = nullptr,
               const QString& tableCode = QStringLiteral("PDE"));
    ~BookWindow() override;

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
    void runReport(print::Destination destination,
                   const std::function<void(print::PrintJob&)>& report, BookPeriod& period);
    // Adds an option check box with its objectName.
    QCheckBox* addOption(const QString& name, const QString& caption);
    // Adds a check box for each option of the book, in the table's order.
    template <typename Options> void addOptions(const LineBookSettings<Options>& settings) {
        for (const BookOption<Options>& option : settings.options)
            addOption(option.objectName, option.caption);
    }
    // Shows the book's inputs: the period and every option's box.
    template <typename Options>
    void setInputs(const LineBookSettings<Options>& settings, const Options& options) {
        setPeriod(options.period);
        for (const BookOption<Options>& option : settings.options)
            setOptionChecked(option.objectName, options.*option.field);
    }
    // The book's inputs as the controls hold them.
    template <typename Options> Options inputs(const LineBookSettings<Options>& settings) const {
        Options options;
        options.period = period();
        for (const BookOption<Options>& option : settings.options)
            options.*option.field = optionChecked(option.objectName);
        return options;
    }

    // Where a book adds its option check boxes.
    QFormLayout* options() const { return m_options; }
    QLineEdit* startDateEdit() const { return m_start; }
    QLineEdit* endDateEdit() const { return m_end; }
    QComboBox* fieldCombo() const { return m_field; }
    QLineEdit* filterEdit() const { return m_filter; }

  private:
    // The option check box with that objectName.
    QCheckBox* optionBox(const QString& name) const;
    void setOptionChecked(const QString& name, bool checked);
    bool optionChecked(const QString& name) const;

    QLineEdit* m_start = nullptr;
    QLineEdit* m_end = nullptr;
    QComboBox* m_field = nullptr;
    QLineEdit* m_filter = nullptr;
    QLineEdit* m_page = nullptr;
    QFormLayout* m_options = nullptr;
};

} // namespace livrax::books
