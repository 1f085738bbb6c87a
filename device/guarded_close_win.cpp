#include "device/guarded_close.h"

extern "C" int somv_call_close_guarded(void* close, void* device, int* raised);

namespace somv {

std::int32_t CloseGuarded(ClosePrinterFn close, void* device) {
  int raised = 0;
  const int result = somv_call_close_guarded(reinterpret_cast<void*>(close), device, &raised);
  return raised ? 0 : result;
}

}  // namespace somv
