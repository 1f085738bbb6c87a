#include "timer/timer_choices.h"

#include "resources/resource_ids.h"

namespace somv {

const TimerChoice kTimerChoices[] = {
    {1, IDS_TIMER_CHOICE1}, {2, IDS_TIMER_CHOICE2}, {3, IDS_TIMER_CHOICE3}, {4, IDS_TIMER_CHOICE4},
    {5, IDS_TIMER_CHOICE5}, {6, IDS_TIMER_CHOICE6}, {7, IDS_TIMER_CHOICE7}, {8, IDS_TIMER_CHOICE8},
    {0, 0},
};

}  // namespace somv
