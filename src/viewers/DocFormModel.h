#pragma once
// What the comment window does, without the window: which row's comment it
// shows, the text as last shown or stored, and when an edit in its box is
// handed to the list (through EditComment, given by the main window).
//
// Comments hold CR LF line breaks; the box holds LF. The kept text and the
// box are compared in the box's form, and a stored edit gets CR LF back, so
// that passing over a multi-line comment is never taken for an edit.
#include <functional>
#include <optional>
#include <utility>

#include "text/Text.h"

namespace zevro {

class DocFormModel {
public:
  // Stores a comment for a catalog row (the main window's EditComment).
  using EditComment = std::function<void(int row, TextView comment)>;

  explicit DocFormModel(EditComment editComment) : editComment_(std::move(editComment)) {}

  // u"a\r\nb" -> u"a\nb" (a lone CR too);  toComment: u"a\nb" -> u"a\r\nb".
  static Text toBox(TextView comment);
  static Text toComment(TextView box);

  // What the window shows after DispCommentText.
  struct View {
    Text caption;  // u"コメント： README.TXT"
    Text box;      // the comment with LF breaks; empty for row 0
    bool enabled = false;
  };

  // Shows a row's comment. A pending edit of the row shown so far (same
  // catalog) is stored first; an emptied box stores nothing, since a comment
  // is not erased from this window.
  View DispCommentText(TextView catalog, int row, TextView name, TextView comment, TextView boxNow);

  // Before a command: true with the edited comment (CR LF) in *text when the
  // box holds an edit of this very row. An emptied box is given the kept text
  // back through *box and answers false.
  bool isCommentTextEdited(TextView catalog, int row, TextView name, Text* text, Text* box);

  // The box lost the focus: an edit is stored; an emptied box gets the kept
  // text back (returned; nullopt: leave the box as it is).
  std::optional<Text> leave(TextView box);

  TextView shownCatalog() const { return catalog_; }
  int shownRow() const { return row_; }
  TextView shownName() const { return name_; }
  TextView keptText() const { return kept_; }

private:
  EditComment editComment_;
  Text catalog_;
  int row_ = 0;
  Text name_;
  Text kept_;  // LF form
};

}  // namespace zevro
