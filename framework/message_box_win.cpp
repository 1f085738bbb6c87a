#include "framework/message_box_win.h"

namespace somv {
namespace {

MessageBoxFunction g_showBox = &::MessageBoxW;

}  // namespace

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) {
  return g_showBox(owner, text.c_str(), caption.c_str(), style);
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function) {
  const MessageBoxFunction previous = g_showBox;
  g_showBox = function != nullptr ? function : &::MessageBoxW;
  return previous;
}

}  // namespace somv
