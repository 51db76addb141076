// Database failures: the message built from the client's status vector, with its SQL and error
// codes.
#pragma once

#include <ibase.h>

#include "core/error.h"

namespace zavrik::data {

class DatabaseError : public Error {
 public:
  DatabaseError(String message, long sql_code, long error_code)
      : Error(std::move(message)), sql_code_(sql_code), error_code_(error_code) {}
  long SqlCode() const { return sql_code_; }
  long ErrorCode() const { return error_code_; }

 private:
  long sql_code_;
  long error_code_;
};

// Raised for SQL code -551 (no permission for the object or role).
class DatabaseRoleError : public DatabaseError {
 public:
  using DatabaseError::DatabaseError;
};

// Joins the texts of a status vector: CR LF between entries (unless the text so far ends with a
// line feed), a final period removed.
String StatusText(const ISC_STATUS* status);

// Raises the database error described by a failed call's status vector.
[[noreturn]] void RaiseStatus(const ISC_STATUS* status);

// Raises when the status vector reports a failure.
inline void Check(const ISC_STATUS* status) {
  if (status[0] == 1 && status[1] != 0) RaiseStatus(status);
}

}  // namespace zavrik::data
