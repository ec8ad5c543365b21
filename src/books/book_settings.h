#pragma once

#include "books/book_frame.h"

#include <QList>
#include <QMap>
#include <QString>

#include <functional>

namespace livrax::books {

// What the flag of `livrax book` does to the saved state of an option: it
// turns the box off (--no-ipi) or on (--company).
enum class FlagTurns { Off, On };

// One option check box of a book, declared once: the input it sets, the
// settings line that keeps it, the window's control, and the flag of
// `livrax book` that overrides the saved state.
template <typename Options> struct BookOption {
    bool Options::*field = nullptr; // the book's input, e.g. &LX53Options::printIpi
    int line = 0;                   // the settings line: "S" checked, "N" not
    QString objectName;             // the window's check box, "CB_IPI"
    QString caption;                // "Imprimir IPI"
    // Checked unless its line says "N" (so a new key checks it); false: only
    // when its line says "S".
    bool checkedByDefault = true;
    QString flag; // the command-line flag without its dashes, "no-ipi"
    FlagTurns flagTurns = FlagTurns::Off;
    QString flagHelp; // the flag's text in `livrax book --help`
};

// One saved input of a book that is not a check box (an amount, a list
// index, a date, a text): the line that keeps it and how it is written and
// read back. `read` gets the line as stored, empty on a new installation.
template <typename Options> struct BookTextLine {
    int line = 0;
    std::function<QString(const Options&)> write;
    std::function<void(Options&, const QString&)> read;
};

// The saved inputs of the books that share the LX53 layout of settings
// lines: line 3 holds start date, end date and date column ("#"-joined, with
// two more positions kept as read), line 4 the filter, line 6 the first page,
// each option its own line, and each text input its own line. `Options` is
// the book's input record: its `period` and the fields its options name.
template <typename Options> struct LineBookSettings {
    QString key;   // parameter-store key, "PAR_LX53"
    QString table; // the table whose database keeps the key, "PDE"
    int lines = 15;
    QList<BookOption<Options>> options;
    QList<BookTextLine<Options>> textLines;
};

// What LoadBookSettings reads: the period and, by settings line, whether
// each box is checked and the text of each text line.
struct SavedLines {
    BookPeriod period;
    QMap<int, bool> checks;
    QMap<int, QString> texts;
};

// Reads the key; `checkedByDefault` names the check lines (line -> checked
// when never written), `textLines` the lines read as they are. A new
// installation gets first page "1" and empty dates; a saved first page that
// is not one of 1..9999 reads as "1".
SavedLines ReadLineSettings(const QString& key, const QString& table, int lines,
                            const QMap<int, bool>& checkedByDefault,
                            const QList<int>& textLines = {});
// Writes the period, the check lines ("S"/"N") and the text lines; lines the
// book does not set keep their stored values. False when the key was not
// written.
bool WriteLineSettings(const QString& key, const QString& table, int lines,
                       const BookPeriod& period, const QMap<int, bool>& checks,
                       const QMap<int, QString>& texts = {});

// The book's saved inputs: the period and every option's field.
template <typename Options> Options LoadBookSettings(const LineBookSettings<Options>& settings) {
    QMap<int, bool> defaults;
    for (const BookOption<Options>& option : settings.options)
        defaults.insert(option.line, option.checkedByDefault);
    QList<int> textLines;
    for (const BookTextLine<Options>& text : settings.textLines)
        textLines << text.line;
    const SavedLines saved =
        ReadLineSettings(settings.key, settings.table, settings.lines, defaults, textLines);
    Options options;
    options.period = saved.period;
    for (const BookOption<Options>& option : settings.options)
        options.*option.field = saved.checks.value(option.line);
    for (const BookTextLine<Options>& text : settings.textLines)
        text.read(options, saved.texts.value(text.line));
    return options;
}

// Writes the period and every option's field back; false when they were not
// written.
template <typename Options>
bool SaveBookSettings(const LineBookSettings<Options>& settings, const Options& options) {
    QMap<int, bool> checks;
    for (const BookOption<Options>& option : settings.options)
        checks.insert(option.line, options.*option.field);
    QMap<int, QString> texts;
    for (const BookTextLine<Options>& text : settings.textLines)
        texts.insert(text.line, text.write(options));
    return WriteLineSettings(settings.key, settings.table, settings.lines, options.period, checks,
                             texts);
}

} // namespace livrax::books
