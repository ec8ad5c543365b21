#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace livrax::platform {

// A one-line input dialog; nothing when the user cancels.
std::optional<QString> InputText(QWidget* parent, const QString& title, const QString& prompt,
                                 const QString& text);

// The program's error box: the message of a failure nobody else handled.
void ShowError(QWidget* parent, const QString& message);

// An information box with an OK button.
void ShowMessage(QWidget* parent, const QString& message);

// A question with "Sim" and "Não" ("Não" the default, and the answer when
// the box is closed); true for "Sim". The box is named "QUESTION_BOX".
bool AskYesNo(QWidget* parent, const QString& message);

// The dialog that picks an existing file to read, named "OPEN_DIALOG": it
// starts in the folder of `start` with its file name selected; `filters` as
// Qt writes them ("Textos (*.txt);;Todos (*)"). Nothing when cancelled.
std::optional<QString> ChooseFileToOpen(QWidget* parent, const QString& title, const QString& start,
                                        const QString& filters);

// The one-line input prompt TF_INPUT, configured by option texts: a
// four-character key and its value ("CAR=SN", "LEN=10", "MAS=!99/99/99;1;_",
// "TIP=UB", "TIT=caption", "TXT=label"). Type letters: "U" upper case, "D"
// date mask when no mask was given, "A" letters, digits and space, "N"
// digits, "V" digits, "," and ".", "Z" capital letters A-Z, "B" not blank on
// OK, "T" trimmed on OK. True for OK; `value` returns the typed text either
// way.
bool Prompt(QString& value, const QStringList& options, QWidget* parent = nullptr);

// The system message TF_MSG, non-modal: mode "A" shows the "#"-separated
// lines of `text` (at most 20) with the hourglass cursor until mode "F"
// closes it; mode "T" shows them and closes itself after two seconds.
void SystemMessage(const QString& mode, const QString& text);

// The font a font text starts the dialog with: field 2 the name ("Arial" when
// empty or "*"), field 3 the size (8 when empty or "*").
QFont FontOfText(const QString& fontText);
// The font text with fields 2 to 4 set to the font's name, size and style text
// ("fsBold", "fsItalic", "fsBold,fsItalic", "fsunderline", "fsstrikeout" or
// empty).
QString FontTextWith(const QString& fontText, const QFont& font);
// Shows the font dialog on FontOfText; the font text with the chosen font,
// or the text unchanged when the user cancels.
QString ChooseFont(const QString& fontText, QWidget* parent = nullptr);

// Shows the printer set-up dialog on the print settings text (GBPARAM:
// printer index, -, "H"/"V" orientation, page width, page height, -, copies,
// ... separated by "#") and returns the settings chosen, or the text unchanged
// when the user cancels.
QString ChoosePrinterSetup(const QString& printSettings, QWidget* parent = nullptr);

// What the printer set-up dialog chose, written into the print settings
// text: field 1 the printer index, field 2 empty, field 3 "H" (landscape) or
// "V", fields 4 and 5 the page width and height, field 7 the copies; fields 1
// to 9 each followed by "#".
struct PrinterChoice {
    int printerIndex = 0;
    bool landscape = false;
    int pageWidth = 0;
    int pageHeight = 0;
    int copies = 1;
};
QString PrintSettingsWith(const QString& printSettings, const PrinterChoice& choice);

// Loads Qt's own Brazilian Portuguese texts (qtbase_pt_BR: the file, print
// and colour dialogs, standard buttons, context menus) into the running
// application. False when the translation files are not installed.
bool InstallStandardTranslations();

} // namespace livrax::platform
