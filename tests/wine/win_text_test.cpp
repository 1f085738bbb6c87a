#include "common/win_text.h"

#include <windows.h>
#include <gtest/gtest.h>

namespace somv {
namespace {

TEST(WinText, RoundTripsTextOutsideTheBasicPlane) {
  const wchar_t* printer = L"Kelva \U0001F5A8 LP";
  EXPECT_EQ(ToWide(ToU16(printer)), std::wstring(printer));
  EXPECT_EQ(lstrlenW(WidePtr(ToU16(printer))), lstrlenW(printer));
}

}  // namespace
}  // namespace somv
