#pragma once

// Resource and command identifiers shared by the .rc script and the C++ code. Plain macros:
// windres reads this file too.

#define IDR_MAINFRAME 128
#define IDB_TOOLBAR_HOT 136
#define IDB_TOOLBAR_DISABLED 137
// The same strips drawn for 125, 150 and 200 %: normal, hot and disabled of each size.
#define IDB_TOOLBAR_30 150
#define IDB_TOOLBAR_HOT_30 151
#define IDB_TOOLBAR_DISABLED_30 152
#define IDB_TOOLBAR_36 153
#define IDB_TOOLBAR_HOT_36 154
#define IDB_TOOLBAR_DISABLED_36 155
#define IDB_TOOLBAR_48 156
#define IDB_TOOLBAR_HOT_48 157
#define IDB_TOOLBAR_DISABLED_48 158
#define IDD_SCHEDULER_FORM 101
#define IDC_SCHEDULE_LIST 1000

// The schedule editor and its type pages.
#define IDD_SCHEDULE_EDITOR 130
#define IDD_ONCE_PAGE 131
#define IDD_HOURLY_PAGE 132
#define IDD_DAILY_PAGE 133
#define IDD_WEEKLY_PAGE 134
#define IDD_MONTHLY_PAGE 135
#define IDD_YEARLY_PAGE 136
// Controls of the editor.
#define IDC_EDITOR_TITLE 1001
#define IDC_EDITOR_ENABLE 1002
#define IDC_EDITOR_FILE 1003
#define IDC_EDITOR_BROWSE 1004
#define IDC_EDITOR_PARAMETERS 1005
#define IDC_EDITOR_TYPE 1010
#define IDC_EDITOR_PARAMETERS_LABEL 1013
#define IDC_EDITOR_TITLE_LABEL 1015
#define IDC_EDITOR_FILE_LABEL 1016
#define IDC_EDITOR_GROUP 1017
#define IDC_EDITOR_TYPE_LABEL 1018
// Controls of the pages; a page's ids repeat those of the editor, each in its own dialog.
#define IDC_PAGE_NUMBER 1001
#define IDC_PAGE_LIST 1010
#define IDC_PAGE_TIME 1012
#define IDC_ONCE_DATE 1012
#define IDC_ONCE_TIME 1014
#define IDC_DAILY_MONDAY 1002
#define IDC_DAILY_TUESDAY 1019
#define IDC_DAILY_WEDNESDAY 1020
#define IDC_DAILY_THURSDAY 1021
#define IDC_DAILY_FRIDAY 1022
#define IDC_DAILY_SATURDAY 1023
#define IDC_DAILY_SUNDAY 1024


// Custom resource type of a toolbar's button layout (version, button size, ids).
#define RT_TOOLBAR_LAYOUT 241

#define ID_TRAY_OPEN 32774
#define ID_SCHEDULE_ADD 32775
#define ID_SCHEDULE_REMOVE 32776
#define ID_SCHEDULE_CHANGE 32777
#define ID_APP_SHUTDOWN 32778
#define ID_SCHEDULE_RUN 32779
#define ID_AUTORUN 32780
#define ID_SHOW_ABOUT 57664
#define ID_EXIT_APP 57665
#define ID_SHOW_HELP 57670

// Standard commands the accelerators name; this program gives them no behaviour.
#define ID_STD_NEW 57600
#define ID_STD_OPEN 57601
#define ID_STD_SAVE 57603
#define ID_STD_COPY 57634
#define ID_STD_CUT 57635
#define ID_STD_PASTE 57637
#define ID_STD_UNDO 57643
#define ID_STD_NEXT_PANE 57680
#define ID_STD_PREV_PANE 57681

// Status-bar texts.
#define IDS_IDLE_MESSAGE 0xE001
#define IDS_INDICATOR_CAPS 0xE041
#define IDS_INDICATOR_NUM 0xE042

#define ID_TOOLBAR_WINDOW 0xE800
#define ID_STATUS_WINDOW 0xE801

// The tray icon's callback message.
#define WM_TRAY_NOTIFY (0x8000 + 5)

// The About box.
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_VERSION 1013
#define IDC_ABOUT_COPYRIGHT 1015
#define IDC_ABOUT_WEBSITE 1027
#define IDC_ABOUT_EMAIL 1028
