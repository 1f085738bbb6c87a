#pragma once
// Every message box of the tool, chosen by message id; caption, icon and
// reading direction come from the catalogue and the current resource module.
#include <windows.h>

#include <cstdint>

namespace somv {

class CViewMSg {
 public:
  virtual ~CViewMSg() = default;

  std::uint32_t LookUpCaption(std::uint32_t messageId) const;
  std::uint32_t LookUpStyle(std::uint32_t messageId) const;
  // 1 when string 1801 of the current resource module is exactly "ON".
  int IsRightToLeft() const;
  // What the box returned once dismissed; 0 when no box was shown.
  int ShowMessage(HWND owner, int messageId) const;
};

}  // namespace somv
