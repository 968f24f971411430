#pragma once

class ScheduleList;

// The document of the main window: the program's schedule list. It holds no data of its own;
// the list is process-wide because the polling thread reads it too.
class CSchedulerDoc {
public:
    CSchedulerDoc();
    ScheduleList& Schedules() { return schedules_; }

private:
    ScheduleList& schedules_;
};
