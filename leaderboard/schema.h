// The leaderboard's schema, the same in SQLite and PostgreSQL, as the steps that build it: the
// server brings a database up to its newest step when it opens it, and refuses one that a
// newer server has brought further.
#pragma once

#include "leaderboard/sql_connection.h"

// The version a database has once this server has opened it.
int NewestSchemaVersion();

// Creates the schema, or brings it up to kSchemaVersion, in one transaction that one server
// at a time runs. Throws StoreError.
void MigrateSchema(SqlConnection& connection);
// What the database holds (0 for an empty one).
int SchemaVersionOf(SqlConnection& connection);
