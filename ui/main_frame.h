#pragma once

#include "ui/frame_window.h"
#include "ui/scheduler_doc.h"
#include "ui/scheduler_view.h"

// The program's single top-level window: menu, toolbar, status bar and the schedule list
// view. Closing it only hides it while schedules exist, so the polling goes on behind the
// tray icon.
class CMainFrame : public FrameWindow {
public:
    // appCommands (may be nullptr) gets the commands neither the view nor the frame knows.
    explicit CMainFrame(CommandTarget* appCommands);
    // Destroys the window while the view and the document still exist, so the view's own
    // end (stop request, tray icon) runs in full.
    ~CMainFrame() override;

    // Creates the window hidden with its toolbar, status bar and view, and shrinks it to fit
    // the view's form. False when any part could not be made.
    bool Create();

    CSchedulerView& View() { return view_; }
    CSchedulerDoc& Document() { return document_; }

protected:
    int OnCreate() override;
    void OnClose() override;
    void OnDpiChanged(UINT dpi) override;

private:
    void shrinkToForm();
    // The toolbar's images drawn for the scale nearest `dpi`.
    void setToolBarImages(UINT dpi);

    CSchedulerDoc document_;
    CSchedulerView view_;
};

// The main window of the running program, remembered by start-up (nullptr before).
CMainFrame* TheMainFrame();
void SetTheMainFrame(CMainFrame* frame);
