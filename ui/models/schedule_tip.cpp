#include "ui/models/schedule_tip.h"

#include "engine/start_journal.h"

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

namespace {
// The journal's few words of why a start was missed, as a sentence's end.
std::string MissedText(const std::string& why) {
    if (why == kMissedHeldUp) {
        return "the polling was held up";
    }
    if (why == kMissedAsleep) {
        return "the computer was asleep or its clock moved";
    }
    if (why == kMissedNotRunning) {
        return "the program was not running";
    }
    return why;
}
}  // namespace

std::string ScheduleTipText(const ScheduleEntry& entry,
                            const NextStart& next,
                            const std::function<std::string(std::time_t)>& formatTime) {
    std::string text = next.at ? "Next start: " + formatTime(*next.at)
                               : std::string("No next start: ") + NoStartReasonText(next.reason);
    const LastStart& last = entry.last_start;
    if (last.at == 0) {
        return text + "\nLast start: none since the program started";
    }
    if (!last.missed.empty()) {
        return text + "\nLast start: missed " + formatTime(last.at) + ", " + MissedText(last.missed);
    }
    text += "\nLast start: " + formatTime(last.at) + (last.byHand ? " by hand, " : ", ");
    return text + (last.failure.empty() ? "started" : "failed: " + last.failure);
}
