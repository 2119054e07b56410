// The regime script's grammar and its syntax errors.
#include <gtest/gtest.h>

#include "script/script.h"

namespace keldovar::cli {
namespace {

TEST(Script, CommandsKeysAndComments) {
  ParsedScript s = parseScript(
      "# a comment line\n"
      "\n"
      "PLANTATION SI=65 Trees=600\tsurvival=85 control=HerbWoody   # trailing comment\n"
      "grow 16\r\n"
      "thin LOW dbh=8\n"
      "thin rowlow ba=70 row=\n"
      "fertilize n=150 p=No\n"
      "harvest\n");
  ASSERT_TRUE(s.errors.empty()) << s.errors[0].message;
  ASSERT_EQ(s.commands.size(), 6u);
  const Command& p = s.commands[0];
  EXPECT_EQ(p.kind, CommandKind::Plantation);
  EXPECT_EQ(p.line, 3);
  EXPECT_EQ(p.fields.at("si"), "65");
  EXPECT_EQ(p.fields.at("trees"), "600");
  EXPECT_EQ(p.fields.at("control"), "herbwoody");
  EXPECT_EQ(s.commands[1].kind, CommandKind::Grow);
  EXPECT_EQ(s.commands[1].fields.at("age"), "16");
  EXPECT_EQ(s.commands[2].kind, CommandKind::ThinLow);
  EXPECT_EQ(s.commands[2].fields.at("method"), "dbh");
  EXPECT_EQ(s.commands[3].fields.at("row"), "");  // an empty field
  EXPECT_EQ(s.commands[4].fields.at("p"), "no");
  EXPECT_EQ(s.commands[5].kind, CommandKind::Harvest);
}

TEST(Script, EverySyntaxErrorIsFoundWithItsLine) {
  struct Case {
    const char* line;
    const char* message;
  };
  const Case cases[] = {
      {"prune ba=3", "unknown command 'prune'"},
      {"grow", "grow takes exactly one age"},
      {"grow 20 25", "grow takes exactly one age"},
      {"grow age=20", "grow takes exactly one age"},
      {"thin", "thin takes a method: row, thinomatic, low or rowlow"},
      {"thin heavy ba=60", "thin takes a method: row, thinomatic, low or rowlow"},
      {"thin low", "thin low takes exactly one of ba and dbh"},
      {"thin low ba=60 dbh=8", "thin low takes exactly one of ba and dbh"},
      {"thin row dbh=8", "unknown key 'dbh' for thin"},
      {"unthinned age=20 age=21", "key 'age' given twice"},
      {"unthinned age 20", "'age' is not key=value"},
      {"harvest now", "'now' is not key=value"},
      {"plantation control=some", "control is none, woody or herbwoody"},
      {"fertilize n=100 p=maybe", "p is yes or no"},
      {"merch =4", "'=4' is not key=value"},
  };
  for (const Case& c : cases) {
    ParsedScript s = parseScript(std::string("harvest\n") + c.line + "\n");
    ASSERT_EQ(s.errors.size(), 1u) << c.line;
    EXPECT_EQ(s.errors[0].line, 2) << c.line;
    EXPECT_EQ(s.errors[0].message, c.message) << c.line;
  }
  // All errors are reported, not only the first.
  EXPECT_EQ(parseScript("grow\nthin\nprune\n").errors.size(), 3u);
}

TEST(Script, ByteOrderMarkAndEveryLineEnd) {
  ParsedScript s = parseScript("\xEF\xBB\xBFplantation si=65\rgrow 16\r\nharvest\n\rreset");
  ASSERT_TRUE(s.errors.empty()) << s.errors[0].message;
  ASSERT_EQ(s.commands.size(), 4u);
  EXPECT_EQ(s.commands[0].kind, CommandKind::Plantation);
  EXPECT_EQ(s.commands[1].line, 2);
  EXPECT_EQ(s.commands[2].line, 3);
  EXPECT_EQ(s.commands[3].line, 5);  // LF then CR: two line ends
}

TEST(Script, EchoedWordsAreCutAndEscapedAndErrorListsCapped) {
  std::string longWord(100000, 'x');
  ParsedScript s = parseScript(longWord + "\nharvest \x01\x1b[2J\n");
  ASSERT_EQ(s.errors.size(), 2u);
  EXPECT_EQ(s.errors[0].message, "unknown command '" + std::string(60, 'x') + "...'");
  EXPECT_EQ(s.errors[1].message, "'\\x01\\x1b[2J' is not key=value");
  // Characters, not bytes: a word of 60 two-byte letters is shown whole.
  std::string letters;
  for (int i = 0; i < 60; ++i) letters += "\xC3\xA9";
  EXPECT_EQ(shownWord(letters), letters);
  EXPECT_EQ(shownWord(letters + "e"), letters + "...");

  std::string many;
  for (int i = 0; i < 250; ++i) many += "prune\n";
  ParsedScript capped = parseScript(many);
  EXPECT_EQ(capped.errors.size(), kListedErrorCapacity);
  EXPECT_EQ(capped.errors.back().line, 100);
  EXPECT_EQ(capped.unlistedErrors, 150u);
}

}  // namespace
}  // namespace keldovar::cli
