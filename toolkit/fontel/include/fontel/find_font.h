// Finding the file of an installed font by its face name, in the system's
// font registry.
#pragma once

#include <string>

// The full path of the first font file whose registry value name begins with
// `faceName` (compared without regard to case, over the face name's length, in
// the key's enumeration order), or an empty string when none does or the key
// cannot be read. So "Arial" finds the value "Arial (TrueType)", and "Arial
// Bold" finds "Arial Bold (TrueType)".
//
// A value holding an absolute path (as Windows stores fonts installed per
// user) is answered as it stands; a plain file name is taken to lie in the
// system's font directory, "<Windows directory>\Fonts\". The path is narrowed
// to 8 bits character by character.
std::string fontelFindFontFile(const char* faceName);
