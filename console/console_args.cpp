#include "console/console_args.h"

#include <string_view>

#include "timer/timer_choices.h"

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

// Digits only, so that "+3", "3.0" and " 3" are refused rather than guessed.
std::optional<int> ReadNumber(std::u16string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
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
  const std::optional<int> choice = ReadNumber(text);
  if (!choice || *choice < 1 || *choice > TimerChoiceCount()) return std::nullopt;
  return TimerSetting{TimerSetting::Kind::Choice, *choice};
}

std::u16string Quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

struct CommandShape {
  const char16_t* word;
  ConsoleCommand command;
  bool typed;  // named by a word, not by an option
  bool namesPrinter;
  bool takesSetting;
  bool reachesPrinters;
};

constexpr CommandShape kCommands[] = {
    {u"list", ConsoleCommand::List, true, false, false, true},
    {u"get", ConsoleCommand::Get, true, true, false, true},
    {u"test", ConsoleCommand::Test, true, true, true, true},
    {u"set", ConsoleCommand::Set, true, true, true, true},
    {u"register-event-source", ConsoleCommand::RegisterEventSource, true, false, false, false},
    {u"diagnose", ConsoleCommand::Diagnose, true, false, false, false},
    {u"help", ConsoleCommand::Help, false, false, false, false},
    {u"version", ConsoleCommand::Version, false, false, false, false},
};

const CommandShape& ShapeOf(ConsoleCommand command) {
  for (const CommandShape& shape : kCommands) {
    if (shape.command == command) return shape;
  }
  return kCommands[0];
}

const CommandShape* CommandNamed(std::u16string_view word) {
  for (const CommandShape& shape : kCommands) {
    if (shape.typed && SameWordIgnoringAsciiCase(word, shape.word)) return &shape;
  }
  return nullptr;
}

bool IsJsonOption(std::u16string_view argument) {
  return argument == u"--json" || argument.rfind(u"--json=", 0) == 0;
}

// The value of `--name VALUE` or `--name=VALUE`; nothing when `argument` is
// another option, an empty text when the value is missing.
std::optional<std::u16string> OptionValue(const std::vector<std::u16string>& arguments, std::size_t& i,
                                          std::u16string_view name) {
  const std::u16string& argument = arguments[i];
  if (argument == name) return i + 1 < arguments.size() ? arguments[++i] : std::u16string();
  if (argument.size() > name.size() && argument.compare(0, name.size(), name) == 0 &&
      argument[name.size()] == u'=') {
    return argument.substr(name.size() + 1);
  }
  return std::nullopt;
}

constexpr char16_t kSecondsRange[] = u"a number of seconds from 1 to 86400";

bool ReadSeconds(std::u16string_view text, int& seconds) {
  const std::optional<int> number = ReadNumber(text);
  if (!number || *number < 1 || *number > 86400) return false;
  seconds = *number;
  return true;
}

std::u16string ChoiceRangeText() { return std::u16string(1, static_cast<char16_t>(u'0' + TimerChoiceCount())); }

std::u16string UsageOf(const CommandShape& shape) {
  const std::u16string word = shape.word;
  if (!shape.takesSetting) return word + u" needs the name of a printer or --all";
  return word + u" needs the name of a printer (or --all) and off, on or a choice from 1 to " + ChoiceRangeText();
}

// Options that belong to one command only.
std::u16string MisplacedOption(const ConsoleInvocation& invocation) {
  const ConsoleCommand command = invocation.command;
  if (invocation.check && command != ConsoleCommand::Set) return u"--check goes with set only";
  if (!invocation.reason.empty() && command != ConsoleCommand::Set) return u"--reason goes with set only";
  if (invocation.form == AnswerForm::PrinterArray && command != ConsoleCommand::List) return u"--json=array goes with list only";
  if ((invocation.waitSeconds != 0 || invocation.timeoutSeconds != 0) && !ReachesPrinters(command)) {
    return u"--wait and --timeout go with list, get, test and set";
  }
  return {};
}

}  // namespace

const char16_t* CommandWord(ConsoleCommand command) { return ShapeOf(command).word; }

int TimerChoiceCount() {
  int count = 0;
  while (kTimerChoices[count].timerValue != 0) ++count;
  return count;
}

