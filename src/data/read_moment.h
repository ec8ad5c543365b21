#pragma once

#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace livrax::data {

class Connection;
class Transaction;

// One moment of the databases for a run that reads: a report, a book, an
// export, a recalculation. While the object lives, every query slot of the
// data module reads each connection that was open when it began in one
// read-only snapshot transaction of that connection, started at that
// instant: all the queries of the run (lookups, rows, both sides of a
// settlement) see the data as it was committed then, whatever the ERP
// commits meanwhile. Statement slots, which write, keep their own short
// transactions. A run opens one at its start:
//
//   data::ReadMoment moment; // every query below reads the same moment
//
// Moments nest: one made while another lives joins it, so a book that calls
// a recalculation reads both in the outer one. Reads only: what a run saves
// goes after its moment ends, so that the save meets the latest data.
class ReadMoment {
  public:
    ReadMoment();
    ~ReadMoment();
    ReadMoment(const ReadMoment&) = delete;
    ReadMoment& operator=(const ReadMoment&) = delete;

    // The moment in force, nullptr when none.
    static ReadMoment* current();
    // The snapshot the query slots read `connection` in; nullptr when the
    // moment does not cover it (it was not open when the moment began, or
    // its snapshot could not start).
    Transaction* snapshotOf(const Connection& connection) const;
    // Throws DbError with the database's reason when the snapshot of
    // `connection` failed to start: a run never reads part of its data
    // outside its moment without saying so.
    void checkSnapshot(const Connection& connection) const;
    // Ends the snapshot of a connection that is closing; the slots reading
    // in it let it go first.
    void forget(const Connection& connection) noexcept;

  private:
    struct Snapshot {
        const Connection* connection;
        std::unique_ptr<Transaction> transaction;
    };
    void end(Snapshot& snapshot) noexcept;

    bool m_outermost = false;
    std::vector<Snapshot> m_snapshots;
    // The connections whose snapshot could not start, with the reason.
    std::vector<std::pair<const Connection*, QString>> m_failures;
};

} // namespace livrax::data
