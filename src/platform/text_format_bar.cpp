#include "platform/text_format_bar.h"

#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>
#include <QToolButton>
#include <QToolTip>

namespace livrax::platform {

using namespace Qt::StringLiterals;

TextFormatBar::TextFormatBar(QTextEdit* text, Extras extras, QWidget* parent)
    : QWidget(parent), m_text(text) {
    setObjectName(u"PA_EDIT"_s);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_fontName = new QFontComboBox(this);
    m_fontName->setObjectName(u"CB_NOMEFONTE"_s);
    m_fontName->setToolTip(u"Fonte"_s);
    connect(m_fontName, &QFontComboBox::textActivated, this, [this](const QString& family) {
        QTextCharFormat format;
        format.setFontFamilies(QStringList{family});
        apply(format);
    });
    row->addWidget(m_fontName);
    m_fontSize = new QComboBox(this);
    m_fontSize->setObjectName(u"CB_TAMANHO"_s);
    m_fontSize->setToolTip(u"Tamanho da fonte"_s);
    m_fontSize->setEditable(true);
    for (const int size : QFontDatabase::standardSizes())
        m_fontSize->addItem(QString::number(size));
    connect(m_fontSize, &QComboBox::textActivated, this, [this](const QString& text) {
        bool ok = false;
        const double size = text.toDouble(&ok);
        if (!ok || size <= 0 || size > 1638) return;
        QTextCharFormat format;
        format.setFontPointSize(size);
        apply(format);
    });
    row->addWidget(m_fontSize);

    m_bold = addButton(u"BU_NEGRITO"_s, u"N"_s, u"Negrito"_s, true);
    QFont boldFont = m_bold->font();
    boldFont.setBold(true);
    m_bold->setFont(boldFont);
    connect(m_bold, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        apply(format);
    });
    m_italic = addButton(u"BU_ITALICO"_s, u"I"_s, u"Itálico"_s, true);
    connect(m_italic, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        apply(format);
    });
    m_underline = addButton(u"BU_SUBLINHADO"_s, u"S"_s, u"Sublinhado"_s, true);
    connect(m_underline, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontUnderline(on);
        apply(format);
    });
    row->addSpacing(8);
    const auto align = [this](QToolButton* button, Qt::Alignment alignment) {
        connect(button, &QToolButton::clicked, this, [this, alignment] {
            m_text->setAlignment(alignment);
            showParagraph();
        });
    };
    m_left = addButton(u"BU_ESQUERDA"_s, u"Esq."_s, u"Alinha à esquerda"_s, true);
    align(m_left, Qt::AlignLeft | Qt::AlignAbsolute);
    m_centre = addButton(u"BU_CENTRO"_s, u"Centro"_s, u"Centraliza"_s, true);
    align(m_centre, Qt::AlignHCenter);
    m_right = addButton(u"BU_DIREITA"_s, u"Dir."_s, u"Alinha à direita"_s, true);
    align(m_right, Qt::AlignRight | Qt::AlignAbsolute);
    if (extras & Extra::Bullets) {
        m_bullets = addButton(u"BU_MARCADORES"_s, u"•"_s, u"Marcadores"_s, true);
        connect(m_bullets, &QToolButton::clicked, this, &TextFormatBar::toggleBullets);
    }
    row->addSpacing(8);
    QToolButton* colour = addButton(u"BU_COR"_s, u"Cor"_s, u"Cor do texto"_s, false);
    connect(colour, &QToolButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(m_text->textColor(), this);
        if (chosen.isValid()) setTextColour(chosen);
    });
    if (extras & Extra::HelpColours) {
        const struct {
            const char16_t* name;
            const char16_t* hint;
            QColor colour;
        } colours[] = {
            {u"BU_COR_DICA", u"Cor de fundo das dicas",
             QToolTip::palette().color(QPalette::ToolTipBase)},
            {u"BU_AZUL", u"Localiza campos em outros textos / registros", QColor(0, 0, 255)},
            {u"BU_VERMELHO", u"Localiza campos no mesmo texto / registro", QColor(255, 0, 0)},
            {u"BU_PRETO", u"Preto", QColor(0, 0, 0)},
        };
        for (const auto& entry : colours) {
            QToolButton* button = addButton(QString::fromUtf16(entry.name), u"  "_s,
                                            QString::fromUtf16(entry.hint), false);
            button->setStyleSheet(u"background-color: %1"_s.arg(entry.colour.name()));
            const QColor chosen = entry.colour;
            connect(button, &QToolButton::clicked, this, [this, chosen] { setTextColour(chosen); });
        }
        row->addSpacing(8);
        const struct {
            const char16_t* name;
            QColor colour;
        } backgrounds[] = {
            {u"PA_FUNDO_PRETO", QColor(0, 0, 0)},
            {u"PA_FUNDO_AQUA", QColor(0, 255, 255)},
            {u"PA_FUNDO_JANELA", QColor()},
        };
        for (const auto& entry : backgrounds) {
            auto* panel = new QLabel(this);
            panel->setObjectName(QString::fromUtf16(entry.name));
            panel->setFixedSize(16, 16);
            panel->setFrameShape(QFrame::Box);
            panel->setToolTip(u"Cor de fundo do texto"_s);
            const QColor shown =
                entry.colour.isValid() ? entry.colour : palette().color(QPalette::Base);
            panel->setStyleSheet(u"background-color: %1"_s.arg(shown.name()));
            panel->setProperty("background", entry.colour);
            panel->installEventFilter(this);
            row->addWidget(panel);
        }
    }
    row->addStretch(1);

    connect(m_text, &QTextEdit::currentCharFormatChanged, this, &TextFormatBar::showFormat);
    connect(m_text, &QTextEdit::cursorPositionChanged, this, &TextFormatBar::showParagraph);
}

