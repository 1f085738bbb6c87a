#pragma once
// What the console program was asked to do, read from its arguments, and the
// timer code a `set` writes: the timer dialog's OK for the same choice.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace somv {

enum class ConsoleCommand { Help, Version, List, Get, Test, Set, RegisterEventSource };

// off and on keep the printer's choice; a number selects that choice and
// switches power-off on, as ticking the box and picking from the list would.
struct TimerSetting {
  enum class Kind { Off, On, Choice } kind = Kind::On;
  int choice = 0;  // 1 to 8 for Kind::Choice
};

struct ConsoleInvocation {
  ConsoleCommand command = ConsoleCommand::Help;
  std::u16string printerName;          // get, test and set without --all
  bool allPrinters = false;            // --all: every supported printer
  TimerSetting setting;                // test and set
  bool json = false;                   // --json: one line answering the run
  bool jsonArray = false;              // list --json=array: the older array form
  bool check = false;                  // set --check: decide, never write
  std::u16string reason;               // set --reason, for the event log
  std::optional<std::u16string> settingsPath;
};

struct ArgumentReading {
  std::optional<ConsoleInvocation> invocation;
  std::u16string error;  // one line, set exactly when there is no invocation
  bool json = false;     // --json was given, also when the reading failed
};

// `arguments` without the program name. Command words and off/on ignore
// ASCII case; printer names are taken exactly. "--" ends the options, for a
// printer whose name starts with a dash.
ArgumentReading ReadConsoleArguments(const std::vector<std::u16string>& arguments);

// The code to write over the printer's `currentCode`; nothing when off or on
// finds no choice to keep (the dialog's OK would ask for one).
std::optional<std::uint16_t> TimerCodeToWrite(std::uint16_t currentCode, const TimerSetting& setting);

}  // namespace somv
