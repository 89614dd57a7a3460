#pragma once

struct sqlite3;
class RecordLayout;
class RecordStore;

// The live rows of a RecordStore, in physical order, readable on one SQLite connection as the
// table named by kRowsSource, with one column per field (empty cells are NULL). A whole write is
// then one `INSERT INTO data SELECT * FROM quinabel_rows`: SQLite reads the cells straight from the
// records, instead of running a statement per row with every cell bound to it, which costs about
// half again as much over a million games.
inline constexpr char kRowsSource[] = "quinabel_rows";

// Makes `rows` readable on `db` until the connection closes; the rows must not change meanwhile
// (texts are handed to SQLite where they lie). Answers the SQLite code.
int attachRowsSource(sqlite3* db, const RecordLayout& layout, const RecordStore& rows);
