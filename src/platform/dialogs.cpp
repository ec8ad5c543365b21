#include "platform/dialogs.h"

#include "common/fields.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace livrax::platform {

std::optional<QString> InputText(QWidget* parent, const QString& title, const QString& prompt,
                                 const QString& text) {
    QInputDialog dialog(parent);
    dialog.setObjectName(u"TF_INPUT"_s);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(text);
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

void ShowError(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), message,
                    QMessageBox::Ok, parent);
    box.setObjectName(u"ERROR_BOX"_s);
    box.exec();
}

void ShowMessage(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Information, QApplication::applicationDisplayName(), message,
                    QMessageBox::Ok, parent);
    box.setObjectName(u"MESSAGE_BOX"_s);
    box.exec();
}

bool AskYesNo(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), message,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(u"QUESTION_BOX"_s);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(u"Sim"_s);
    box.button(QMessageBox::No)->setText(u"Não"_s);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> ChooseFileToOpen(QWidget* parent, const QString& title, const QString& start,
                                        const QString& filters) {
    QFileDialog dialog(parent, title, start, filters);
    dialog.setObjectName(u"OPEN_DIALOG"_s);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

namespace {

// The edit mask of the prompt's options in the line editor's terms:
// "!99/99/99;1;_" has optional digits "9" (the editor's "0"), required digits
// "0" (the editor's "9"), any character "C"/"c" ("X"/"x"); the leading "!"
// and the literal-saving flag have no counterpart.
QString EditorMask(const QString& mask) {
    const QStringList parts = mask.split(u';');
    QString body = parts.value(0);
    if (body.startsWith(u'!')) body.remove(0, 1);
    QString converted;
    bool literal = false;
    for (const QChar c : std::as_const(body)) {
        if (literal) {
            converted += c;
            literal = false;
            continue;
        }
        switch (c.unicode()) {
        case u'\\':
            converted += c;
            literal = true;
            break;
        case u'9':
            converted += u'0';
            break;
        case u'0':
            converted += u'9';
            break;
        case u'C':
            converted += u'X';
            break;
        case u'c':
            converted += u'x';
            break;
        default:
            converted += c;
        }
    }
    const QString blank = parts.value(2);
    return converted + u';' + (blank.isEmpty() ? u"_"_s : blank.left(1));
}

// The prompt window: a label, a masked edit and OK/Cancela. Key filters apply
// to every key but backspace; Enter in the edit moves to the next control.
class TF_INPUT : public QDialog {
  public:
    explicit TF_INPUT(QWidget* parent) : QDialog(parent) {
        setObjectName(u"TF_INPUT"_s);
        m_label = new QLabel(this);
        m_label->setObjectName(u"LA_LABEL"_s);
        m_edit = new QLineEdit(this);
        m_edit->setObjectName(u"E_EDIT"_s);
        m_edit->installEventFilter(this);
        auto* ok = new QPushButton(u"OK"_s, this);
        ok->setObjectName(u"BU_OK"_s);
        auto* cancel = new QPushButton(u"Cancela"_s, this);
        cancel->setObjectName(u"BU_CANCELA"_s);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(ok);
        buttons->addWidget(cancel);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_label);
        layout->addWidget(m_edit);
        layout->addLayout(buttons);
        connect(ok, &QPushButton::clicked, this, &TF_INPUT::confirm);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }

    void apply(const QString& option) {
        const QString key = option.left(4).toUpper();
        const QString value = option.mid(option.indexOf(u'=') + 1);
        if (key == u"CAR="_s)
            m_allowed = value;
        else if (key == u"LEN="_s)
            m_edit->setMaxLength(std::max(1, ToInt(value)));
        else if (key == u"MAS="_s)
            m_mask = value;
        else if (key == u"TIP="_s)
            m_types += value.toUpper();
        else if (key == u"TIT="_s)
            setWindowTitle(value);
        else if (key == u"TXT="_s)
            m_label->setText(value);
    }

    void setValue(const QString& value) {
        QString mask = m_mask;
        if (mask.isEmpty() && m_types.contains(u'D')) mask = u"!99/99/99;1;_"_s;
        if (!mask.isEmpty()) m_edit->setInputMask(EditorMask(mask));
        m_edit->setText(value);
    }
    QString value() const { return m_edit->text(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_edit || event->type() != QEvent::KeyPress)
            return QDialog::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
        if (key->key() == Qt::Key_Backspace || key->text().isEmpty() ||
            !key->text().at(0).isPrint())
            return false;
        QChar c = key->text().at(0);
        if (m_types.contains(u'U')) c = c.toUpper();
        if (!accepts(c)) return true;
        if (c != key->text().at(0)) {
            m_edit->insert(QString(c));
            return true;
        }
        return false;
    }

  private:
    bool accepts(QChar c) const {
        if (!m_allowed.isEmpty() && !m_allowed.contains(c)) return false;
        const bool digit = c >= u'0' && c <= u'9';
        if (m_types.contains(u'A') && !(c.isLetter() || digit || c == u' ')) return false;
        if (m_types.contains(u'N') && !digit) return false;
        if (m_types.contains(u'V') && !(digit || c == u',' || c == u'.')) return false;
        if (m_types.contains(u'Z') && !(c >= u'A' && c <= u'Z')) return false;
        return true;
    }

    void confirm() {
        if (m_types.contains(u'B') && m_edit->text().trimmed().isEmpty()) {
            ShowMessage(this, u"Campo não pode ser BRANCO - Deve ser informado"_s);
            m_edit->setFocus();
            return;
        }
        if (m_types.contains(u'T')) m_edit->setText(m_edit->text().trimmed());
        accept();
    }

    QLabel* m_label = nullptr;
    QLineEdit* m_edit = nullptr;
    QString m_allowed; // CAR
    QString m_types;   // TIP
    QString m_mask;
};

// The system message window TF_MSG; one at a time.
QPointer<QDialog>& MessageWindow() {
    static QPointer<QDialog> window;
    return window;
}
bool& HourglassSet() {
    static bool set = false;
    return set;
}

void RestoreCursor() {
    if (!HourglassSet()) return;
    QApplication::restoreOverrideCursor();
    HourglassSet() = false;
}

void LetMessagesRun() {
    QCoreApplication::processEvents();
}

} // namespace