QToolButton* TextFormatBar::addButton(const QString& name, const QString& caption,
                                      const QString& hint, bool checkable) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    layout()->addWidget(button);
    return button;
}

void TextFormatBar::apply(const QTextCharFormat& format) {
    m_text->mergeCurrentCharFormat(format);
    m_text->setFocus();
}

void TextFormatBar::setTextColour(const QColor& colour) {
    QTextCharFormat format;
    format.setForeground(colour);
    apply(format);
}

void TextFormatBar::toggleBullets() {
    QTextCursor cursor = m_text->textCursor();
    if (QTextList* list = cursor.currentList()) {
        // Every paragraph of the selection leaves the list.
        const int end = cursor.selectionEnd();
        QTextBlock block = m_text->document()->findBlock(cursor.selectionStart());
        while (block.isValid() && block.position() <= end) {
            if (block.textList() == list) {
                list->remove(block);
                QTextBlockFormat format = block.blockFormat();
                format.setIndent(0);
                QTextCursor(block).setBlockFormat(format);
            }
            block = block.next();
        }
    } else {
        cursor.createList(QTextListFormat::ListDisc);
    }
    showParagraph();
    m_text->setFocus();
}

bool TextFormatBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && watched->property("background").isValid()) {
        const QColor colour = watched->property("background").value<QColor>();
        QPalette palette = m_text->palette();
        palette.setColor(QPalette::Base,
                         colour.isValid() ? colour : this->palette().color(QPalette::Base));
        m_text->setPalette(palette);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TextFormatBar::showFormat(const QTextCharFormat& format) {
    const QFont font = format.font();
    const QSignalBlocker blockName(m_fontName), blockSize(m_fontSize);
    m_fontName->setCurrentFont(font);
    m_fontSize->setEditText(QString::number(font.pointSizeF()));
    m_bold->setChecked(font.bold());
    m_italic->setChecked(font.italic());
    m_underline->setChecked(font.underline());
}

void TextFormatBar::showParagraph() {
    const Qt::Alignment alignment = m_text->alignment() & Qt::AlignHorizontal_Mask;
    m_centre->setChecked(alignment & Qt::AlignHCenter);
    m_right->setChecked(!(alignment & Qt::AlignHCenter) && (alignment & Qt::AlignRight));
    m_left->setChecked(!m_centre->isChecked() && !m_right->isChecked());
    if (m_bullets) m_bullets->setChecked(m_text->textCursor().currentList() != nullptr);
}

} // namespace livrax::platform
