#include "ui/scheduler_doc.h"

#include "engine/schedule_list.h"

CSchedulerDoc::CSchedulerDoc() : schedules_(TheScheduleList()) {}
