#include "console/run_progress.h"

namespace somv {

void RunProgress::Began(const ConsoleResult& result) {
  const std::lock_guard<std::mutex> hold(m_lock);
  if (!m_cut) m_began = result;
}

void RunProgress::StepTaken(const PrinterRecord& record) {
  const std::lock_guard<std::mutex> hold(m_lock);
  if (!m_cut) m_current = record;
}

void RunProgress::PrinterDone(const PrinterRecord& record) {
  const std::lock_guard<std::mutex> hold(m_lock);
  if (m_cut) return;
  m_printers.push_back(record);
  m_current.reset();
}

void RunProgress::Finish() {
  {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_done = true;
  }
  m_finished.notify_all();
}

bool RunProgress::WaitUntilFinished(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> hold(m_lock);
  return m_finished.wait_until(hold, deadline, [this] { return m_done; });
}

std::optional<ConsoleResult> RunProgress::CutOff(ConsoleResult base) {
  const std::lock_guard<std::mutex> hold(m_lock);
  if (m_done) return std::nullopt;
  m_cut = true;
  if (m_began) base = *m_began;
  base.printers = m_printers;
  if (m_current) {
    base.printers.push_back(*m_current);
    base.printers.back().error = PrinterError::TimedOut;
  }
  base.error = RunError::TimedOut;
  return base;
}

}  // namespace somv
