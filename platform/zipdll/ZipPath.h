// Names from an archive or a server turned into paths below a folder, and the
// file patterns ("*.*") that select entries. Both work on UTF-16 text, so
// that a GBK trail byte equal to '\' cannot pass for a separator.
#pragma once

#include <string>

namespace zip {

// The name as a relative Windows path: '/' and '\' both separate, "." steps and
// doubled separators go, a trailing separator goes. False, and out untouched,
// when the result would not lie inside the folder it is taken against: an empty
// name, a leading separator, a drive or stream colon, a ".." step, a step made
// only of dots and blanks or ending in one (Windows would drop them), a device
// name (CON, NUL, COM1...), or characters Windows does not allow in a name.
bool SafeRelativePath(const std::wstring& name, std::wstring& out);

// A DOS file pattern against a name: '*' any run, '?' one character,
// ASCII letters compared without case, and "*.*" matches every name.
bool MatchesPattern(const std::wstring& name, const std::wstring& pattern);

}  // namespace zip
