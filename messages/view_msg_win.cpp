#include "messages/view_msg_win.h"

#include "common/win_text.h"
#include "framework/message_box_win.h"
#include "framework/resource_module_win.h"
#include "messages/catalogue.h"

namespace somv {
namespace {

static_assert(kWarningBoxStyle == (MB_OK | MB_ICONEXCLAMATION));
static_assert(kErrorBoxStyle == (MB_OK | MB_ICONERROR));
static_assert(kRightToLeftBoxFlags == (MB_RIGHT | MB_RTLREADING));

class CurrentModuleStrings : public StringSource {
 public:
  bool Load(std::uint32_t id, std::u16string& text) const override {
    std::wstring loaded;
    if (!LoadResString(id, loaded)) return false;
    text = ToU16(loaded);
    return true;
  }
};

}  // namespace

std::uint32_t CViewMSg::LookUpCaption(std::uint32_t messageId) const { return LookUpCaptionId(messageId); }

std::uint32_t CViewMSg::LookUpStyle(std::uint32_t messageId) const { return LookUpBoxStyle(messageId); }

int CViewMSg::IsRightToLeft() const { return ReadsRightToLeft(CurrentModuleStrings()) ? 1 : 0; }

int CViewMSg::ShowMessage(HWND owner, int messageId) const {
  const auto request = PrepareMessage(messageId, CurrentModuleStrings());
  if (!request) return 0;
  return ShowMessageBox(owner, ToWide(request->text), ToWide(request->caption), request->style);
}

}  // namespace somv
