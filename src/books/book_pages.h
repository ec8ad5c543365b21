#pragma once

#include "print/print_job.h"

#include <functional>

namespace livrax::books {

// The pages of one book run. A fiscal book page always carries its header and
// number, whatever breaks it: every line a book prints, totals and subtotals
// included, starts with line(), which prints the book's header block first on
// a page that has none yet (the job breaks pages on its own in newLine).
//
// The advance to the next line is taken when the next line starts: a book
// whose last line fills a page ends there, and a new part starts on the next
// page, without leaving an empty page behind. Texts and rules of a line are
// drawn after its line(), at the job's current row.
class BookPages {
  public:
    explicit BookPages(print::PrintJob& job) : m_job(job) {}
    BookPages(const BookPages&) = delete;
    BookPages& operator=(const BookPages&) = delete;

    print::PrintJob& job() const { return m_job; }

    // What a page gets before its first line: the book's page header and
    // column titles, ending with the job's headerPrinted().
    void setHeaderBlock(std::function<void()> headerBlock);

    // Starts a line: the advance left by the previous one (which may break
    // the page), then the header block when the page has none. False when
    // the job is cancelled: nothing more is printed.
    bool line();
    // Ends a line; the next line() advances.
    void newLine();
    // A rule under what was printed, where the next line would start, drawn
    // without taking that line: a rule that closes the book never opens a
    // page of its own.
    void ruleBelow();
    // Places the next line at `row` (tenths of a line), dropping a pending
    // advance: for the sections of a page laid out at fixed rows.
    void placeAt(int row);
    // Ends the page for a new part of the book (set its header block before
    // its first line).
    void newPage();

  private:
    print::PrintJob& m_job;
    std::function<void()> m_headerBlock;
    int m_advances = 0; // new lines not taken yet
};

} // namespace livrax::books
