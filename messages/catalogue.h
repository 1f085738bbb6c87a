#pragma once
// The message catalogue's decisions: which caption and box style belong to a
// message id, the fallback for ids it does not hold, the reading direction,
// and when a box is not shown at all. Texts come from a string source, so the
// same rules run against the resource library and against a test's table.
#include <cstdint>
#include <optional>
#include <string>

#include "resources/resource_ids.h"

namespace somv {

struct CatalogueRow {
  std::uint32_t messageId;
  std::uint32_t captionId;
  std::uint32_t style;
};

// Ends with the row whose message id is 0.
extern const CatalogueRow kCatalogueTable[];

inline constexpr std::uint32_t kFallbackMessageId = IDS_MSG_UNKNOWN;
inline constexpr std::uint32_t kReadingDirectionStringId = IDS_READING_DIRECTION;
// The message box styles, without windows.h; view_msg_win.cpp checks them.
inline constexpr std::uint32_t kWarningBoxStyle = 0x30;         // MB_OK | MB_ICONEXCLAMATION
inline constexpr std::uint32_t kErrorBoxStyle = 0x10;           // MB_OK | MB_ICONERROR
inline constexpr std::uint32_t kRightToLeftBoxFlags = 0x180000;  // MB_RIGHT | MB_RTLREADING

// First row with that message id; 0 when none (id 0 never matches).
std::uint32_t LookUpCaptionId(std::uint32_t messageId);
std::uint32_t LookUpBoxStyle(std::uint32_t messageId);

// Loads one string of the current resource module; leaves `text` unchanged
// and answers false when the string is absent.
class StringSource {
 public:
  virtual ~StringSource() = default;
  virtual bool Load(std::uint32_t id, std::u16string& text) const = 0;
};

// Exactly "ON", read afresh from `strings`.
bool ReadsRightToLeft(const StringSource& strings);

struct MessageBoxRequest {
  std::u16string text;
  std::u16string caption;
  std::uint32_t style;
};

// The box to show for `messageId`, or nothing when its text or caption is
// missing or empty.
std::optional<MessageBoxRequest> PrepareMessage(std::int32_t messageId, const StringSource& strings);

}  // namespace somv
