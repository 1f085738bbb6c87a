#include "console/printer_road.h"

#include "device/printer_session.h"

namespace somv {
namespace {

PrinterError ErrorOf(SessionOutcome outcome) {
  switch (outcome) {
    case SessionOutcome::Done: return PrinterError::None;
    case SessionOutcome::OpenFailed: return PrinterError::OpenFailed;
    case SessionOutcome::FirmwareUnreadable: return PrinterError::FirmwareUnreadable;
    case SessionOutcome::FirmwareTooOld: return PrinterError::FirmwareTooOld;
    case SessionOutcome::SettingsMissing: return PrinterError::SettingsMissing;
    case SessionOutcome::ReadFailed: return PrinterError::ReadFailed;
    case SessionOutcome::WriteFailed: return PrinterError::WriteFailed;
  }
  return PrinterError::None;
}

class Road {
 public:
  Road(DeviceConnection& connection, const MinimumFirmwareReader& readMinimum, const PrinterRow& row,
       const RoadWatch& watch)
      : m_session(connection, readMinimum), m_readMinimum(readMinimum), m_watch(watch) {
    m_record.printerName = row.strPrinterName;
    m_record.driverName = row.strDriverName;
  }

  PrinterRecord Take(const PrinterTask& task) {
    Enter(RoadStep::Open);
    if (!Ended(m_session.Open(m_record.printerName))) {
      ShowMinimum({});
      return m_record;
    }
    Enter(RoadStep::Firmware);
    const FirmwareCheck firmware = m_session.CheckFirmware(m_record.driverName);
    ShowMinimum(firmware);
    if (firmware.outcome != SessionOutcome::FirmwareUnreadable) {
      m_record.firmware = firmware.version;
      m_record.gatePasses = firmware.outcome == SessionOutcome::Done;
    }
    if (!Ended(firmware.outcome)) return m_record;
    Enter(RoadStep::Read);
    std::uint16_t code = 0;
    if (!Ended(m_session.ReadTimerCode(code))) return m_record;
    m_record.codeRead = code;
    if (task.plan) Plan(task);
    if (m_record.error == PrinterError::None) m_record.step = RoadStep::Done;
    return m_record;
  }

 private:
  void Plan(const PrinterTask& task) {
    const TimerWritePlan plan = PlanTimerWrite(task.setting, *m_record.codeRead);
    if (plan.action == TimerPlanAction::NoChoiceToKeep) {
      m_record.error = PrinterError::NoChoiceToKeep;
      return;
    }
    m_record.codeMeant = plan.code;
    if (plan.action == TimerPlanAction::AlreadySet || !task.write) return;
    if (m_watch.mayWrite && !m_watch.mayWrite()) {
      m_record.error = PrinterError::Stopped;
      return;
    }
    Enter(RoadStep::Write);
    m_record.written = Ended(m_session.WriteTimerCode(plan.code));
  }

  void Enter(RoadStep step) {
    m_record.step = step;
    if (m_watch.stepTaken) m_watch.stepTaken(m_record);
  }

  bool Ended(SessionOutcome outcome) {
    m_record.error = ErrorOf(outcome);
    return outcome == SessionOutcome::Done;
  }

  // The gate's minimum when it compared one; otherwise read once here.
  void ShowMinimum(const FirmwareCheck& firmware) {
    if (firmware.minimum) {
      m_record.minimumFirmware = *firmware.minimum;
    } else if (firmware.outcome != SessionOutcome::SettingsMissing) {
      m_record.minimumFirmware = m_readMinimum(m_record.driverName).value_or(u"");
    }
  }

  PrinterRecord m_record;
  PrinterSession m_session;
  const MinimumFirmwareReader& m_readMinimum;
  const RoadWatch& m_watch;
};

}  // namespace

PrinterRecord TakePrinterRoad(DeviceConnection& connection, const MinimumFirmwareReader& readMinimum,
                              const PrinterRow& row, const PrinterTask& task, const RoadWatch& watch) {
  return Road(connection, readMinimum, row, watch).Take(task);
}

}  // namespace somv
