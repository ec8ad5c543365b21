#include "books/book_pages.h"

#include "print/print_surface.h"

namespace livrax::books {

void BookPages::setHeaderBlock(std::function<void()> headerBlock) {
    m_headerBlock = std::move(headerBlock);
}

bool BookPages::line() {
    for (; m_advances > 0; --m_advances)
        m_job.newLine();
    if (m_job.cancelled()) return false;
    if (m_job.headerPending()) {
        if (m_headerBlock) m_headerBlock();
        m_job.headerPrinted();
    }
    return !m_job.cancelled();
}

void BookPages::newLine() {
    // Surfaces that go line by line or by cells have no page to break: they
    // take the new line at once, before texts placed at fixed rows (which
    // they print on the current line).
    const print::PrintSurface* surface = m_job.surface();
    using print::SurfaceCapability;
    if (surface && surface->capabilities().testAnyFlags(SurfaceCapability::LineByLine |
                                                        SurfaceCapability::Cells))
        m_job.newLine();
    else
        ++m_advances;
}

void BookPages::ruleBelow() {
    const int row = m_job.currentY();
    m_job.setCurrentY(row + m_advances * m_job.metrics().lineHeight);
    m_job.drawRule();
    m_job.setCurrentY(row);
}

void BookPages::placeAt(int row) {
    m_advances = 0;
    m_job.printTextAt(row, 0, QString());
}

void BookPages::newPage() {
    // The advance would only move down the page being closed.
    m_advances = 0;
    m_job.newPage();
}

} // namespace livrax::books
