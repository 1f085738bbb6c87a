#pragma once
// One printer as test, set, get and list take it: open, firmware gate, read,
// the timer's write plan, write. Over the status library the caller bound.
#include <functional>

#include "console/console_result.h"
#include "device/device_connection.h"
#include "device/device_requests.h"
#include "printers/discovery.h"

namespace somv {

struct PrinterTask {
  bool plan = false;   // test and set: plan the setting's code
  bool write = false;  // set without --check: write what differs
  TimerSetting setting;
};

struct RoadWatch {
  std::function<bool()> mayWrite;                      // false: stop before the write
  std::function<void(const PrinterRecord&)> stepTaken;  // the record as each step begins
};

PrinterRecord TakePrinterRoad(DeviceConnection& connection, const MinimumFirmwareReader& readMinimum,
                              const PrinterRow& row, const PrinterTask& task, const RoadWatch& watch);

}  // namespace somv
