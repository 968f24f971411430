#pragma once

#include <windows.h>

#include "ui/models/type_pages_model.h"
#include "ui/unique_gdi.h"
#include "ui/window.h"

// One type page of the schedule editor: a borderless child dialog whose values live in its
// model. It shows them when it is created and reads them back on request; Enter and Esc
// typed inside it reach the editor as its OK and Cancel.
class CTypePage : public Dialog, private PageControls {
public:
    CTypePage(int templateId, TypePageModel& model) : Dialog(templateId), model_(model) {}

    // Copies the controls into the model, checking them; false after a refused value.
    bool ReadBack() { return model_.ReadBack(*this); }
    PageControls& Controls() { return *this; }

protected:
    bool OnInitDialog() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Widens each date or time picker to show its longest value whole, moving the controls
    // beside it along its row.
    void fitPickers();
    // Moved with the editor to a monitor of another scale: its controls and font follow.
    void followDpi();
    void ShowDateTime(int id, const LocalDateTime& value) override;
    bool ReadDateTime(int id, LocalDateTime& value) override;
    void ShowText(int id, const std::string& text) override;
    std::string ReadText(int id) override;
    void ShowCheck(int id, bool ticked) override;
    bool ReadCheck(int id) override;
    void ShowList(int id, const char* const* items, int count, int position) override;
    void Complain(int id, const std::string& message) override;

    TypePageModel& model_;
    UINT dpi_ = 96;
    UniqueFont font_;  // the page's font at a scale it was not made at
};

class COncePage : public CTypePage {
public:
    explicit COncePage(OncePageModel& model);
};

class CHourlyPage : public CTypePage {
public:
    explicit CHourlyPage(HourlyPageModel& model);
};

class CDailyPage : public CTypePage {
public:
    explicit CDailyPage(DailyPageModel& model);
};

class CWeeklyPage : public CTypePage {
public:
    explicit CWeeklyPage(WeeklyPageModel& model);
};

class CMonthlyPage : public CTypePage {
public:
    explicit CMonthlyPage(MonthlyPageModel& model);
};

class CYearlyPage : public CTypePage {
public:
    explicit CYearlyPage(YearlyPageModel& model);
};

// The caption of every message box of the program.
constexpr const char* kMessageCaption = "Scheduler";
