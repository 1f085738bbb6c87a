#include "console/event_log_win.h"

#include <windows.h>

#include <vector>

#include "common/unique_handle_win.h"
#include "common/win_text.h"
#include "console/console_identity.h"
#include "console/console_text.h"
#include "console_events.h"
#include "settings/launch_dir_win.h"

namespace somv {
namespace {

using EventSourceTraits = NullableHandleTraits<HANDLE, ::DeregisterEventSource>;
using RegistryKeyTraits = NullableHandleTraits<HKEY, ::RegCloseKey>;

// The sentences' inserts: a change has seven, a failed write also the failure.
constexpr WORD kChangeStrings = 7;
constexpr WORD kFailureStrings = kChangeStrings + 1;

constexpr wchar_t kApplicationLog[] = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";

// The account the run acts for, as its SID (for the event's user) and as
// DOMAIN\name (for the sentence, which a forwarded event keeps).
struct Account {
  std::vector<BYTE> tokenUser;
  std::u16string name = u"-";

  PSID Sid() const { return tokenUser.empty() ? nullptr : reinterpret_cast<const TOKEN_USER*>(tokenUser.data())->User.Sid; }
};

Account CurrentAccount() {
  Account account;
  HANDLE opened = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened)) return account;
  const UniqueKernelHandle token(opened);
  DWORD size = 0;
  ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
  account.tokenUser.resize(size);
  if (size == 0 || !::GetTokenInformation(token.Get(), TokenUser, account.tokenUser.data(), size, &size)) {
    account.tokenUser.clear();
    return account;
  }
  wchar_t name[256] = {};
  wchar_t domain[256] = {};
  DWORD nameLength = 256;
  DWORD domainLength = 256;
  SID_NAME_USE use;
  if (::LookupAccountSidW(nullptr, account.Sid(), name, &nameLength, domain, &domainLength, &use)) {
    account.name = ToU16(domain) + (domain[0] != 0 ? u"\\" : u"") + ToU16(name);
  }
  return account;
}

void Report(WORD type, DWORD eventId, const TimerWriteEvent& event, const std::u16string& failure) {
  const UniqueHandle<EventSourceTraits> source(::RegisterEventSourceW(nullptr, WidePtr(kEventSource)));
  if (!source) return;
  const Account account = CurrentAccount();
  const std::u16string texts[] = {event.printer,        TimerCodeText(event.before), TimerCodeText(event.after),
                                  account.name,         kConsoleName,                kConsoleVersion,
                                  event.reason.empty() ? u"-" : event.reason,        failure};
  static_assert(sizeof texts / sizeof texts[0] == kFailureStrings, "one text per insert");
  const wchar_t* strings[kFailureStrings];
  for (WORD i = 0; i < kFailureStrings; ++i) strings[i] = WidePtr(texts[i]);
  const WORD count = failure.empty() ? kChangeStrings : kFailureStrings;
  ::ReportEventW(source.Get(), type, 0, eventId, account.Sid(), count, 0, strings, nullptr);
}

}  // namespace

void RecordTimerEvent(const TimerWriteEvent& event) {
  if (event.written) {
    Report(EVENTLOG_INFORMATION_TYPE, SOMV_EVENT_TIMER_CHANGED, event, {});
  } else {
    Report(EVENTLOG_WARNING_TYPE, SOMV_EVENT_TIMER_WRITE_FAILED, event, event.failure.empty() ? u"-" : event.failure);
  }
}

std::u16string RegisterTheEventSource() {
  const std::wstring keyPath = kApplicationLog + ToWide(kEventSource);
  HKEY created = nullptr;
  const LONG status = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_SET_VALUE, nullptr, &created, nullptr);
  if (status != ERROR_SUCCESS) {
    return status == ERROR_ACCESS_DENIED ? u"the event log refused the source: run it elevated"
                                         : u"the event log's registry key could not be created";
  }
  const UniqueHandle<RegistryKeyTraits> key(created);
  const std::wstring program = ToWide(OwnProgramPath());
  const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
  const bool written =
      ::RegSetValueExW(key.Get(), L"EventMessageFile", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(program.c_str()),
                       static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS &&
      ::RegSetValueExW(key.Get(), L"TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&types),
                       sizeof types) == ERROR_SUCCESS;
  return written ? u"" : u"the event source's values could not be written";
}

}  // namespace somv
