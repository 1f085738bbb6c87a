#include "messages/catalogue.h"

namespace somv {

const CatalogueRow kCatalogueTable[] = {
    {1501, 1701, 0x30},
    {1502, 1701, 0x30},
    {1503, 1701, 0x30},
    {1504, 1702, 0x10},
    {1901, 1902, 0x30},
    {1601, 1602, 0x10},
    {0, 0, 0},
};

namespace {

const CatalogueRow* FindRow(std::uint32_t messageId) {
  for (const CatalogueRow* row = kCatalogueTable; row->messageId != 0; ++row) {
    if (row->messageId == messageId) return row;
  }
  return nullptr;
}

}  // namespace

std::uint32_t LookUpCaptionId(std::uint32_t messageId) {
  const CatalogueRow* row = FindRow(messageId);
  return row ? row->captionId : 0;
}

std::uint32_t LookUpBoxStyle(std::uint32_t messageId) {
  const CatalogueRow* row = FindRow(messageId);
  return row ? row->style : 0;
}

bool ReadsRightToLeft(const StringSource& strings) {
  std::u16string marker;
  strings.Load(kReadingDirectionStringId, marker);
  return marker == u"ON";
}

std::optional<MessageBoxRequest> PrepareMessage(std::int32_t messageId, const StringSource& strings) {
  std::uint32_t textId = static_cast<std::uint32_t>(messageId);
  std::uint32_t captionId = LookUpCaptionId(textId);
  std::uint32_t style = LookUpBoxStyle(textId);
  if (captionId == 0 || style == 0) {
    textId = kFallbackMessageId;
    captionId = LookUpCaptionId(textId);
    style = LookUpBoxStyle(textId);
  }
  MessageBoxRequest request{{}, {}, style};
  strings.Load(captionId, request.caption);
  const bool rightToLeft = ReadsRightToLeft(strings);
  strings.Load(textId, request.text);
  if (request.text.empty() || request.caption.empty()) return std::nullopt;
  if (rightToLeft) request.style |= kRightToLeftBoxFlags;
  return request;
}

}  // namespace somv
