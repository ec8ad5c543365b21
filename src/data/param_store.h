#pragma once

#include "data/param_text.h"

#include <QString>
#include <QStringList>

#include <array>

namespace livrax::data {

class Connection;
class Transaction;

// The program's own database, database 5: its VRTNPAR holds the parameter
// store (the users' last company, the windows' settings) and the company
// record "VRTNCAE". Never null; the connection may be closed. Records kept
// with the data they describe (a book's settings, the monthly settlement
// records) live in the database of that data instead, through DatabaseFor.
Connection* ParamDatabase();

// The shared line array of the parameter store: lines 1..190 of the last key
// read (or of a line file), which callers change and write back.
class ParamLineArray {
  public:
    static constexpr int Size = ParamLineCount;

    // Line n; empty outside 1..Size.
    QString line(int n) const;
    // Sets line n; numbers outside 1..Size are ignored.
    void setLine(int n, const QString& text);
    // Clears lines 1..count (all when count is 0); lines above keep their text.
    void clear(int count = 0);
    // Lines 1..count (all when count is 0), line 1 first.
    QStringList lines(int count = 0) const;

  private:
    std::array<QString, Size> m_lines;
};

// The one process-wide array. Tests clear it in init().
ParamLineArray& ParamLines();

// Reads the key from the table VRTNPAR of `connection` into lines 1..count of
// ParamLines (count 0: all 190). Lines 1..count are cleared first; lines above
// keep what they held, except that the first stored line numbered above
// `count` is taken before reading stops. A closed connection that knows its
// database is opened for the read and closed again afterwards. True when the
// key exists; false, with the lines left empty, when it does not or when the
// database cannot be reached. Never throws.
bool ParamRead(Connection* connection, const QString& key, int count = 0);

// How a read of a key ended: the key is stored, it is not, or the read
// failed (the database cannot be reached, the query or its text failed).
enum class ParamReadResult { Found, Missing, Failed };

// ParamRead telling a missing key from a failed read; the lines are left
// empty unless the key was found.
ParamReadResult ParamReadChecked(Connection* connection, const QString& key, int count = 0);

// Writes lines 1..count of ParamLines (count 0: all 190) under the key in the
// table VRTNPAR of `connection`, which must be open. Lines whose trimmed text
// is "#" are cleared (in ParamLines too) and, like every empty line, not
// stored. A new key takes the first 60 characters of `title` as its title; an
// existing key takes it whole, up to the 100 characters the column holds. An
// empty title leaves the stored title alone. Returns true when the row was
// written; a failure leaves the stored row as it was. Never throws.
bool ParamWrite(Connection* connection, const QString& key, int count = 0,
                const QString& title = {});

// The same write inside the caller's read-write `transaction`, which stays
// open: the caller commits it, so several keys are stored all or none. False
// when the write failed; the caller then rolls the transaction back. Never
// throws.
bool ParamWrite(Transaction& transaction, const QString& key, int count = 0,
                const QString& title = {});

} // namespace livrax::data
