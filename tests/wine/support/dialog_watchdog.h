#pragma once
// Keeps a test that meets a dialog or message box nobody drives from waiting
// for ever: such a window of this process, still open after a while, is
// described, closed, and fails the test that was running.
#include <windows.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace somv::test {

// "caption": "text" | "text"..., read without waiting on a busy window.
std::wstring DescribeDialog(HWND dialog);

class DialogWatchdog : public ::testing::EmptyTestEventListener {
 public:
  // Tests drive their dialogs within seconds; `patienceMs` is well beyond.
  explicit DialogWatchdog(DWORD patienceMs);
  ~DialogWatchdog() override;
  DialogWatchdog(const DialogWatchdog&) = delete;
  DialogWatchdog& operator=(const DialogWatchdog&) = delete;

  void OnTestStart(const ::testing::TestInfo& test) override;
  void OnTestEnd(const ::testing::TestInfo& test) override;

 private:
  void Watch();
  void CloseOverdueDialogs();

  const DWORD m_patienceMs;
  std::mutex m_lock;
  std::condition_variable m_wake;
  bool m_testRunning = false;
  bool m_stopping = false;
  std::map<HWND, ULONGLONG> m_firstSeen;
  std::thread m_thread;
};

}  // namespace somv::test
