#include "media/MediumTitle.h"

#include <gtest/gtest.h>

#include <deque>

#include "MediaFixture.h"

namespace zevro::test {
namespace {

struct Answers : MediaDriveQuestion {
  Text InputMediaDrive(const MediaQuestion& q) override {
    asked.push_back(q);
    if (answers.empty()) return {};
    Text a = answers.front();
    answers.pop_front();
    return a;
  }
  std::deque<Text> answers;
  std::vector<MediaQuestion> asked;
};

class MediumTitleTest : public MediaFixture {
protected:
  TitleFile titleFile{info, ui};
  Answers question;
  std::vector<std::tuple<char, Text, Text>> relabelled;
  mediumtitle::Relabel relabel = [this](char l, TextView o, TextView n) {
    relabelled.emplace_back(l, Text(o), Text(n));
    return true;
  };
};

TEST_F(MediumTitleTest, WrongDriveThenTheStickWithAnotherTitleIsRenamed) {
  addDrive('E', drivetype::CdRom, u"DISC");
  addDrive('G', drivetype::Removable, u"");
  put("drive-G/VolName.txt", "OLD\r\n");
  question.answers = {u"E:", u"G:"};
  ui.answers = {AnswerOk, AnswerYes};
  ui.inputs = {u"NEW"};
  EXPECT_TRUE(mediumtitle::ChangeMediumTitle(question, info, titleFile, ui, u"TRIP", relabel));
  ASSERT_EQ(question.asked.size(), 2u);
  EXPECT_EQ(question.asked[0].label, u"TRIP");
  EXPECT_EQ(question.asked[0].message, mediumtitle::Instruction);
  ASSERT_EQ(ui.messages().size(), 2u);
  EXPECT_EQ(ui.messages()[0], mediumtitle::wrongTypeMessage());
  EXPECT_EQ(ui.messages()[1], mediumtitle::changeQuestion(u"OLD"));
  EXPECT_EQ(get("drive-G/VolName.txt"), "NEW\r\n");
  ASSERT_EQ(relabelled.size(), 1u);
  EXPECT_EQ(relabelled[0], std::make_tuple('G', Text(u"OLD"), Text(u"NEW")));
}

TEST_F(MediumTitleTest, StickWithoutTitleGetsTheWantedOneFirstAndNoAsksAgain) {
  addDrive('G', drivetype::Removable, u"");
  addDrive('H', drivetype::Removable, u"");
  put("drive-H/VolName.txt", "OTHER\r\n");
  // H holds another title: No asks for the drive again; then G, new to titles.
  question.answers = {u"H:", u"G:"};
  ui.answers = {AnswerNo};
  ui.inputs = {u"TRIP 2"};
  EXPECT_TRUE(mediumtitle::ChangeMediumTitle(question, info, titleFile, ui, u"TRIP", relabel));
  EXPECT_EQ(get("drive-G/VolName.txt"), "TRIP 2\r\n");
  EXPECT_EQ(get("drive-H/VolName.txt"), "OTHER\r\n");
  ASSERT_EQ(relabelled.size(), 1u);
  EXPECT_EQ(relabelled[0], std::make_tuple('G', Text(u"TRIP"), Text(u"TRIP 2")));
}

TEST_F(MediumTitleTest, CancelAnywhereChangesNothing) {
  addDrive('G', drivetype::Removable, u"");
  put("drive-G/VolName.txt", "OLD\r\n");
  question.answers = {u"G:"};
  ui.answers = {AnswerCancel};
  EXPECT_FALSE(mediumtitle::ChangeMediumTitle(question, info, titleFile, ui, u"TRIP", relabel));
  question.answers = {u"G:"};
  ui.answers = {AnswerYes};
  ui.inputs = {u""};
  EXPECT_FALSE(mediumtitle::ChangeMediumTitle(question, info, titleFile, ui, u"TRIP", relabel));
  EXPECT_FALSE(mediumtitle::ChangeMediumTitle(question, info, titleFile, ui, u"TRIP", relabel));
  EXPECT_EQ(get("drive-G/VolName.txt"), "OLD\r\n");
  EXPECT_TRUE(relabelled.empty());
}

}  // namespace
}  // namespace zevro::test
