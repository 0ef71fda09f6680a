// What a message repeats of its input (an option, a word of a file), quoted: cut to a few
// dozen characters, so that a file's 8 MB word does not flood the terminal, and with its
// control characters shown escaped, so that no escape sequence in it reaches the terminal.
#pragma once

#include <string>
#include <string_view>

// 'text' as a message shows it: its first 40 characters, then "..." where there were more.
// Control characters (C0, DEL and C1), the quote, and bytes that are not UTF-8 are shown as
// \xNN, a backslash as \\; every other character of UTF-8 stands as it is.
std::string QuotedText(std::string_view text);

// The same escaping of control characters for text shown whole, such as a path in a message:
// not quoted, not cut, and a backslash left as it is.
std::string ShownText(std::string_view text);
