#pragma once

// The stored lines of a report key, read whole and written back whole, and
// one line's "#"-separated fields changed one by one, so that whatever a
// value does not own stays as it was stored.

#include "data/param_store.h"

#include <QString>
#include <QStringList>

namespace livrax::data {
class Connection;
}

namespace livrax::reports {

// Lines 1..190 of the key (line 1 at index 0), empty lines where nothing is
// stored. False, with every line empty, when the key is missing or the
// database cannot be reached.
bool ReadKeyLines(data::Connection* database, const QString& key, QStringList& lines);

// ReadKeyLines telling a key that is not stored from a read that failed, for
// a caller that writes the lines back: after a failed read it must not.
data::ParamReadResult ReadKeyLinesChecked(data::Connection* database, const QString& key,
                                          QStringList& lines);

// Stores the 190 lines under the key (ParamWrite: a blank title keeps the
// stored one). False when nothing was written.
bool WriteKeyLines(data::Connection* database, const QString& key, const QStringList& lines,
                   const QString& title = {});

// A stored line split into its first `count` fields. Fields are numbered from
// 1; a field not set keeps its stored text.
class LineFields {
  public:
    LineFields(const QString& line, int count);
    QString at(int n) const;
    void set(int n, const QString& value);
    // The fields joined again: each ended by "#", trailing empty ones dropped.
    QString joined() const;

  private:
    QStringList m_fields;
};

} // namespace livrax::reports