bool ReachesPrinters(ConsoleCommand command) { return ShapeOf(command).reachesPrinters; }

ArgumentReading ReadConsoleArguments(const std::vector<std::u16string>& arguments) {
  ConsoleInvocation invocation;
  std::vector<std::u16string> words;
  bool help = false;
  bool version = false;
  bool optionsEnded = false;
  bool wantsJson = false;
  bool formsConflict = false;
  for (const std::u16string& argument : arguments) {
    if (argument == u"--") break;
    if (IsJsonOption(argument)) wantsJson = true;
  }
  const auto wrongUse = [wantsJson](std::u16string message) {
    return ArgumentReading{std::nullopt, std::move(message), wantsJson};
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (optionsEnded || argument.empty() || (argument[0] != u'-' && argument != u"/?")) {
      words.push_back(argument);
    } else if (argument == u"--") {
      optionsEnded = true;
    } else if (argument == u"--help" || argument == u"-h" || argument == u"/?") {
      help = true;
    } else if (argument == u"--version") {
      version = true;
    } else if (argument == u"--json" || argument == u"--json=array") {
      const AnswerForm form = argument == u"--json" ? AnswerForm::Json : AnswerForm::PrinterArray;
      formsConflict = formsConflict || (invocation.form != AnswerForm::Text && invocation.form != form);
      invocation.form = form;
    } else if (argument == u"--all") {
      invocation.allPrinters = true;
    } else if (argument == u"--check") {
      invocation.check = true;
    } else if (const auto reason = OptionValue(arguments, i, u"--reason")) {
      if (reason->empty()) return wrongUse(u"--reason needs a text");
      if (!invocation.reason.empty()) return wrongUse(u"--reason is given twice");
      invocation.reason = *reason;
    } else if (const auto wait = OptionValue(arguments, i, u"--wait")) {
      if (!ReadSeconds(*wait, invocation.waitSeconds)) return wrongUse(std::u16string(u"--wait needs ") + kSecondsRange);
    } else if (const auto timeout = OptionValue(arguments, i, u"--timeout")) {
      if (!ReadSeconds(*timeout, invocation.timeoutSeconds)) return wrongUse(std::u16string(u"--timeout needs ") + kSecondsRange);
    } else if (const auto path = OptionValue(arguments, i, u"--settings")) {
      if (path->empty()) return wrongUse(u"--settings needs the path of a settings file");
      if (invocation.settingsPath) return wrongUse(u"--settings is given twice");
      invocation.settingsPath = *path;
    } else {
      return wrongUse(u"unknown option " + Quoted(argument));
    }
  }
  if (formsConflict) return wrongUse(u"--json and --json=array exclude each other");
  if (help || version) {
    invocation.command = help ? ConsoleCommand::Help : ConsoleCommand::Version;
    return {invocation, {}, wantsJson};
  }
  if (words.empty()) return wrongUse(u"no command given: list, get, test, set, diagnose or register-event-source");

  const CommandShape* shape = CommandNamed(words[0]);
  if (shape == nullptr) return wrongUse(u"unknown command " + Quoted(words[0]));
  invocation.command = shape->command;
  if (invocation.allPrinters && !shape->namesPrinter) return wrongUse(u"--all goes with get, test and set");
  const std::size_t expected = 1 + (shape->namesPrinter && !invocation.allPrinters ? 1 : 0) +
                               (shape->takesSetting ? 1 : 0);
  if (words.size() < expected) return wrongUse(UsageOf(*shape));
  if (words.size() > expected) return wrongUse(u"unexpected argument " + Quoted(words[expected]));
  if (shape->namesPrinter && !invocation.allPrinters) {
    invocation.printerName = words[1];
    if (invocation.printerName.empty()) return wrongUse(u"the printer name is empty");
  }
  if (shape->takesSetting) {
    const std::optional<TimerSetting> setting = ReadTimerSetting(words.back());
    if (!setting) {
      return wrongUse(std::u16string(shape->word) + u" takes off, on or a choice from 1 to " + ChoiceRangeText() +
                      u", not " + Quoted(words.back()));
    }
    invocation.setting = *setting;
  }
  const std::u16string misplaced = MisplacedOption(invocation);
  if (!misplaced.empty()) return wrongUse(misplaced);
  return {invocation, {}, wantsJson};
}

}  // namespace somv
