#pragma once

#include <QWidget>

class QTextEdit;

namespace livrax::platform {

// The ruler above a rich-text control: a scale in centimetres and the three
// indents of the caret's paragraph, the first line's (upper mark), the left
// and the right one (lower marks), which the mouse drags. A dragged mark
// changes the paragraphs of the selection when the button is let go.
class TextRuler : public QWidget {
    Q_OBJECT

  public:
    enum class Mark { None, First, Left, Right };

    explicit TextRuler(QTextEdit* text, QWidget* parent = nullptr);

    // Where a mark stands, in the ruler's pixels.
    int markPosition(Mark mark) const;
    // Sets the caret's paragraphs' indents, in the document's pixels.
    void setIndents(qreal first, qreal left, qreal right);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // The left edge of the text in the ruler and its width.
    int origin() const;
    int textWidth() const;
    void readIndents();

    QTextEdit* m_text;
    qreal m_first = 0; // the first line's indent, relative to the left one
    qreal m_left = 0;
    qreal m_right = 0;
    Mark m_dragged = Mark::None;
};

} // namespace livrax::platform
