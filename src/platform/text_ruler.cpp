#include "platform/text_ruler.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace livrax::platform {

namespace {

constexpr int Height = 22;
constexpr int MarkHalf = 5;

} // namespace

TextRuler::TextRuler(QTextEdit* text, QWidget* parent) : QWidget(parent), m_text(text) {
    setObjectName(QStringLiteral("RULER"));
    setMinimumHeight(Height);
    setMouseTracking(false);
    connect(m_text, &QTextEdit::cursorPositionChanged, this, &TextRuler::readIndents);
    readIndents();
}

QSize TextRuler::sizeHint() const {
    return {400, Height};
}

int TextRuler::origin() const {
    // The text's left edge: the control's frame and the document's margin.
    const QPoint corner = m_text->viewport()->mapTo(m_text, QPoint(0, 0));
    return m_text->mapTo(window(), corner).x() - mapTo(window(), QPoint(0, 0)).x() +
           int(m_text->document()->documentMargin());
}

int TextRuler::textWidth() const {
    return qMax(0, m_text->viewport()->width() - 2 * int(m_text->document()->documentMargin()));
}

int TextRuler::markPosition(Mark mark) const {
    switch (mark) {
    case Mark::First:
        return origin() + qRound(m_left + m_first);
    case Mark::Left:
        return origin() + qRound(m_left);
    case Mark::Right:
        return origin() + textWidth() - qRound(m_right);
    case Mark::None:
        break;
    }
    return -1;
}

void TextRuler::readIndents() {
    const QTextBlockFormat format = m_text->textCursor().blockFormat();
    m_first = format.textIndent();
    m_left = format.leftMargin();
    m_right = format.rightMargin();
    update();
}

void TextRuler::setIndents(qreal first, qreal left, qreal right) {
    QTextBlockFormat format;
    format.setTextIndent(first);
    format.setLeftMargin(qMax<qreal>(0, left));
    format.setRightMargin(qMax<qreal>(0, right));
    QTextCursor cursor = m_text->textCursor();
    cursor.mergeBlockFormat(format);
    m_text->setTextCursor(cursor);
    readIndents();
}

void TextRuler::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const int left = origin();
    const int width = textWidth();
    painter.fillRect(QRect(left, 3, width, Height - 6), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::WindowText));
    // A tick every half centimetre, longer at each centimetre.
    const qreal perCentimetre = logicalDpiX() / 2.54;
    for (int i = 0; i * perCentimetre / 2 <= width; ++i) {
        const int x = left + qRound(i * perCentimetre / 2);
        const int length = i % 2 == 0 ? 6 : 3;
        painter.drawLine(x, Height / 2 - length / 2, x, Height / 2 + length / 2);
    }
    painter.setBrush(palette().color(QPalette::Button));
    const auto triangle = [&painter](int x, bool pointingDown) {
        QPolygon shape;
        if (pointingDown)
            shape << QPoint(x - MarkHalf, 0) << QPoint(x + MarkHalf, 0) << QPoint(x, MarkHalf + 2);
        else
            shape << QPoint(x - MarkHalf, Height - 1) << QPoint(x + MarkHalf, Height - 1)
                  << QPoint(x, Height - MarkHalf - 3);
        painter.drawPolygon(shape);
    };
    triangle(markPosition(Mark::First), true);
    triangle(markPosition(Mark::Left), false);
    triangle(markPosition(Mark::Right), false);
}

void TextRuler::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool upper = at.y() < Height / 2;
    const auto near = [&at](int x) { return qAbs(at.x() - x) <= MarkHalf + 1; };
    m_dragged = Mark::None;
    if (upper && near(markPosition(Mark::First)))
        m_dragged = Mark::First;
    else if (!upper && near(markPosition(Mark::Left)))
        m_dragged = Mark::Left;
    else if (!upper && near(markPosition(Mark::Right)))
        m_dragged = Mark::Right;
}

void TextRuler::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragged == Mark::None) return;
    const int x = qBound(origin(), event->position().toPoint().x(), origin() + textWidth());
    switch (m_dragged) {
    case Mark::First:
        m_first = x - origin() - m_left;
        break;
    case Mark::Left:
        m_left = x - origin();
        break;
    case Mark::Right:
        m_right = origin() + textWidth() - x;
        break;
    case Mark::None:
        break;
    }
    update();
}

void TextRuler::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragged == Mark::None) return;
    mouseMoveEvent(event);
    m_dragged = Mark::None;
    setIndents(m_first, m_left, m_right);
}

} // namespace livrax::platform
