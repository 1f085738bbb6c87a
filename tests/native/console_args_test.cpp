#include "console/console_args.h"

#include <gtest/gtest.h>

namespace somv {
namespace {

using Args = std::vector<std::u16string>;
using Kind = TimerSetting::Kind;

TEST(ReadConsoleArguments, ReadsEachCommandWithItsOptionsAnywhere) {
  struct Case {
    Args args;
    ConsoleCommand command;
    std::u16string printer;
    Kind kind;
    int choice;
    bool json;
    std::u16string settings;
  };
  const Case cases[] = {
      {{u"list"}, ConsoleCommand::List, u"", Kind::On, 0, false, u""},
      {{u"--json", u"LIST", u"--settings", u"a b.ini"}, ConsoleCommand::List, u"", Kind::On, 0, true, u"a b.ini"},
      {{u"get", u"Kelva Büro Ω", u"--json"}, ConsoleCommand::Get, u"Kelva Büro Ω", Kind::On, 0, true, u""},
      {{u"set", u"P", u"Off"}, ConsoleCommand::Set, u"P", Kind::Off, 0, false, u""},
      {{u"--settings=x.ini", u"set", u"P", u"on"}, ConsoleCommand::Set, u"P", Kind::On, 0, false, u"x.ini"},
      {{u"set", u"--", u"-dash", u"8"}, ConsoleCommand::Set, u"-dash", Kind::Choice, 8, false, u""},
      {{u"set", u"P", u"01"}, ConsoleCommand::Set, u"P", Kind::Choice, 1, false, u""},
      {{u"set", u"P", u"--help"}, ConsoleCommand::Help, u"", Kind::On, 0, false, u""},
      {{u"/?"}, ConsoleCommand::Help, u"", Kind::On, 0, false, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    const ArgumentReading reading = ReadConsoleArguments(c.args);
    ASSERT_TRUE(reading.invocation.has_value());
    EXPECT_TRUE(reading.error.empty());
    EXPECT_EQ(reading.invocation->command, c.command);
    if (c.command == ConsoleCommand::Help) continue;
    EXPECT_EQ(reading.invocation->printerName, c.printer);
    EXPECT_EQ(reading.invocation->setting.kind, c.kind);
    EXPECT_EQ(reading.invocation->setting.choice, c.choice);
    EXPECT_EQ(reading.invocation->form == AnswerForm::Json, c.json);
    EXPECT_EQ(reading.invocation->settingsPath.value_or(u""), c.settings);
  }
}

TEST(ReadConsoleArguments, RefusesWrongUseWithOneLine) {
  const Args cases[] = {
      {},
      {u"lists"},
      {u"list", u"extra"},
      {u"get"},
      {u"get", u""},
      {u"set", u"P"},
      {u"set", u"P", u"0"},
      {u"set", u"P", u"9"},
      {u"set", u"P", u"+3"},
      {u"set", u"P", u"99999999999"},
      {u"test", u"P"},
      {u"test", u"--all"},
      {u"set", u"--all", u"P", u"3"},
      {u"get", u"--all", u"P"},
      {u"list", u"--all"},
      {u"register-event-source", u"--all"},
      {u"get", u"P", u"--check"},
      {u"test", u"--all", u"3", u"--check"},
      {u"test", u"--all", u"3", u"--reason", u"why"},
      {u"set", u"P", u"3", u"--reason"},
      {u"set", u"P", u"3", u"--reason=a", u"--reason=b"},
      {u"get", u"P", u"--json=array"},
      {u"list", u"--json", u"--json=array"},
      {u"list", u"--json=lines"},
      {u"list", u"--verbose"},
      {u"list", u"--settings"},
      {u"list", u"--settings="},
      {u"list", u"--settings", u"a", u"--settings", u"b"},
      {u"list", u"--wait", u"0"},
      {u"list", u"--timeout=86401"},
      {u"register-event-source", u"--wait", u"5"},
  };
  for (const Args& args : cases) {
    SCOPED_TRACE(&args - cases);
    const ArgumentReading reading = ReadConsoleArguments(args);
    EXPECT_FALSE(reading.invocation.has_value());
    EXPECT_FALSE(reading.error.empty());
    EXPECT_EQ(reading.error.find(u'\n'), std::u16string::npos);
  }
}

TEST(ReadConsoleArguments, ReadsTheFleetOptions) {
  struct Case {
    Args args;
    ConsoleCommand command;
    std::u16string printer;
    bool all;
    bool check;
    std::u16string reason;
    bool json;
    bool jsonArray;
  };
  const Case cases[] = {
      {{u"test", u"--all", u"3"}, ConsoleCommand::Test, u"", true, false, u"", false, false},
      {{u"TEST", u"P", u"off", u"--json"}, ConsoleCommand::Test, u"P", false, false, u"", true, false},
      {{u"set", u"--all", u"on", u"--check", u"--json"}, ConsoleCommand::Set, u"", true, true, u"", true, false},
      {{u"set", u"P", u"2", u"--reason", u"ticket 42"}, ConsoleCommand::Set, u"P", false, false, u"ticket 42", false, false},
      {{u"--reason=Büro", u"set", u"--all", u"1"}, ConsoleCommand::Set, u"", true, false, u"Büro", false, false},
      {{u"get", u"--all"}, ConsoleCommand::Get, u"", true, false, u"", false, false},
      {{u"list", u"--json=array"}, ConsoleCommand::List, u"", false, false, u"", false, true},
      {{u"register-event-source", u"--json"}, ConsoleCommand::RegisterEventSource, u"", false, false, u"", true, false},
      {{u"--version"}, ConsoleCommand::Version, u"", false, false, u"", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    const ArgumentReading reading = ReadConsoleArguments(c.args);
    ASSERT_TRUE(reading.invocation.has_value()) << std::string(reading.error.begin(), reading.error.end());
    const ConsoleInvocation& invocation = *reading.invocation;
    EXPECT_EQ(invocation.command, c.command);
    EXPECT_EQ(invocation.printerName, c.printer);
    EXPECT_EQ(invocation.allPrinters, c.all);
    EXPECT_EQ(invocation.check, c.check);
    EXPECT_EQ(invocation.reason, c.reason);
    EXPECT_EQ(invocation.form == AnswerForm::Json, c.json);
    EXPECT_EQ(invocation.form == AnswerForm::PrinterArray, c.jsonArray);
  }
  const ArgumentReading limited = ReadConsoleArguments({u"set", u"--all", u"3", u"--wait", u"5", u"--timeout=600"});
  ASSERT_TRUE(limited.invocation.has_value());
  EXPECT_EQ(limited.invocation->waitSeconds, 5);
  EXPECT_EQ(limited.invocation->timeoutSeconds, 600);
  // A wrong use still answers in JSON when asked to.
  EXPECT_TRUE(ReadConsoleArguments({u"frobnicate", u"--json"}).json);
  EXPECT_FALSE(ReadConsoleArguments({u"get", u"--", u"--json"}).json);
}

}  // namespace
}  // namespace somv
