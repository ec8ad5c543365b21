#pragma once

#include "print/print_job.h"
#include "print/text_page_surface.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace livrax::test {

// Runs a report on a job to text pages (destination "G", no file) and gives
// the lines of one page with their blanks collapsed, empty lines left out:
// how the tests compare a book's lines with the ones worked out by hand.
inline QStringList TextPageLines(const std::function<void(print::PrintJob&)>& report,
                                 int page = 0) {
    print::PrintJob job;
    job.settings.destination = print::Destination::TextPages;
    report(job);
    QStringList lines;
    const auto* pages = static_cast<print::TextPageSurface*>(job.surface());
    for (const QString& line : pages->pages().value(page))
        if (!line.trimmed().isEmpty()) lines << line.simplified();
    return lines;
}

// Every page of a report on text pages, each as TextPageLines gives one.
inline QList<QStringList> TextPages(const std::function<void(print::PrintJob&)>& report) {
    print::PrintJob job;
    job.settings.destination = print::Destination::TextPages;
    report(job);
    QList<QStringList> pages;
    const auto* surface = static_cast<print::TextPageSurface*>(job.surface());
    for (const QStringList& page : surface->pages()) {
        QStringList lines;
        for (const QString& line : page)
            if (!line.trimmed().isEmpty()) lines << line.simplified();
        pages << lines;
    }
    return pages;
}

} // namespace livrax::test
