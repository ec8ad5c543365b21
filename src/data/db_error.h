#pragma once

#include "common/error.h"

namespace livrax::data {

// A failure reported by the database client: connection, preparation,
// execution or conversion. The message is the client's own text and never
// contains a password. Low-level wrapper classes throw it; the data helpers
// catch it and turn it into false, an empty result or 0.
class DbError : public Error {
  public:
    using Error::Error;
};

} // namespace livrax::data
