#pragma once

#include <QLineEdit>

namespace livrax::platform {

// A line edit with an input mask (dates, codes) that takes what is typed as
// soon as it gets the focus, however it gets it: the whole text is selected
// with the cursor at its start, so the first character typed replaces the
// text from the first position. A plain QLineEdit keeps the cursor where
// setText left it (past the last position of the mask), where typing is
// thrown away.
class MaskedLineEdit : public QLineEdit {
  public:
    explicit MaskedLineEdit(QWidget* parent = nullptr);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void selectFromStart();

    bool m_focusByMouse = false;
};

} // namespace livrax::platform
