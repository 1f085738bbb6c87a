#pragma once
// What a run has done so far, shared between the thread that talks to the
// printers and the one that keeps the time limit: a call into the status
// library may never return, and the answer must still be written.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

#include "console/console_result.h"

namespace somv {

class RunProgress {
 public:
  // What the run has learnt before its printers (the settings file's mark,
  // elevation): a cut-off answer keeps it.
  void Began(const ConsoleResult& result);
  void StepTaken(const PrinterRecord& record);
  void PrinterDone(const PrinterRecord& record);
  void Finish();

  // True once Finish was called, waiting until `deadline` at most.
  bool WaitUntilFinished(std::chrono::steady_clock::time_point deadline);

  // Ends the sharing: what the run had begun with (else `base`), the
  // printers done and the one in progress (timed out), and the run timed
  // out; nothing when the run finished first.
  std::optional<ConsoleResult> CutOff(ConsoleResult base);

 private:
  std::mutex m_lock;
  std::condition_variable m_finished;
  bool m_done = false;
  bool m_cut = false;
  std::optional<ConsoleResult> m_began;
  std::vector<PrinterRecord> m_printers;
  std::optional<PrinterRecord> m_current;
};

}  // namespace somv
