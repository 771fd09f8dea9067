#pragma once
// The comment a file gets from itself, whatever the reading's switches:
//   AVI   the main header's size and frames     u"320×240（1500フレーム）"
//   MP3   the name in proper case               my_artist-some song.mp3 -> u"My_artist-Some Song"
//   TXT   its first five lines, each ending with CR LF
//   HTML  the title, then the description after a line break; without
//         both, the text pieces of the body joined with ", "
// Reads are capped: 256 bytes of an AVI, 64 KiB of a text, 256 KiB of a page.
#include <cstddef>
#include <string_view>

#include "text/Text.h"

namespace zevro::filecomment {

inline constexpr std::size_t AviBytes = 256;
inline constexpr std::size_t TextBytes = 64u << 10;
inline constexpr std::size_t HtmlBytes = 256u << 10;
inline constexpr std::size_t TextLines = 5;
inline constexpr std::size_t BodyEnough = 200;  // body pieces are joined until more than this

enum class Kind { None, Avi, Mp3, Txt, Html };
// By extension, any case: AVI, MP3, TXT, HTM and HTML.
Kind kindOf(TextView name);
// How many bytes the rule reads (0: none).
std::size_t bytesFor(Kind kind);

Text AviComment(std::string_view bytes);
Text Mp3Comment(TextView name);
Text TxtComment(std::string_view bytes);
Text HtmlComment(std::string_view bytes);

}  // namespace zevro::filecomment
