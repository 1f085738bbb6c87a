#include "messages/view_msg_win.h"

#include <windows.h>
#include <gtest/gtest.h>

#include "framework/resource_module_win.h"
#include "tests/wine/support/message_box_probe.h"
#include "tests/wine/support/resource_library_fixture.h"

namespace somv::test {
namespace {

HICON SystemIcon(const wchar_t* id) { return ::LoadIconW(nullptr, id); }

struct ShownCase {
  int asked;
  unsigned textId;
  unsigned captionId;
  UINT style;
};

const ShownCase kShownCases[] = {
    {1501, 1501, 1701, 0x30}, {1502, 1502, 1701, 0x30}, {1503, 1503, 1701, 0x30}, {1504, 1504, 1702, 0x10},
    {1901, 1901, 1902, 0x30}, {1601, 1601, 1602, 0x10}, {0, 1601, 1602, 0x10},    {-1504, 1601, 1602, 0x10},
    {1700, 1601, 1602, 0x10},
};

class ViewMsgBoxes : public ::testing::TestWithParam<bool> {};

// Every message really shown and read back from the screen, with the style
// the catalogue asked for.
TEST_P(ViewMsgBoxes, ShowEachMessageWithItsCaptionTextIconAndStyle) {
  const bool rightToLeft = GetParam();
  ScopedResourceModule library(ResourceLibraryPath(rightToLeft));
  ASSERT_TRUE(library.Loaded());
  CViewMSg viewMsg;
  EXPECT_EQ(viewMsg.IsRightToLeft(), rightToLeft ? 1 : 0);
  for (const auto& c : kShownCases) {
    MessageBoxRecorder recorder;
    MessageBoxProbe probe;
    EXPECT_EQ(viewMsg.ShowMessage(nullptr, c.asked), IDOK) << c.asked;
    const auto box = probe.Result();
    ASSERT_TRUE(box) << c.asked;
    EXPECT_EQ(box->caption, LibraryString(c.captionId)) << c.asked;
    EXPECT_EQ(box->text, LibraryString(c.textId)) << c.asked;
    EXPECT_EQ(box->icon, SystemIcon(c.style == 0x10 ? IDI_HAND : IDI_EXCLAMATION)) << c.asked;
    EXPECT_EQ(box->owner, nullptr) << c.asked;
    ASSERT_EQ(recorder.Calls().size(), 1u);
    EXPECT_EQ(recorder.Calls()[0].style, c.style | (rightToLeft ? 0x180000u : 0u)) << c.asked;
  }
}

INSTANTIATE_TEST_SUITE_P(BothDirections, ViewMsgBoxes, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "RightToLeft" : "LeftToRight"; });

TEST(ViewMsg, BoxIsModalForItsOwner) {
  ScopedResourceModule library(ResourceLibraryPath(false));
  ASSERT_TRUE(library.Loaded());
  const HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                      nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  MessageBoxProbe probe;
  CViewMSg().ShowMessage(owner, 1502);
  const auto box = probe.Result();
  ::DestroyWindow(owner);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->owner, owner);
}

TEST(ViewMsg, ProgramStringsBeforeTheLibraryReadLeftToRight) {
  // Stands in for the program's own table of two strings.
  ScopedResourceModule program(FixtureLibraryPath(L"program_strings"));
  ASSERT_TRUE(program.Loaded());
  MessageBoxRecorder recorder;
  MessageBoxProbe probe;
  CViewMSg viewMsg;
  EXPECT_EQ(viewMsg.IsRightToLeft(), 0);
  EXPECT_EQ(viewMsg.ShowMessage(nullptr, 1901), IDOK);
  const auto box = probe.Result();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, L"Could not start Somnivar Tool because the necessary files could not be found.");
  EXPECT_EQ(box->caption, L"Warning");
  EXPECT_EQ(box->icon, SystemIcon(IDI_EXCLAMATION));
  ASSERT_EQ(recorder.Calls().size(), 1u);
  EXPECT_EQ(recorder.Calls()[0].style, 0x30u);
  // Nothing else is there, so any other message shows nothing.
  EXPECT_EQ(viewMsg.ShowMessage(nullptr, 1504), 0);
  EXPECT_EQ(viewMsg.ShowMessage(nullptr, 0), 0);
  EXPECT_EQ(recorder.Calls().size(), 1u);
}

TEST(ViewMsg, MissingTextOrCaptionShowsNothing) {
  ScopedResourceModule library(FixtureLibraryPath(L"catalogue_gaps"));
  ASSERT_TRUE(library.Loaded());
  MessageBoxRecorder recorder(false);
  CViewMSg viewMsg;
  EXPECT_EQ(viewMsg.ShowMessage(nullptr, 1501), 0);  // caption only
  EXPECT_EQ(viewMsg.ShowMessage(nullptr, 1504), 0);  // text only
  EXPECT_EQ(viewMsg.ShowMessage(nullptr, 0), 0);     // fallback without its caption
  EXPECT_TRUE(recorder.Calls().empty());
  // "on" is not the marker.
  EXPECT_EQ(viewMsg.IsRightToLeft(), 0);
  EXPECT_EQ(viewMsg.ShowMessage(nullptr, 1502), IDOK);
  ASSERT_EQ(recorder.Calls().size(), 1u);
  EXPECT_EQ(recorder.Calls()[0].text, L"Write failed");
  EXPECT_EQ(recorder.Calls()[0].style, 0x30u);
}

TEST(ViewMsg, LooksUpTheTable) {
  CViewMSg viewMsg;
  EXPECT_EQ(viewMsg.LookUpCaption(1504), 1702u);
  EXPECT_EQ(viewMsg.LookUpStyle(1504), 0x10u);
  EXPECT_EQ(viewMsg.LookUpCaption(0), 0u);
  EXPECT_EQ(viewMsg.LookUpStyle(1602), 0u);
}

}  // namespace
}  // namespace somv::test
