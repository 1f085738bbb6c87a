#include "messages/catalogue.h"

#include "resources/resource_ids.h"

namespace somv {

const CatalogueRow kCatalogueTable[] = {
    {IDS_MSG_DEVICE_FAILED, IDS_CAPTION_TOOL, kWarningBoxStyle},
    {IDS_MSG_WRITE_FAILED, IDS_CAPTION_TOOL, kWarningBoxStyle},
    {IDS_MSG_SETUP_MISSING, IDS_CAPTION_TOOL, kWarningBoxStyle},
    {IDS_MSG_WOW64, IDS_CAPTION_WOW64, kErrorBoxStyle},
    {IDS_MSG_START_FAILED, IDS_CAPTION_START_FAILED, kWarningBoxStyle},
    {IDS_MSG_UNKNOWN, IDS_CAPTION_UNKNOWN, kErrorBoxStyle},
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
