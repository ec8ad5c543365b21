#pragma once

#include <QString>

#include <stdexcept>

namespace livrax {

// A failure the program reports to the user: its message, in the user's
// language, kept as text (what() holds it in UTF-8). The data layer, the
// print engine and the books each throw a kind of their own.
class Error : public std::runtime_error {
  public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

  private:
    QString m_message;
};

} // namespace livrax
