#include "ui/models/schedule_tip.h"

const char* NoStartReasonText(NoStartReason reason) {
    switch (reason) {
        case NoStartReason::SwitchedOff:
            return "switched off";
        case NoStartReason::DatePassed:
            return "date passed";
        case NoStartReason::NoWeekday:
            return "no weekday ticked";
        case NoStartReason::NoSuchDay:
            return "no such day";
        case NoStartReason::NoSuchTime:
            return "no such time";
        case NoStartReason::UnknownType:
            return "unknown type of schedule";
        case NoStartReason::None:
            break;
    }
    return "";
}

std::string ScheduleTipText(const ScheduleEntry& entry,
                            const NextStart& next,
                            const std::function<std::string(std::time_t)>& formatTime) {
    std::string text = next.at ? "Next start: " + formatTime(*next.at)
                               : std::string("No next start: ") + NoStartReasonText(next.reason);
    const LastStart& last = entry.last_start;
    if (last.at == 0) {
        return text + "\nLast start: none since the program started";
    }
    text += "\nLast start: " + formatTime(last.at) + (last.byHand ? " by hand, " : ", ");
    return text + (last.failure.empty() ? "started" : "failed: " + last.failure);
}
