#include "console/console_answer.h"

#include <gtest/gtest.h>

namespace somv {
namespace {

PrinterReport Converged(std::u16string name, std::uint16_t before, std::uint16_t after) {
  PrinterReport report;
  report.printerName = std::move(name);
  report.driverName = u"Kelva E2E-100";
  report.minimumFirmware = u"01.05";
  report.firmware = u"01.05";
  report.gatePasses = true;
  report.timerCode = after;
  report.before = before;
  report.after = after;
  report.changed = before != after;
  report.inDesiredState = before == after;
  return report;
}

TEST(FormatAnswerJson, AnswersARunInOneAsciiLine) {
  ConsoleAnswer answer;
  answer.command = u"set";
  answer.converging = true;
  answer.exit = 5;
  answer.error = AnswerError{u"printer-failed", u"a printer failed"};
  answer.printers.push_back(Converged(u"B\u00fcro \U0001F5A8", 0x8005, 0x0003));
  PrinterReport failed;
  failed.printerName = u"Q";
  failed.failure = u"the printer could not be opened";
  failed.failureCode = u"open-failed";
  answer.printers.push_back(failed);
  EXPECT_EQ(FormatAnswerJson(answer, u"ZELV4PCD.EXE", u"1.0.0.0"),
            u"{\"schema\": 1, \"program\": \"ZELV4PCD.EXE\", \"version\": \"1.0.0.0\", \"command\": \"set\", "
            u"\"check\": false, \"exit\": 5, \"changed\": true, \"inDesiredState\": false, "
            u"\"error\": {\"code\": \"printer-failed\", \"message\": \"a printer failed\"}, \"truncated\": false, "
            u"\"printers\": [{\"printer\": \"B\\u00fcro \\ud83d\\udda8\", \"driver\": \"Kelva E2E-100\", "
            u"\"firmware\": \"01.05\", \"minimum\": \"01.05\", \"gate\": \"pass\", \"powerOff\": \"on\", "
            u"\"choice\": 3, \"code\": \"0x0003\", \"status\": \"ok\", \"before\": \"0x8005\", "
            u"\"after\": \"0x0003\", \"changed\": true, \"inDesiredState\": false, \"error\": null}, "
            u"{\"printer\": \"Q\", \"driver\": \"\", \"firmware\": null, \"minimum\": \"\", \"gate\": null, "
            u"\"powerOff\": null, \"choice\": null, \"code\": null, \"status\": \"the printer could not be opened\", "
            u"\"before\": null, \"after\": null, \"changed\": null, \"inDesiredState\": null, "
            u"\"error\": {\"code\": \"open-failed\", \"message\": \"the printer could not be opened\"}}]}");
}

// Detection output is kept to about 2,048 characters: the drift survives.
TEST(FormatAnswerJson, LeavesOutSettledPrintersOnlyWhenTestWouldPassTheLimit) {
  ConsoleAnswer answer;
  answer.command = u"test";
  answer.converging = true;
  answer.exit = 1;
  answer.printers.push_back(Converged(u"drifted", 0x8005, 0x0003));
  for (int i = 0; i < 3; ++i) answer.printers.push_back(Converged(u"settled", 3, 3));
  std::u16string line = FormatAnswerJson(answer, u"P", u"1");
  EXPECT_NE(line.find(u"\"truncated\": false"), std::u16string::npos);
  EXPECT_NE(line.find(u"settled"), std::u16string::npos);

  for (int i = 0; i < 20; ++i) answer.printers.push_back(Converged(u"settled", 3, 3));
  line = FormatAnswerJson(answer, u"P", u"1");
  EXPECT_NE(line.find(u"\"truncated\": true"), std::u16string::npos);
  EXPECT_NE(line.find(u"drifted"), std::u16string::npos);
  EXPECT_EQ(line.find(u"settled"), std::u16string::npos);
  EXPECT_LE(line.size(), kTestAnswerLimit);

  answer.command = u"set";
  EXPECT_NE(FormatAnswerJson(answer, u"P", u"1").find(u"\"truncated\": false"), std::u16string::npos);
}

}  // namespace
}  // namespace somv