bool Prompt(QString& value, const QStringList& options, QWidget* parent) {
    TF_INPUT window(parent);
    for (const QString& option : options)
        window.apply(option);
    window.setValue(value);
    const bool ok = window.exec() == QDialog::Accepted;
    value = window.value();
    return ok;
}

void SystemMessage(const QString& mode, const QString& text) {
    const QString kind = mode.left(1).toUpper();
    if (kind == u"F"_s) {
        if (QDialog* window = MessageWindow()) {
            window->close();
            window->deleteLater();
        }
        MessageWindow() = nullptr;
        RestoreCursor();
        LetMessagesRun();
        return;
    }
    if (kind != u"A"_s && kind != u"T"_s) return;
    if (!HourglassSet()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        HourglassSet() = true;
    }
    LetMessagesRun();
    if (QDialog* old = MessageWindow()) old->deleteLater();

    auto* window = new QDialog(nullptr, Qt::Tool | Qt::WindowTitleHint);
    window->setObjectName(u"TF_MSG"_s);
    window->setWindowTitle(u"Mensagem do Sistema VORTANE"_s);
    window->setProperty("messageType", kind);
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* memo = new QTextEdit(window);
    memo->setObjectName(u"MEMO"_s);
    memo->setReadOnly(true);
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    memo->setPalette(palette);
    QFont bold = memo->font();
    bold.setBold(true);
    memo->setFont(bold);
    const QStringList lines = SplitToList(text, 20);
    for (const QString& line : lines) {
        memo->append(line);
        memo->setAlignment(Qt::AlignCenter);
    }
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(memo);
    window->resize(400, int(lines.size()) * 16 + 79);
    MessageWindow() = window;
    window->show();
    if (kind == u"T"_s) {
        // The message closes itself, and with it goes the hourglass.
        QTimer::singleShot(2000, window, [window] {
            if (MessageWindow() == window) {
                MessageWindow() = nullptr;
                RestoreCursor();
            }
            window->close();
        });
    }
    LetMessagesRun();
}

QFont FontOfText(const QString& fontText) {
    const QStringList fields = SplitToList(fontText, 4);
    QString name = fields.value(1);
    if (name.isEmpty() || name == u"*"_s) name = u"Arial"_s;
    const QString size = fields.value(2);
    QFont font(name);
    font.setPointSize(size.isEmpty() || size == u"*"_s ? 8 : std::max(1, ToInt(size)));
    return font;
}

QString FontTextWith(const QString& fontText, const QFont& font) {
    QStringList fields = SplitToList(fontText, 4);
    while (fields.size() < 4)
        fields.append(QString());
    fields[1] = font.family();
    fields[2] = QString::number(font.pointSize());
    QString style;
    if (font.bold() && font.italic())
        style = u"fsBold,fsItalic"_s;
    else if (font.bold())
        style = u"fsBold"_s;
    else if (font.italic())
        style = u"fsItalic"_s;
    else if (font.underline())
        style = u"fsunderline"_s;
    else if (font.strikeOut())
        style = u"fsstrikeout"_s;
    fields[3] = style;
    return JoinFields(fields, 4);
}

QString ChooseFont(const QString& fontText, QWidget* parent) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, FontOfText(fontText), parent);
    return ok ? FontTextWith(fontText, font) : fontText;
}

QString PrintSettingsWith(const QString& printSettings, const PrinterChoice& choice) {
    QStringList fields = SplitToList(printSettings, 10);
    while (fields.size() < 10)
        fields.append(QString());
    fields[0] = QString::number(choice.printerIndex);
    fields[1].clear();
    fields[2] = choice.landscape ? u"H"_s : u"V"_s;
    fields[3] = QString::number(choice.pageWidth);
    fields[4] = QString::number(choice.pageHeight);
    fields[6] = QString::number(choice.copies);
    QString text;
    for (int i = 0; i < 9; ++i)
        text += fields[i] + u'#';
    return text;
}

QString ChoosePrinterSetup(const QString& printSettings, QWidget* parent) {
    QStringList fields = SplitToList(printSettings, 10);
    while (fields.size() < 10)
        fields.append(QString());
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    QPrinter printer;
    const int index = fields[0].isEmpty() ? 0 : ToInt(fields[0]);
    if (index >= 0 && index < printers.size()) printer.setPrinterName(printers[index]);
    printer.setPageOrientation(fields[2] == u"H"_s ? QPageLayout::Landscape
                                                   : QPageLayout::Portrait);
    printer.setCopyCount(fields[6].isEmpty() ? 1 : std::max(1, ToInt(fields[6])));
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(u"PRINTER_SETUP"_s);
    if (dialog.exec() != QDialog::Accepted) return printSettings;
    const QRect page = printer.pageLayout().fullRectPixels(printer.resolution());
    return PrintSettingsWith(printSettings,
                             {int(std::max<qsizetype>(0, printers.indexOf(printer.printerName()))),
                              printer.pageLayout().orientation() == QPageLayout::Landscape,
                              page.width(), page.height(), printer.copyCount()});
}

bool InstallStandardTranslations() {
    // One translator for the whole run, owned by the application object.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(u"qtbase_pt_BR"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace livrax::platform
