#pragma once
// Reads message boxes as the user sees them: a thread of its own waits for
// the box that the thread under test shows, notes caption, text, icon and
// owner, and presses OK.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "framework/message_box_win.h"

namespace somv::test {

struct MessageBoxSnapshot {
  HWND window = nullptr;
  HWND owner = nullptr;
  std::wstring caption;
  std::wstring text;
  HICON icon = nullptr;  // of the box's SS_ICON static; null when it has none
};

// A dialog window with the message box's text static (id 0xFFFF).
bool IsMessageBox(HWND window);
std::optional<MessageBoxSnapshot> ReadMessageBox(HWND box);
// The first visible message box of `threadId`, waiting up to `timeoutMs`.
HWND WaitForMessageBox(DWORD threadId, DWORD timeoutMs);

class MessageBoxProbe {
 public:
  using WhileShown = std::function<void(const MessageBoxSnapshot&)>;

  // `whileShown` runs on the probe's thread before OK is pressed.
  explicit MessageBoxProbe(DWORD threadId = ::GetCurrentThreadId(), DWORD timeoutMs = 5000,
                           WhileShown whileShown = {});
  ~MessageBoxProbe();
  MessageBoxProbe(const MessageBoxProbe&) = delete;
  MessageBoxProbe& operator=(const MessageBoxProbe&) = delete;

  // Waits for the probe to finish; nothing when no box appeared in time.
  std::optional<MessageBoxSnapshot> Result();

 private:
  std::optional<MessageBoxSnapshot> m_snapshot;
  std::thread m_thread;
};

// Every box the program asks for while one of these lives, with the exact
// style it passed (Wine draws right-to-left boxes left to right).
struct RecordedMessageBox {
  HWND owner;
  std::wstring text;
  std::wstring caption;
  UINT style;
};

class MessageBoxRecorder {
 public:
  // `showForReal` false: nothing is shown and every box answers IDOK.
  explicit MessageBoxRecorder(bool showForReal = true);
  ~MessageBoxRecorder();
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  const std::vector<RecordedMessageBox>& Calls() const { return m_calls; }

 private:
  static int WINAPI Record(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);

  bool m_showForReal;
  std::vector<RecordedMessageBox> m_calls;
  MessageBoxFunction m_previous;
};

}  // namespace somv::test
