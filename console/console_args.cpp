#include "console/console_args.h"

#include <string_view>

#include "timer/power_off_timer.h"
#include "timer/timer_rules.h"

namespace somv {
namespace {

bool SameWordIgnoringAsciiCase(std::u16string_view text, std::u16string_view word) {
  if (text.size() != word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t unit = text[i];
    if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
    if (unit != word[i]) return false;
  }
  return true;
}

int ChoiceCount() {
  int count = 0;
  while (kTimerChoices[count].timerValue != 0) ++count;
  return count;
}

// Digits only, so that "+3", "3.0" and " 3" are refused rather than guessed.
std::optional<int> ReadChoiceNumber(std::u16string_view text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int value = 0;
  for (char16_t unit : text) {
    if (unit < u'0' || unit > u'9') return std::nullopt;
    value = value * 10 + (unit - u'0');
  }
  return value;
}

std::optional<TimerSetting> ReadTimerSetting(std::u16string_view text) {
  if (SameWordIgnoringAsciiCase(text, u"off")) return TimerSetting{TimerSetting::Kind::Off, 0};
  if (SameWordIgnoringAsciiCase(text, u"on")) return TimerSetting{TimerSetting::Kind::On, 0};
  const std::optional<int> choice = ReadChoiceNumber(text);
  if (!choice || *choice < 1 || *choice > ChoiceCount()) return std::nullopt;
  return TimerSetting{TimerSetting::Kind::Choice, *choice};
}

ArgumentReading WrongUse(std::u16string message) { return {std::nullopt, std::move(message)}; }

std::u16string Quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

}  // namespace

ArgumentReading ReadConsoleArguments(const std::vector<std::u16string>& arguments) {
  ConsoleInvocation invocation;
  std::vector<std::u16string> words;
  bool help = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (optionsEnded || argument.empty() || (argument[0] != u'-' && argument != u"/?")) {
      words.push_back(argument);
    } else if (argument == u"--") {
      optionsEnded = true;
    } else if (argument == u"--help" || argument == u"-h" || argument == u"/?") {
      help = true;
    } else if (argument == u"--json") {
      invocation.json = true;
    } else if (argument == u"--settings" || argument.rfind(u"--settings=", 0) == 0) {
      std::u16string path;
      if (argument == u"--settings") {
        if (i + 1 == arguments.size()) return WrongUse(u"--settings needs the path of a settings file");
        path = arguments[++i];
      } else {
        path = argument.substr(11);
      }
      if (path.empty()) return WrongUse(u"--settings needs the path of a settings file");
      if (invocation.settingsPath) return WrongUse(u"--settings is given twice");
      invocation.settingsPath = path;
    } else {
      return WrongUse(u"unknown option " + Quoted(argument));
    }
  }
  if (help) return {invocation, {}};
  if (words.empty()) return WrongUse(u"no command given: list, get PRINTER or set PRINTER off|on|N");

  const std::u16string& command = words[0];
  std::size_t expected = 0;
  if (SameWordIgnoringAsciiCase(command, u"list")) {
    invocation.command = ConsoleCommand::List;
    expected = 1;
  } else if (SameWordIgnoringAsciiCase(command, u"get")) {
    invocation.command = ConsoleCommand::Get;
    expected = 2;
  } else if (SameWordIgnoringAsciiCase(command, u"set")) {
    invocation.command = ConsoleCommand::Set;
    expected = 3;
  } else {
    return WrongUse(u"unknown command " + Quoted(command));
  }
  if (words.size() < expected) {
    return WrongUse(expected == 2 ? u"get needs the name of a printer"
                                  : u"set needs the name of a printer and off, on or a choice number");
  }
  if (words.size() > expected) return WrongUse(u"unexpected argument " + Quoted(words[expected]));
  if (expected >= 2) {
    invocation.printerName = words[1];
    if (invocation.printerName.empty()) return WrongUse(u"the printer name is empty");
  }
  if (invocation.command == ConsoleCommand::Set) {
    const std::optional<TimerSetting> setting = ReadTimerSetting(words[2]);
    if (!setting) {
      return WrongUse(u"set takes off, on or a choice from 1 to " +
                      std::u16string(1, static_cast<char16_t>(u'0' + ChoiceCount())) + u", not " +
                      Quoted(words[2]));
    }
    if (invocation.json) return WrongUse(u"--json goes with list and get only");
    invocation.setting = *setting;
  }
  return {invocation, {}};
}

std::optional<std::uint16_t> TimerCodeToWrite(std::uint16_t currentCode, const TimerSetting& setting) {
  int selected = PowerOffTimer::Decode(currentCode).ChoiceIndex();
  bool powerOffEnabled = setting.kind != TimerSetting::Kind::Off;
  if (setting.kind == TimerSetting::Kind::Choice) selected = setting.choice - 1;
  const TimerOkDecision decision =
      DecideTimerOk(false, selected, powerOffEnabled ? kCheckChecked : kCheckUnchecked);
  if (decision.action != TimerOkAction::Write) return std::nullopt;
  return decision.timerCode;
}

}  // namespace somv
