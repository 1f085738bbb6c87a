#include "console/console_json.h"

#include <gtest/gtest.h>

#include "console/console_text.h"
#include "console/json_writer.h"

namespace somv {
namespace {

PrinterRecord Converged(std::u16string name, std::uint16_t before, std::uint16_t after) {
  PrinterRecord record;
  record.printerName = std::move(name);
  record.driverName = u"Kelva E2E-100";
  record.minimumFirmware = u"01.05";
  record.firmware = u"01.05";
  record.gatePasses = true;
  record.codeRead = before;
  record.codeMeant = after;
  record.written = before != after;
  record.step = RoadStep::Done;
  return record;
}

TEST(FormatAnswerJson, AnswersARunInOneAsciiLine) {
  ConsoleResult answer;
  answer.command = ConsoleCommand::Set;
  answer.error = RunError::PrinterFailed;
  answer.printers.push_back(Converged(u"B\u00fcro \U0001F5A8", 0x8005, 0x0003));
  PrinterRecord failed;
  failed.printerName = u"Q";
  failed.error = PrinterError::OpenFailed;
  answer.printers.push_back(failed);
  EXPECT_EQ(FormatAnswerJson(answer, u"ZELV4PCD.EXE", u"1.0.0.0"),
            u"{\"schema\": 1, \"program\": \"ZELV4PCD.EXE\", \"version\": \"1.0.0.0\", \"command\": \"set\", "
            u"\"check\": false, \"exit\": 5, \"changed\": true, \"inDesiredState\": false, "
            u"\"error\": {\"code\": \"printer-failed\", \"message\": \"a printer failed\"}, \"truncated\": false, "
            u"\"summary\": {\"changed\": 1, \"unchanged\": 0, \"failed\": 1}, "
            u"\"printers\": [{\"printer\": \"B\\u00fcro \\ud83d\\udda8\", \"driver\": \"Kelva E2E-100\", "
            u"\"firmware\": \"01.05\", \"minimum\": \"01.05\", \"gate\": \"pass\", \"powerOff\": \"on\", "
            u"\"choice\": 3, \"code\": \"0x0003\", \"status\": \"ok\", \"before\": \"0x8005\", "
            u"\"after\": \"0x0003\", \"changed\": true, \"inDesiredState\": false, \"error\": null}, "
            u"{\"printer\": \"Q\", \"driver\": \"\", \"firmware\": null, \"minimum\": \"\", \"gate\": null, "
            u"\"powerOff\": null, \"choice\": null, \"code\": null, \"status\": \"the printer could not be opened\", "
            u"\"before\": null, \"after\": null, \"changed\": null, \"inDesiredState\": null, "
            u"\"error\": {\"code\": \"open-failed\", \"message\": \"the printer could not be opened\"}}]}");
}

// Agents keep about 2,048 characters of output: the drift survives.
TEST(FormatAnswerJson, LeavesOutSettledPrintersOnlyWhenTheLineWouldPassTheLimit) {
  ConsoleResult answer;
  answer.command = ConsoleCommand::Test;
  answer.printers.push_back(Converged(u"drifted", 0x8005, 0x0003));
  for (int i = 0; i < 3; ++i) answer.printers.push_back(Converged(u"settled", 3, 3));
  std::u16string line = FormatAnswerJson(answer, u"P", u"1");
  EXPECT_NE(line.find(u"\"truncated\": false"), std::u16string::npos);
  EXPECT_NE(line.find(u"settled"), std::u16string::npos);

  for (int i = 0; i < 20; ++i) answer.printers.push_back(Converged(u"settled", 3, 3));
  line = FormatAnswerJson(answer, u"P", u"1");
  EXPECT_NE(line.find(u"\"truncated\": true"), std::u16string::npos);
  EXPECT_NE(line.find(u"drifted"), std::u16string::npos);
  EXPECT_NE(line.find(u"\"summary\": {\"drift\": 1, \"ok\": 23, \"failed\": 0}"), std::u16string::npos);
  EXPECT_LE(line.size(), kJsonAnswerLimit);

  // Then the others: every verb's answer stays within the limit.
  answer.command = ConsoleCommand::Set;
  answer.check = true;
  answer.printers.assign(300, Converged(u"drifted", 0x8005, 0x0003));
  line = FormatAnswerJson(answer, u"P", u"1");
  EXPECT_NE(line.find(u"\"summary\": {\"changed\": 300, \"unchanged\": 0, \"failed\": 0}"), std::u16string::npos);
  EXPECT_LE(line.size(), kJsonAnswerLimit);
}

ConsoleResult ResultOf(ConsoleCommand command, std::vector<PrinterRecord> printers, bool check = false) {
  ConsoleResult result;
  result.command = command;
  result.check = check;
  result.printers = std::move(printers);
  return result;
}

TEST(FormatText, ShowsEachPrinterInOneLineAndTheVerdictLast) {
  PrinterRecord unknown;
  unknown.printerName = u"Kelva U";
  unknown.error = PrinterError::OpenFailed;
  struct Row {
    const char* what;
    ConsoleResult result;
    std::u16string lines;  // what the text holds, from its start when `whole`
    bool whole;
  };
  const Row rows[] = {
      {"header and a printer", ResultOf(ConsoleCommand::Get, {Converged(u"Kelva A", 3, 3)}),
       u"printer\tdriver\tfirmware\tminimum\tgate\tpower-off\tchoice\tcode\tstatus\r\n"
       u"Kelva A\tKelva E2E-100\t01.05\t01.05\tpass\ton\t3\t0x0003\tok\r\n",
       true},
      {"every field unknown", ResultOf(ConsoleCommand::List, {unknown}),
       u"\r\nKelva U\t\t-\t\t-\t-\t-\t-\tthe printer could not be opened\r\n", false},
      {"controls in a name", ResultOf(ConsoleCommand::Get, {Converged(u"A\tB\nC\rD\x01\x7F", 0x8001, 0x8001)}),
       u"\r\nA\\tB\\nC\\rD\\x01\\x7F\tKelva E2E-100\t01.05\t01.05\tpass\toff\t1\t0x8001\tok\r\n", false},
      {"test's summary", ResultOf(ConsoleCommand::Test, {Converged(u"A", 5, 3), unknown}),
       u"\r\nsummary: drift=1 ok=0 failed=1\r\n", false},
      {"set's summary", ResultOf(ConsoleCommand::Set, {Converged(u"A", 5, 3), Converged(u"B", 3, 3)}),
       u"\r\nsummary: changed=1 unchanged=1 failed=0\r\n", false},
      {"set --check's summary", ResultOf(ConsoleCommand::Set, {Converged(u"A", 5, 3)}, true),
       u"\r\nsummary: check changed=1 unchanged=0 failed=0\r\n", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::u16string text = FormatText(row.result);
    if (row.whole) {
      EXPECT_EQ(text, row.lines);
    } else {
      EXPECT_NE(text.find(row.lines), std::u16string::npos) << std::string(text.begin(), text.end());
    }
  }
}

// Every exit status a run can end with is in the help.
TEST(FormatText, HelpListsEveryStatus) {
  std::u16string help = FormatText(ResultOf(ConsoleCommand::Help, {}));
  for (std::size_t end = help.find(u"\r\n"); end != std::u16string::npos; end = help.find(u"\r\n")) {
    help.replace(end, 2, u" ");
  }
  for (const RunErrorRow& row : kRunErrors) {
    EXPECT_NE(help.find(u" " + DecimalText(row.exitStatus) + u" " + row.meaning), std::u16string::npos) << row.exitStatus;
  }
  EXPECT_NE(help.find(u" " + DecimalText(kDriftStatus) + u" test"), std::u16string::npos);
}

}  // namespace
}  // namespace somv
