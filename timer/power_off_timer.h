#pragma once
// A printer's power-off setting as one value: whether automatic power-off is
// on, and the timer value (1 to 8 names one of the eight choices; the
// printer may report others, which are carried but name no choice). The
// 16-bit timer code the printer exchanges holds the value in its low 15 bits
// and sets bit 15 when power-off is disabled.
#include <cstdint>

namespace somv {

inline constexpr int kNoChoice = -1;

struct PowerOffTimer {
  bool powerOffEnabled = true;
  std::uint16_t timerValue = 0;

  static PowerOffTimer Decode(std::uint16_t code);
  // Choice index 0 to 7 (list order) with the box state.
  static PowerOffTimer OfChoice(int choiceIndex, bool powerOffEnabled);

  std::uint16_t Encode() const;
  // The list index of the choice this value names, or kNoChoice.
  int ChoiceIndex() const;

  bool operator==(const PowerOffTimer& other) const {
    return powerOffEnabled == other.powerOffEnabled && timerValue == other.timerValue;
  }
};

}  // namespace somv
