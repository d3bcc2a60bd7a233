#pragma once

#include <cstddef>
#include <string>

// Deterministic JSON texts shaped like what the service library exchanges.

// A room-information answer of about 1 KB: room, hosts, engine configuration with escaped JSON
// parameter texts.
std::string RoomInfoAnswer();

// A participant list answer of at least `bytes` bytes (about 100 KB in the benchmark).
std::string UserListAnswer(size_t bytes);

// A large mixed document of at least `bytes` bytes: nested objects, integer and fractional
// statistics, booleans, nulls, and texts with escapes and non-ASCII characters.
std::string LargeDocument(size_t bytes);
