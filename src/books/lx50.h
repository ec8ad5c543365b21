#pragma once

#include <QString>

#include <functional>

namespace livrax::books {

// The staging table of the sales without tax-substitution retention: one row
// per piece of an exit item, with the entry (lot) that piece came from.
// Created by the build when missing, in the database that holds VRTNPDS.
QString MatchTableCreateSql();

// Progress of a build: the rows written so far. Called every few hundred
// rows, so a window can keep its messages flowing.
using MatchProgress = std::function<void(qint64 rowsWritten)>;

// Rebuilds VRTNP50 from the whole history of invoiced entry and exit items
// (FAT 'F', NATOPER above 100), first in, first out per product starting
// from its SALDOINIC. Exits moving no stock (ATUPRO 'N') or without DTNOTA
// give no row. Product codes match by equality with trailing blanks ignored,
// as the database compares them. A piece is never negative unless its exit
// quantity is: a lot that holds nothing (a negative initial balance, an entry
// of zero or less) gives nothing. Pieces of quantity 0 are not written.
//
// The table is created (and catalogued as "P50") when missing; a failed
// creation stops the build. The old rows are deleted and the new ones written
// in ONE transaction: until it commits, every other reader sees the old
// table whole, and a failure (or a build another station runs at the same
// time) leaves it untouched. Returns the rows written; throws BookError.
qint64 BuildMatchTable(const MatchProgress& progress = {});

} // namespace livrax::books
