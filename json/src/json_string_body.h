#pragma once

// The body of a JSON string: the text between the opening quote and the closing quote, or the
// terminating NUL of an unterminated string. Escapes are stepped over as they will be decoded;
// an escape cut short by the end of the text ends the body there, so nothing reads past the NUL.

// End of the body starting at `at` (just after the opening quote); has_escape is set when the
// body holds a backslash.
const char* FindStringEnd(const char* at, bool* has_escape);

// Decodes the body [at, end) into out, which has room for end - at bytes (no escape grows);
// returns the end of what was written. \u escapes become UTF-8; codes without a character (0, a
// lone surrogate) vanish.
char* DecodeEscaped(const char* at, const char* end, char* out);
