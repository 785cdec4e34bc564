#pragma once
// The rule for the names a record carries and the installer hands to
// Windows: file names below the target folder ("\sub\name"), and the single
// names of shortcuts and of the Programs group. A name that passes is one
// Windows creates as written, below its folder: it cannot climb out, name a
// device or a stream, or be silently changed (Windows drops trailing dots
// and blanks). The builder applies the same rule, so it never makes what the
// installer would refuse.
//
// Names are GBK bytes; separators, dots, blanks and forbidden characters
// are looked for only at character starts (a trail byte can be 0x5C, '\').
// Both '\' and '/' separate components, as they do for Windows. A lead
// byte (0x81..0xFE) without its second byte is refused: Windows has no
// character for it, and at the end of a name it would take the separator
// that the installer puts after the name ("<group>\<link>") as its second
// byte. 0x80 and 0xFF are let through: code page 936 reads them as single
// characters, which can never be separators.
#include <optional>
#include <string>
#include <string_view>

namespace installer {

// Why name is not a file name below the target folder, or nothing when it
// is one: it starts with a backslash and every component is a valid name
// (see SingleNameProblem).
std::optional<std::string> FileNameProblem(std::string_view name);

// Why name is not one valid component, or nothing: not empty, no separator,
// no lead byte without its second byte, not "." or "..", no control byte
// (0x00-0x1F, and 0x7F, which Windows takes but shows as nothing), none of
// < > : " | ? *, not ending in a dot or a blank, and not a DOS device name
// (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, in any case, also before an
// extension or blanks: "nul.tar.gz", "CON .txt").
std::optional<std::string> SingleNameProblem(std::string_view name);

// The form under which Windows takes two file names for the same file:
// ASCII letters folded to upper case, '/' as '\'. Double-byte characters
// are compared byte for byte; Windows also folds the full-width Latin
// letters, which this leaves alone, so "\Ａ" and "\ａ" count as two names.
std::string FileNameKey(std::string_view name);

}  // namespace installer
