#include "console/console_json.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace somv
