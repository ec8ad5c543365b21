#pragma once

#include <QString>

#include <stdexcept>

namespace livrax::data {

// A failure reported by the database client: connection, preparation,
// execution or conversion. The message is the client's own text and never
// contains a password. Low-level wrapper classes throw it; the data helpers
// catch it and turn it into false, an empty result or 0.
class DbError : public std::runtime_error {
  public:
    explicit DbError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

  private:
    QString m_message;
};

} // namespace livrax::data
