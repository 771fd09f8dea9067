#include "media/FileComment.h"

#include <string>

#include "core/Strings.h"
#include "media/TextOps.h"
#include "text/Cp932.h"

namespace zevro::filecomment {

namespace {

unsigned byteAt(std::string_view b, std::size_t i) { return static_cast<unsigned char>(b[i]); }

Text number(unsigned long n) { return ascii(std::to_string(n)); }

// Each word (words are split by blanks only, so "my_artist" is one word)
// with a capital first letter and the rest in lower case.
Text properCase(TextView text) {
  Text out = asciiLower(text);
  bool start = true;
  for (char16_t& c : out) {
    if (start && c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    start = c == u' ';
  }
  return out;
}

Text withoutQuotes(Text line) {
  if (line.size() >= 2 && line.front() == u'"' && line.back() == u'"') return line.substr(1, line.size() - 2);
  return line;
}

}  // namespace

Kind kindOf(TextView name) {
  const Text ext = extensionOf(name, true);
  if (ext == u"AVI") return Kind::Avi;
  if (ext == u"MP3") return Kind::Mp3;
  if (ext == u"TXT") return Kind::Txt;
  if (ext == u"HTM" || ext == u"HTML") return Kind::Html;
  return Kind::None;
}

std::size_t bytesFor(Kind kind) {
  switch (kind) {
    case Kind::Avi: return AviBytes;
    case Kind::Txt: return TextBytes;
    case Kind::Html: return HtmlBytes;
    default: return 0;
  }
}

Text AviComment(std::string_view b) {
  if (b.size() < 70) return {};
  const unsigned long frames = byteAt(b, 48) | (byteAt(b, 49) << 8) | (byteAt(b, 50) << 16);
  const unsigned long width = byteAt(b, 64) | (byteAt(b, 65) << 8);
  const unsigned long height = byteAt(b, 68) | (byteAt(b, 69) << 8);
  return number(width) + u"×" + number(height) + u"（" + number(frames) + u"フレーム）";
}

Text Mp3Comment(TextView name) {
  const Text base = baseName(name);
  Text out;
  if (const std::size_t dash = base.find(u'-'); dash != Text::npos) {
    out = properCase(TextView(base).substr(0, dash + 1)) + properCase(TextView(base).substr(dash + 1));
  } else {
    out = properCase(base);
  }
  // "_ " stands where a file name could not hold "'", "." or ",":
  // "Don_ t", "St_ Louis", "Rock_ n_ Roll".
  for (std::size_t i = out.find(u"_ "); i != Text::npos; i = out.find(u"_ ", i + 1)) {
    if (i < 2) {
      out[i] = u'\'';
      continue;
    }
    const Text before = asciiLower(TextView(out).substr(i - 2, 2));
    if (before == u"st" || before == u"dr") out[i] = u'.';
    else if (before == u"in") out[i] = u'\'';
    else out[i] = u',';
  }
  return out;
}

Text TxtComment(std::string_view bytes) {
  const Text text = cp932::decode(bytes);
  Text out;
  std::size_t lines = 0;
  for (TextView line : textops::LinesOf(text, false)) {
    if (lines++ == TextLines) break;
    out += withoutQuotes(trim(line));
    out += u"\r\n";
  }
  return out;
}

Text HtmlComment(std::string_view bytes) {
  const Text text = cp932::decode(bytes);
  const Text lower = asciiLower(text);
  Text title;
  if (const std::size_t t = lower.find(u"<title"); t != Text::npos) {
    const std::size_t from = t + 7;
    const std::size_t end = lower.find(u"</title>", from);
    if (end != Text::npos && end >= from) title = textops::TrimBlanks(TextView(text).substr(from, end - from));
  }
  Text description;
  if (const std::size_t d = lower.find(u"description"); d != Text::npos) {
    std::size_t c = lower.find(u"content", d);
    if (c != Text::npos) c = lower.find(u'=', c);
    if (c != Text::npos) {
      const std::size_t end = lower.find(u'>', c);
      Text value = textops::TrimBlanks(TextView(text).substr(c + 1, end == Text::npos ? Text::npos : end - c - 1));
      if (value.ends_with(u"/")) value = textops::TrimBlanks(TextView(value).substr(0, value.size() - 1));
      if (value.size() >= 2 && value.front() == u'"') {
        const std::size_t close = value.find(u'"', 1);
        value = value.substr(1, close == Text::npos ? Text::npos : close - 1);
      }
      description = value;
    }
  }
  if (!title.empty() || !description.empty()) {
    Text out = title;
    if (!description.empty()) {
      out += u"\r\n";
      out += description;
    }
    return out;
  }
  // Neither: the text of the body.
  const std::size_t body = lower.find(u"<body");
  if (body == Text::npos) return {};
  Text out;
  for (std::size_t gt = lower.find(u'>', body); gt != Text::npos && out.size() <= BodyEnough;
       gt = lower.find(u'>', gt + 1)) {
    const std::size_t lt = lower.find(u'<', gt + 1);
    Text piece = trim(TextView(text).substr(gt + 1, lt == Text::npos ? Text::npos : lt - gt - 1));
    for (std::size_t n = piece.find(u"&nbsp;"); n != Text::npos; n = piece.find(u"&nbsp;")) piece.erase(n, 6);
    for (char16_t& c : piece)
      if (c == u'\t' || c == u'\r' || c == u'\n') c = u' ';
    piece = textops::TrimBlanks(piece);
    if (!piece.empty()) {
      if (!out.empty()) out += u", ";
      out += piece;
    }
    if (lt == Text::npos) break;
  }
  Text squeezed;
  for (char16_t c : out) {
    if (c == u' ' && !squeezed.empty() && squeezed.back() == u' ') continue;
    squeezed.push_back(c);
  }
  return squeezed;
}

}  // namespace zevro::filecomment
