#pragma once

#include <QFlags>
#include <QWidget>

class QComboBox;
class QFontComboBox;
class QTextCharFormat;
class QTextEdit;
class QToolButton;

namespace livrax::platform {

// The formatting bar of a rich-text control (PA_EDIT): font name, size,
// bold, italic, underline, left/centre/right alignment and a colour dialog,
// acting on the selection or, when nothing is selected, on what is typed
// next. The buttons show the look at the caret. The help editor adds
// bullets, the colours of its links and the text area's background.
class TextFormatBar : public QWidget {
    Q_OBJECT

  public:
    enum class Extra {
        None = 0,
        // BU_MARCADORES: the paragraph becomes a bullet, or stops being one.
        Bullets = 1,
        // The four colour buttons of the help texts: the tooltip background
        // colour, blue (BU_AZUL, a word that searches other topics), red
        // (BU_VERMELHO, a word that jumps within the text) and black; and
        // the panels that paint the text area black, aqua or in the
        // window's colour.
        HelpColours = 2,
    };
    Q_DECLARE_FLAGS(Extras, Extra)

    explicit TextFormatBar(QTextEdit* text, Extras extras = Extra::None, QWidget* parent = nullptr);

    // Merges `format` into the selection or the typing attributes.
    void apply(const QTextCharFormat& format);
    // The text colour of the selection or of what is typed next.
    void setTextColour(const QColor& colour);
    // Bullets on the caret's paragraphs, or off when they have them.
    void toggleBullets();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QToolButton* addButton(const QString& name, const QString& caption, const QString& hint,
                           bool checkable);
    void showFormat(const QTextCharFormat& format);
    void showParagraph();

    QTextEdit* m_text;
    QFontComboBox* m_fontName = nullptr;
    QComboBox* m_fontSize = nullptr;
    QToolButton* m_bold = nullptr;
    QToolButton* m_italic = nullptr;
    QToolButton* m_underline = nullptr;
    QToolButton* m_left = nullptr;
    QToolButton* m_centre = nullptr;
    QToolButton* m_right = nullptr;
    QToolButton* m_bullets = nullptr;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TextFormatBar::Extras)

} // namespace livrax::platform
