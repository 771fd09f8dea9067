#include "viewers/DocFormModel.h"

namespace zevro {

Text DocFormModel::toBox(TextView comment) {
  Text out;
  out.reserve(comment.size());
  for (std::size_t i = 0; i < comment.size(); ++i) {
    if (comment[i] == u'\r') {
      out += u'\n';
      if (i + 1 < comment.size() && comment[i + 1] == u'\n') ++i;
    } else {
      out += comment[i];
    }
  }
  return out;
}

Text DocFormModel::toComment(TextView box) {
  Text out;
  out.reserve(box.size() + 16);
  for (const char16_t c : toBox(box)) {
    if (c == u'\n') out += u'\r';
    out += c;
  }
  return out;
}

DocFormModel::View DocFormModel::DispCommentText(TextView catalog, int row, TextView name, TextView comment,
                                                 TextView boxNow) {
  const Text box = toBox(boxNow);
  if (catalog == catalog_ && !name_.empty() && row_ >= 1 && box != kept_ && !box.empty() && editComment_)
    editComment_(row_, toComment(box));
  View v;
  v.caption = Text(u"コメント： ") + Text(name);
  v.enabled = row != 0;
  if (v.enabled) v.box = toBox(comment);
  kept_ = v.box;
  catalog_ = Text(catalog);
  row_ = row;
  name_ = Text(name);
  return v;
}

bool DocFormModel::isCommentTextEdited(TextView catalog, int row, TextView name, Text* text, Text* box) {
  if (row < 1 || catalog != catalog_ || name != name_ || row != row_ || box == nullptr) return false;
  const Text now = toBox(*box);
  if (now == kept_) return false;
  if (now.empty()) {
    *box = kept_;
    return false;
  }
  kept_ = now;
  if (text) *text = toComment(now);
  return true;
}

std::optional<Text> DocFormModel::leave(TextView box) {
  const Text now = toBox(box);
  if (now == kept_) return std::nullopt;
  if (now.empty()) return kept_;
  kept_ = now;
  if (row_ >= 1 && editComment_) editComment_(row_, toComment(now));
  return std::nullopt;
}

}  // namespace zevro
