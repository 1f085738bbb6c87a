#include "device/device_connection.h"

#include "device/printer_session.h"
#include "tests/native/fake_status_library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace somv {
namespace {

using namespace testing_fakes;

class DeviceConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override { g_fake = &fake; }
  void TearDown() override { g_fake = nullptr; }
  FakeLibrary fake;
};

TEST_F(DeviceConnectionTest, StartsWithEveryFieldNull) {
  DeviceConnection connection;
  EXPECT_EQ(connection.m_hStatusLib.Get(), nullptr);
  EXPECT_EQ(connection.m_hDevice, nullptr);
  EXPECT_EQ(connection.m_pfnOpenPrinter, nullptr);
  EXPECT_EQ(connection.m_pfnClosePrinter, nullptr);
  EXPECT_EQ(connection.m_pfnDeviceRequest, nullptr);
}

TEST_F(DeviceConnectionTest, OpensWithTheNameAndTwoZeroArgumentsAndClosesTheSameHandle) {
  DeviceConnection connection;
  Bind(connection);
  ASSERT_EQ(connection.OpenDevice(u"Kelva LP-100"), 1);
  EXPECT_EQ(connection.m_hDevice, reinterpret_cast<void*>(0x100));
  ASSERT_EQ(connection.CloseDevice(), 1);
  EXPECT_EQ(connection.m_hDevice, nullptr);
  EXPECT_EQ(fake.calls, (std::vector<std::string>{"open Kelva LP-100 0 0", "close 256"}));
}

// Each row leaves the connection in a state where some calls may not reach
// the library: unbound, released (entry points kept), one entry point
// missing, or no device open.
TEST_F(DeviceConnectionTest, NoCallGoesThroughAMissingLibraryEntryPointOrDevice) {
  enum class Missing { Library, Released, Open, Close, Request, Device };
  for (Missing missing : {Missing::Library, Missing::Released, Missing::Open, Missing::Close,
                          Missing::Request, Missing::Device}) {
    SCOPED_TRACE(static_cast<int>(missing));
    fake.calls.clear();
    DeviceConnection connection;
    if (missing != Missing::Library) Bind(connection);
    if (missing == Missing::Released) connection.m_hStatusLib.Reset();
    if (missing == Missing::Open) connection.m_pfnOpenPrinter = nullptr;
    if (missing == Missing::Close) connection.m_pfnClosePrinter = nullptr;
    if (missing == Missing::Request) connection.m_pfnDeviceRequest = nullptr;
    if (missing != Missing::Device) connection.m_hDevice = reinterpret_cast<void*>(0x42);

    const bool canOpen = missing == Missing::Close || missing == Missing::Request || missing == Missing::Device;
    const bool canClose = missing == Missing::Open || missing == Missing::Request;
    const bool canRequest = missing == Missing::Open || missing == Missing::Close;
    std::uint32_t count = 0;
    EXPECT_EQ(connection.DeviceRequest(22, nullptr, 0, nullptr, 0, &count), canRequest ? 1 : 0);
    EXPECT_EQ(connection.CloseDevice(), canClose ? 1 : 0);
    EXPECT_EQ(connection.OpenDevice(u"P"), canOpen ? 1 : 0);
    if (!canClose) connection.m_hDevice = nullptr;  // nothing for the teardown either
    const std::size_t expectedCalls = (canOpen ? 1 : 0) + (canClose ? 1 : 0) + (canRequest ? 1 : 0);
    EXPECT_EQ(fake.calls.size(), expectedCalls);
  }
}

TEST_F(DeviceConnectionTest, FailedCloseKeepsTheHandleAndTheNextOpenReplacesIt) {
  DeviceConnection connection;
  Bind(connection);
  ASSERT_EQ(connection.OpenDevice(u"A"), 1);
  fake.closeResult = 0;
  EXPECT_EQ(connection.CloseDevice(), 0);
  EXPECT_EQ(connection.m_hDevice, reinterpret_cast<void*>(0x100));
  fake.closeResult = 1;
  ASSERT_EQ(connection.OpenDevice(u"B"), 1);
  EXPECT_EQ(connection.m_hDevice, reinterpret_cast<void*>(0x101));
  EXPECT_EQ(connection.CloseDevice(), 1);
}

TEST_F(DeviceConnectionTest, FailedOpenKeepsNoHandleTheLibraryWroteAnyway) {
  {
    DeviceConnection connection;
    Bind(connection);
    fake.openResult = 0;
    fake.writesHandleOnFailure = true;
    EXPECT_EQ(connection.OpenDevice(u"A"), 0);
    EXPECT_EQ(connection.m_hDevice, nullptr);
  }
  EXPECT_EQ(fake.calls, std::vector<std::string>{"open A 0 0"});
}

TEST_F(DeviceConnectionTest, TeardownClosesAHandleLeftOpenWhileBound) {
  {
    DeviceConnection connection;
    Bind(connection);
    connection.m_hDevice = reinterpret_cast<void*>(7);
  }
  EXPECT_EQ(fake.calls, std::vector<std::string>{"close 7"});
}

TEST_F(DeviceConnectionTest, TeardownDropsAHandleAfterTheLibraryWasReleased) {
  {
    DeviceConnection connection;
    Bind(connection);
    connection.m_hDevice = reinterpret_cast<void*>(7);
    connection.m_hStatusLib.Reset();  // as FreeStatusLibrary leaves it
  }
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(DeviceConnectionTest, TeardownSwallowsAnExceptionFromTheClose) {
  fake.closeThrows = true;
  EXPECT_NO_THROW({
    DeviceConnection connection;
    Bind(connection);
    connection.m_hDevice = reinterpret_cast<void*>(7);
  });
  EXPECT_EQ(fake.calls, std::vector<std::string>{"close 7"});
}

// A session closes the device it opened exactly once, whatever the close
// answers, and never one it did not open.
TEST_F(DeviceConnectionTest, SessionClosesOnlyTheDeviceItOpenedAndOnlyOnce) {
  struct Case {
    std::int32_t openResult;
    std::int32_t closeResult;
    bool closesEarly;
    std::vector<std::string> calls;
  } const cases[] = {
      {1, 1, false, {"open A 0 0", "close 256"}},
      {1, 0, false, {"open A 0 0", "close 256"}},
      {1, 0, true, {"open A 0 0", "close 256"}},
      {0, 1, false, {"open A 0 0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.openResult << c.closeResult << c.closesEarly);
    fake = FakeLibrary{};
    fake.openResult = c.openResult;
    fake.closeResult = c.closeResult;
    DeviceConnection connection;
    Bind(connection);
    {
      PrinterSession session(connection, [](const std::u16string&) { return std::optional<std::u16string>(); });
      session.Open(u"A");
      if (c.closesEarly) session.Close();
    }
    EXPECT_EQ(fake.calls, c.calls);
    connection.m_hDevice = nullptr;
  }
}

}  // namespace
}  // namespace somv
