#pragma once
// Names of list files in the catalog folder. A catalog of a medium is named
//   "_" + genre (two digits) + medium kind ("CD", "FD", "HD") + "_" + label + ".CCT"
// like u"_03CD_GAMES.CCT"; a folder of a disk adds the folder and the label
// (u"_00HD_DOCS\\OLD My Disk.CCT" becomes u"_00HD_DOCS&OLD My Disk.CCT"), a
// numbered copy ends in "-" and two digits (u"_00CD_GAMES-02.CCT"). A file
// written to disk gets the kind upper-cased and the extension "cct":
// u"_03fd_My Disk.CCT" is written as u"_03FD_My Disk.cct".
//
// Names are catalog text (see Cp932.h for the native-name codec); positions
// are 0-based.
#include <cstddef>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace zevro::listfilename {

// The characters that cannot stand in a file name and what stands for each,
// position by position.
inline constexpr TextView NameCharacters = u"\\/:,;*?<>|\"";
inline constexpr TextView NameReplacements = u"&&---@@---'";

// Medium kinds as the name tells them.
inline constexpr int KindCD = 1;
inline constexpr int KindFD = 2;
inline constexpr int KindHD = 3;

inline constexpr TextView MadeExtension = u"CCT";
inline constexpr TextView WrittenExtension = u"cct";

// A Linux file name holds at most this many bytes.
inline constexpr std::size_t MaxNativeNameBytes = 255;

// The label with every character of NameCharacters replaced:
//   u"A/B:C?" -> u"A&B-C@",  u"say \"hi\"" -> u"say 'hi'",  u"表示" -> u"表示".
Text replaceNameCharacters(TextView label);

// The name of a catalog, label replaced and cut to fit a file name:
//   (3, u"FD", u"My Disk") -> u"_03FD_My Disk.CCT",  (12, u"CD", u"A/B") -> u"_12CD_A&B.CCT".
// The genre is written with two digits (0..99).
Text formName(int genre, TextView kind, TextView label);

// The name as a written file has it: characters 3 and 4 (the medium kind)
// upper-cased, a three-character extension replaced by "cct" (a name without
// one gets ".cct" appended), cut to fit a file name:
//   u"_03fd_My Disk.CCT" -> u"_03FD_My Disk.cct",  u"_00hd_x" -> u"_00HD_x.cct".
Text normalizedForWriting(TextView fileName);

// Medium kind of a file name from characters 3 and 4, ignoring case:
//   u"_03CD_X.cct" -> 1,  u"_03fd_X.cct" -> 2,  u"_03HD_X.cct" -> 3,  u"X" -> 3.
int mediumKindOf(TextView fileName);

// Genre of a file name: characters 1 and 2 read as a number, reading stops at
// the first character that is not a digit:
//   u"_03FD_X.cct" -> 3,  u"_7xFD_X.cct" -> 7,  u"_x3FD_X.cct" -> 0.
int genreOf(TextView fileName);

// The medium kind's two letters: 1 -> u"CD", 2 -> u"FD", anything else u"HD".
Text kindName(int mediumKind);

// The native name (UTF-8 bytes, as cp932::toNativeName gives it) cut so that
// it fits in MaxNativeNameBytes, the extension (a last "." with up to five
// characters after it) kept, never in the middle of a UTF-8 sequence:
//   "_03CD_" + 300 × "表" + ".cct" -> "_03CD_" + 81 × "表" + ".cct" (253 bytes).
std::string fitNativeName(std::string_view nativeName);

// The same on catalog text: the name whose native form fits.
Text fitName(TextView fileName);

}  // namespace zevro::listfilename
