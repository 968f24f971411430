; The Windows installer: puts Scheduler.exe beside the companion product's executable, adds
; an entry to Add/Remove Programs and writes an uninstaller that keeps the user's schedules.
; The windows build makes it (target "installer") with
;   makensis -DVERSION=1.11 -DPROGRAM=Scheduler.exe -DLICENSE_FILE=LICENSE.txt
;            -DICON=scheduler.ico -DOUTFILE=Scheduler-1.11-setup.exe scheduler.nsi
; Silent: Scheduler-1.11-setup.exe /S /D=C:\Program Files\Dovrin Suite
;         "Uninstall Scheduler.exe" /S _?=C:\Program Files\Dovrin Suite

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include nsDialogs.nsh

!define UNINSTALLER "Uninstall Scheduler.exe"
!define UNINSTALL_ROOT "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define DEFAULT_FOLDER "$PROGRAMFILES64\Dovrin Suite"
; The program's Shutdown command, the one its tray menu's "Shut Down" sends.
!define ID_APP_SHUTDOWN 32778
; The About box's links.
!define MAKER_SITE "https://www.veltrane.example/"
!define SUPPORT_EMAIL "support@veltrane.example"

; The product's scheduler, once the folder is known: the same name the entry shows.
Name "$Title"
OutFile "${OUTFILE}"
InstallDir "${DEFAULT_FOLDER}"
BrandingText "Veltrane Scheduler ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "Scheduler"
VIAddVersionKey /LANG=1033 "CompanyName" "Veltrane"
VIAddVersionKey /LANG=1033 "FileDescription" "Scheduler ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 Veltrane"

Var Title       ; the scheduler's title for the product of $INSTDIR, e.g. Dovrin Suite Scheduler
Var Exe         ; that product's executable, empty when the folder holds none
Var Others      ; the other product executables the folder holds, e.g. ", dovbase.exe"
Var Entry       ; the Add/Remove Programs key of $INSTDIR
Var Failure     ; why the program could not be ended, empty when it was
Var Probe       ; the title whose windows are being looked at
Var ProbeExe    ; and its product's executable
Var EndedShown  ; 1 when a running program with its window shown was ended
Var EndedHidden ; 1 when one behind its tray icon was ended
Var Fresh       ; 1 when $INSTDIR held no Scheduler.exe before this install
Var FolderField ; the folder page's folder
Var FoundText   ; and what it says of the product found there

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "This installs the Scheduler ${VERSION} of your Dovrin product: \
    it starts the product on your schedules, from behind its tray icon.$\r$\n$\r$\n\
    It goes into the product's own folder, beside dovsuite.exe, dovbase.exe, dovlens.exe or \
    dovdepot.exe. A scheduler that runs from that folder is ended first.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
Page custom FolderPage
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start the scheduler now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartFromFinishPage
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ShowFinishPage
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "$Title will be ended if it runs and removed from the \
    folder below. Your schedules (Scheduler.cfg) are kept."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Functions both the installer and the uninstaller call ("un." names the uninstaller's copy).
!macro SHARED_FUNCTIONS un

; The product a folder serves, found as the program finds it: the first file of the folder
; listing that is one of the four product executables. Folder in $0; sets $Title and $Exe
; ("Scheduler" and empty when the folder holds none of them) and $Others.
Function ${un}DetectProduct
    Push $1
    Push $2
    Push $R9
    StrCpy $Exe ""
    StrCpy $Others ""
    FindFirst $1 $2 "$0\*.exe"
    ${DoWhile} $2 != ""
        ${IfNot} ${FileExists} "$0\$2\*.*"
            ${ForEach} $R9 0 3 + 1
                Call ${un}TitleAt
                ${If} $2 == $ProbeExe
                    ${If} $Exe == ""
                        StrCpy $Title $Probe
                        StrCpy $Exe $ProbeExe
                    ${Else}
                        StrCpy $Others "$Others, $ProbeExe"
                    ${EndIf}
                ${EndIf}
            ${Next}
        ${EndIf}
        FindNext $1 $2
    ${Loop}
    FindClose $1
    ${If} $Exe == ""
        StrCpy $Title "Scheduler"
    ${EndIf}
    Pop $R9
    Pop $2
    Pop $1
FunctionEnd

; $0 as the system resolves it (short names, another drive for the same folder), so that two
; spellings of one file compare equal; unchanged when it cannot be opened.
Function ${un}Resolve
    Push $1
    Push $2
    Push $3
    ; FILE_SHARE_READ | WRITE | DELETE, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS for folders
    System::Call 'kernel32::CreateFileW(w r0, i 0, i 7, p 0, i 3, i 0x02000000, p 0) p .r1'
    System::Call 'kernel32::GetFinalPathNameByHandleW(p r1, w .r2, i ${NSIS_MAX_STRLEN}, i 0) i .r3'
    System::Call 'kernel32::CloseHandle(p r1)'
    ${If} $3 > 0
    ${AndIf} $3 < ${NSIS_MAX_STRLEN}
        StrCpy $1 $2 8
        ${If} $1 == "\\?\UNC\"
            StrCpy $0 $2 "" 8
            StrCpy $0 "\\$0"
        ${Else}
            StrCpy $0 $2 "" 4
        ${EndIf}
    ${EndIf}
    Pop $3
    Pop $2
    Pop $1
FunctionEnd

; The Add/Remove Programs key of $INSTDIR in $Entry: one per folder, however it is spelt.
Function ${un}FindEntry
    Push $0
    Push $1
    StrCpy $0 $INSTDIR
    Call ${un}Resolve
    System::Call 'user32::CharUpperW(w r0 r0)'
    StrLen $1 $0
    IntOp $1 $1 * 2
    System::Call 'ntdll::RtlComputeCrc32(i 0, w r0, i r1) i .r1'
    IntFmt $1 "%08X" $1
    StrCpy $Entry "${UNINSTALL_ROOT}\Veltrane Scheduler $1"
    Pop $1
    Pop $0
FunctionEnd

; Ends every running copy of $INSTDIR\Scheduler.exe whose main window is captioned $Probe:
; the Shutdown command lets it remove its tray icon and stop as the user's "Shut Down" would.
; Copies of other folders are left alone. Sets $Failure when one does not end in time. The
; program's resolved path in $R8.
Function ${un}EndProgramTitled
    StrCpy $R0 0    ; the window after which to search on
    StrCpy $R1 0    ; rounds, against a program that keeps coming back
    ${Do}
        IntOp $R1 $R1 + 1
        ${If} $R1 > 50
            ${Break}
        ${EndIf}
        FindWindow $R0 "" "$Probe" "" $R0
        ${If} $R0 == 0
            ${Break}
        ${EndIf}
        System::Call 'user32::GetWindowThreadProcessId(p R0, *i .R2)'
        ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
        System::Call 'kernel32::OpenProcess(i 0x101000, i 0, i R2) p .R3'
        ${If} $R3 == 0
            ${Continue}
        ${EndIf}
        StrCpy $R4 ""
        System::Call 'kernel32::QueryFullProcessImageNameW(p R3, i 0, w .R4, *i ${NSIS_MAX_STRLEN})'
        StrCpy $0 $R4
        Call ${un}Resolve
        ${If} $0 == $R8
            DetailPrint "Ending $Probe"
            System::Call 'user32::IsWindowVisible(p R0) i .R6'
            SendMessage $R0 ${WM_COMMAND} ${ID_APP_SHUTDOWN} 0 /TIMEOUT=5000
            System::Call 'kernel32::WaitForSingleObject(p R3, i 10000) i .R5'
            ${If} $R5 != 0
                StrCpy $Failure "$Probe is running from $INSTDIR and could not be ended."
                System::Call 'kernel32::CloseHandle(p R3)'
                ${Break}
            ${EndIf}
            ${If} $R6 != 0
                StrCpy $EndedShown 1
            ${Else}
                StrCpy $EndedHidden 1
            ${EndIf}
            StrCpy $R0 0   ; that window is gone: search from the top again
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p R3)'
    ${Loop}
FunctionEnd

; Ends the folder's running program, under whichever product title it runs.
Function ${un}EndProgram
    Push $0
    StrCpy $Failure ""
    StrCpy $0 "$INSTDIR\Scheduler.exe"
    Call ${un}Resolve
    StrCpy $R8 $0
    ${ForEach} $R9 0 3 + 1
        ${If} $Failure == ""
            Call ${un}TitleAt
            Call ${un}EndProgramTitled
        ${EndIf}
    ${Next}
    Pop $0
FunctionEnd

; Product $R9 of the four, in the program's order: its title in $Probe, its executable in
; $ProbeExe.
Function ${un}TitleAt
    ${Select} $R9
    ${Case} 0
        StrCpy $Probe "Dovrin Suite Scheduler"
        StrCpy $ProbeExe "dovsuite.exe"
    ${Case} 1
        StrCpy $Probe "Dovrin Base Scheduler"
        StrCpy $ProbeExe "dovbase.exe"
    ${Case} 2
        StrCpy $Probe "Dovrin Lens Scheduler"
        StrCpy $ProbeExe "dovlens.exe"
    ${Default}
        StrCpy $Probe "Dovrin Depot Scheduler"
        StrCpy $ProbeExe "dovdepot.exe"
    ${EndSelect}
FunctionEnd

; Stops with a message (and exit code 3) when the program could not be ended.
Function ${un}EndProgramOrStop
    Call ${un}EndProgram
    ${If} $Failure != ""
        MessageBox MB_OK|MB_ICONSTOP "$Failure$\r$\n$\r$\nChoose Shut Down in the menu of its \
            tray icon, then run this again." /SD IDOK
        DetailPrint "$Probe could not be ended: nothing was changed."
        SetErrorLevel 3
        Abort
    ${EndIf}
FunctionEnd

!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

Function .onInit
    SetRegView 64
    ; An update goes where the scheduler already is, unless /D chose a folder: the first
    ; entry whose uninstaller is one of ours.
    ${If} $INSTDIR == "${DEFAULT_FOLDER}"
        StrCpy $R0 0
        ${Do}
            EnumRegKey $R1 HKLM "${UNINSTALL_ROOT}" $R0
            ${IfThen} $R1 == "" ${|} ${Break} ${|}
            IntOp $R0 $R0 + 1
            ReadRegStr $0 HKLM "${UNINSTALL_ROOT}\$R1" "InstallLocation"
            ReadRegStr $1 HKLM "${UNINSTALL_ROOT}\$R1" "UninstallString"
            ${If} $1 == '"$0\${UNINSTALLER}"'
            ${AndIf} ${FileExists} "$0\Scheduler.exe"
                StrCpy $INSTDIR $0
                ${Break}
            ${EndIf}
        ${Loop}
    ${EndIf}
    StrCpy $0 $INSTDIR
    Call DetectProduct
FunctionEnd

; The folder page: the folder, a browser of existing folders, and the product found there.
Function FolderPage
    !insertmacro MUI_HEADER_TEXT "Choose the Product Folder" \
        "The scheduler goes beside your Dovrin product's executable."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 30u "Choose the folder of your Dovrin product: the one that \
        holds dovsuite.exe, dovbase.exe, dovlens.exe or dovdepot.exe. The scheduler must sit \
        beside the product's executable to know the product and start it."
    Pop $0
    ${NSD_CreateGroupBox} 0 38u 100% 34u "Product folder"
    Pop $0
    ${NSD_CreateDirRequest} 10u 51u 222u 12u "$INSTDIR"
    Pop $FolderField
    ${NSD_OnChange} $FolderField ShowProduct
    ${NSD_CreateBrowseButton} 238u 50u 54u 14u "B&rowse..."
    Pop $0
    ${NSD_OnClick} $0 BrowseFolder
    ${NSD_CreateLabel} 0 82u 100% 50u ""
    Pop $FoundText
    Push $FolderField
    Call ShowProduct
    nsDialogs::Show
FunctionEnd

; Says which product the folder holds; Next only for a folder that holds one.
Function ShowProduct
    Pop $0
    ${NSD_GetText} $FolderField $INSTDIR
    StrCpy $0 $INSTDIR
    Call DetectProduct
    StrCpy $1 1
    ${If} $Exe == ""
        StrCpy $0 "This folder holds none of the product executables."
        StrCpy $1 0
    ${ElseIf} $Others == ""
        StrCpy $0 "Found $Exe: this installs the $Title."
    ${Else}
        StrCpy $Others $Others "" 2
        StrCpy $0 "Found $Exe and $Others. The scheduler serves the product whose executable \
            the folder lists first, $Exe: this installs the $Title."
    ${EndIf}
    ${NSD_SetText} $FoundText $0
    GetDlgItem $0 $HWNDPARENT 1
    EnableWindow $0 $1
FunctionEnd

; Offers existing folders only: a new folder never holds a product.
Function BrowseFolder
    Pop $0
    System::Alloc 1024
    Pop $4
    ; BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON
    System::Call '*(p $HWNDPARENT, p 0, p r4, w "Choose the folder of your Dovrin product.", \
        i 0x241, p 0, p 0, i 0) p .r1'
    System::Call 'shell32::SHBrowseForFolderW(p r1) p .r2'
    ${If} $2 != 0
        System::Call 'shell32::SHGetPathFromIDListW(p r2, w .r0) i .r3'
        System::Call 'ole32::CoTaskMemFree(p r2)'
        ${If} $3 != 0
            ${NSD_SetText} $FolderField $0
        ${EndIf}
    ${EndIf}
    System::Free $1
    System::Free $4
FunctionEnd

; The entry of $INSTDIR. An older installer keyed it by the product alone: that key goes when
; it names this folder.
Function WriteEntry
    StrCpy $0 $INSTDIR
    Call Resolve
    StrCpy $2 $0
    ${ForEach} $R9 0 3 + 1
        Call TitleAt
        ReadRegStr $0 HKLM "${UNINSTALL_ROOT}\$Probe" "InstallLocation"
        ${If} $0 != ""
            Call Resolve
            ${If} $0 == $2
                DeleteRegKey HKLM "${UNINSTALL_ROOT}\$Probe"
            ${EndIf}
        ${EndIf}
    ${Next}

    StrCpy $1 $Entry
    ClearErrors
    WriteRegStr HKLM $1 "DisplayName" "$Title ($INSTDIR)"
    WriteRegStr HKLM $1 "DisplayVersion" "${VERSION}"
    WriteRegDWORD HKLM $1 "VersionMajor" ${VERSION_MAJOR}
    WriteRegDWORD HKLM $1 "VersionMinor" ${VERSION_MINOR}
    WriteRegStr HKLM $1 "Publisher" "Veltrane"
    WriteRegStr HKLM $1 "URLInfoAbout" "${MAKER_SITE}"
    WriteRegStr HKLM $1 "HelpLink" "mailto:${SUPPORT_EMAIL}"
    WriteRegStr HKLM $1 "DisplayIcon" "$INSTDIR\Scheduler.exe"
    WriteRegStr HKLM $1 "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM $1 "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    ; Run in place, the uninstaller waits for its work and returns its outcome.
    WriteRegStr HKLM $1 "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR'
    WriteRegDWORD HKLM $1 "NoModify" 1
    WriteRegDWORD HKLM $1 "NoRepair" 1
    ${GetTime} "" "L" $2 $3 $4 $5 $6 $7 $8
    WriteRegStr HKLM $1 "InstallDate" "$4$3$2"
    ${GetSize} "$INSTDIR" "/M=Scheduler.exe /S=0K /G=0" $2 $3 $4
    ${GetSize} "$INSTDIR" "/M=${UNINSTALLER} /S=0K /G=0" $5 $3 $4
    IntOp $2 $2 + $5
    WriteRegDWORD HKLM $1 "EstimatedSize" $2
FunctionEnd

; The desktop shell's IShellDispatch2 in $1, 0 when there is none to ask. Reached from the
; desktop window's view, it lives in the shell's process: what it starts runs as the user at
; the desktop. The caller releases it.
Function ShellDispatch
    Push $2
    Push $3
    Push $4
    Push $5
    Push $6
    StrCpy $1 0
    StrCpy $2 0
    StrCpy $3 0
    ; CLSCTX_LOCAL_SERVER: the shell's own ShellWindows, never one loaded in here
    System::Call 'ole32::CoCreateInstance(g "{9BA05972-F6A8-11CF-A442-00A0C90A8F39}", p 0, \
        i 4, g "{85CB6900-4D95-11CF-960C-0080C7F4EE85}", *p .r2) i .r6'
    ${If} $6 == 0
        ; The desktop: location CSIDL_DESKTOP as VT_I4, SWC_DESKTOP, SWFO_NEEDDISPATCH
        System::Call '*(&i2 3, &i2 0, &i4 0, p 0, p 0) p .r4'
        System::Call '*(&i2 0, &i2 0, &i4 0, p 0, p 0) p .r5'
        System::Call '$2->15(p r4, p r5, i 8, *i 0, i 1, *p .r3) i .r6'
        System::Free $4
        System::Free $5
        System::Call '$2->2()'
        StrCpy $2 $3
        ${IfThen} $2 == 0 ${|} StrCpy $6 1 ${|}
    ${EndIf}
    ; Each step: QueryInterface or a getter from the object in $2 to the next in $3.
    ${If} $6 == 0
        System::Call '$2->0(g "{6D5140C1-7436-11CE-8034-00AA006009FA}", *p .r3) i .r6'
        System::Call '$2->2()'
        StrCpy $2 $3
    ${EndIf}
    ${If} $6 == 0
        ; SID_STopLevelBrowser, IShellBrowser
        System::Call '$2->3(g "{4C96BE40-915C-11CF-99D3-00AA004AE837}", \
            g "{000214E2-0000-0000-C000-000000000046}", *p .r3) i .r6'
        System::Call '$2->2()'
        StrCpy $2 $3
    ${EndIf}
    ${If} $6 == 0
        ; QueryActiveShellView
        System::Call '$2->15(*p .r3) i .r6'
        System::Call '$2->2()'
        StrCpy $2 $3
    ${EndIf}
    ${If} $6 == 0
        ; GetItemObject(SVGIO_BACKGROUND, IDispatch)
        System::Call '$2->15(i 0, g "{00020400-0000-0000-C000-000000000046}", *p .r3) i .r6'
        System::Call '$2->2()'
        StrCpy $2 $3
    ${EndIf}
    ${If} $6 == 0
        System::Call '$2->0(g "{E7A1AF80-4D96-11CF-960C-0080C7F4EE85}", *p .r3) i .r6'
        System::Call '$2->2()'
        StrCpy $2 $3
    ${EndIf}
    ${If} $6 == 0
        ; IShellFolderViewDual::get_Application
        System::Call '$2->7(*p .r3) i .r6'
        System::Call '$2->2()'
        StrCpy $2 $3
    ${EndIf}
    ${If} $6 == 0
        System::Call '$2->0(g "{A4C6892C-3BA9-11D2-9DEA-00C04FB16162}", *p .r3) i .r6'
        System::Call '$2->2()'
        ${If} $6 == 0
            StrCpy $1 $3
        ${EndIf}
    ${EndIf}
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Pop $2
FunctionEnd

; Starts $INSTDIR\Scheduler.exe with the arguments in $0 as the user at the desktop, through
; the shell: started from here it would get this installer's administrator token, maybe
; another account's, and miss the shell's broadcasts to its tray icon. $1 is 1 when the shell
; took it; nothing is started when there is no shell to ask.
Function StartAsDesktopUser
    Push $2
    Push $3
    Push $4
    Push $5
    Push $6
    Push $7
    ; COINIT_APARTMENTTHREADED; only a successful call is undone
    System::Call 'ole32::CoInitializeEx(p 0, i 2) i .r7'
    Call ShellDispatch
    ${If} $1 != 0
        System::Call 'oleaut32::SysAllocString(w "$INSTDIR\Scheduler.exe") p .r2'
        ; VT_BSTR arguments and folder, VT_I4 SW_SHOWNORMAL, the default verb
        System::Call 'oleaut32::SysAllocString(w r0) p .r3'
        System::Call '*(&i2 8, &i2 0, &i4 0, p r3, p 0) p .r3'
        System::Call 'oleaut32::SysAllocString(w "$INSTDIR") p .r4'
        System::Call '*(&i2 8, &i2 0, &i4 0, p r4, p 0) p .r4'
        System::Call '*(&i2 0, &i2 0, &i4 0, p 0, p 0) p .r5'
        System::Call '*(&i2 3, &i2 0, &i4 0, p 1, p 0) p .r6'
        ; Variants go by address in the x64 calling convention.
        System::Call '$1->31(p r2, p r3, p r4, p r5, p r6) i .r0'
        System::Call '$1->2()'
        System::Call 'oleaut32::SysFreeString(p r2)'
        System::Call 'oleaut32::VariantClear(p r3)'
        System::Call 'oleaut32::VariantClear(p r4)'
        System::Free $3
        System::Free $4
        System::Free $5
        System::Free $6
        StrCpy $1 ""
        ${IfThen} $0 == 0 ${|} StrCpy $1 1 ${|}
    ${Else}
        StrCpy $1 ""
    ${EndIf}
    ${If} $7 >= 0
        System::Call 'ole32::CoUninitialize()'
    ${EndIf}
    Pop $7
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Pop $2
FunctionEnd

; What the user is told in $0 when the scheduler could not be started for them: it comes back
; at logon only when its autorun starts this copy.
Function NotStartedNote
    ReadRegStr $0 HKLM "${RUN_KEY}" "$Title"
    ReadRegStr $1 HKCU "${RUN_KEY}" "$Title"
    ${If} $0 == '"$INSTDIR\Scheduler.exe" -server'
    ${OrIf} $1 == '"$INSTDIR\Scheduler.exe" -server'
        StrCpy $0 "The scheduler was not started: it starts at your next logon."
    ${Else}
        StrCpy $0 "The scheduler was not started: start $INSTDIR\Scheduler.exe yourself."
    ${EndIf}
FunctionEnd

; Puts back what an update ended, the way it ran: its window shown, or behind its tray icon.
Function RestartProgram
    ${If} $EndedShown == 1
        StrCpy $0 ""
        Call StartAsDesktopUser
        ${If} $1 != 1
            Call NotStartedNote
            DetailPrint $0
        ${EndIf}
    ${EndIf}
    ${If} $EndedHidden == 1
        StrCpy $0 "-server"
        Call StartAsDesktopUser
        ${If} $1 != 1
            Call NotStartedNote
            DetailPrint $0
        ${EndIf}
    ${EndIf}
FunctionEnd

; Without a desktop shell to start it as the user, the finish page does not offer the start.
Function ShowFinishPage
    System::Call 'ole32::CoInitializeEx(p 0, i 2) i .r2'
    Call ShellDispatch
    ${If} $1 != 0
        System::Call '$1->2()'
    ${Else}
        Call NotStartedNote
        ${NSD_Uncheck} $mui.FinishPage.Run
        ShowWindow $mui.FinishPage.Run ${SW_HIDE}
        ${NSD_GetText} $mui.FinishPage.Text $1
        ${NSD_SetText} $mui.FinishPage.Text "$1$\r$\n$\r$\n$0"
        ; Sized to leave room for the check box, the text takes its place too.
        System::Call '*(i 0, i 0, i 195, i 120) p .r1'
        System::Call 'user32::MapDialogRect(p $mui.FinishPage, p r1)'
        System::Call '*$1(i, i, i .r3, i .r4)'
        System::Free $1
        ; SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE
        System::Call 'user32::SetWindowPos(p $mui.FinishPage.Text, p 0, i 0, i 0, i r3, i r4, \
            i 0x16)'
    ${EndIf}
    ${If} $2 >= 0
        System::Call 'ole32::CoUninitialize()'
    ${EndIf}
FunctionEnd

; The finish page's start, told when it could not be made.
Function StartFromFinishPage
    StrCpy $0 ""
    Call StartAsDesktopUser
    ${If} $1 != 1
        Call NotStartedNote
        MessageBox MB_OK|MB_ICONINFORMATION $0
    ${EndIf}
FunctionEnd

; An uninstall run in place leaves its own file to be removed at the next restart: an install
; before then takes that removal back, or the restart would take the new uninstaller.
Function KeepUninstaller
    Push $0
    Push $1
    Push $2
    Push $3
    Push $4
    Push $5
    Push $6
    Push $7
    Push $8
    ; HKLM, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY
    System::Call 'advapi32::RegOpenKeyExW(p 0x80000002, \
        w "SYSTEM\CurrentControlSet\Control\Session Manager", i 0, i 0x103, *p .r0) i .r1'
    ${If} $1 == 0
        ; REG_MULTI_SZ of pairs, a source and a target; an empty target for a removal
        System::Call 'advapi32::RegQueryValueExW(p r0, w "PendingFileRenameOperations", p 0, \
            *i .r1, p 0, *i 0 r2) i .r3'
        ${If} $3 == 0
        ${AndIf} $1 == 7
            ; Zeroed and longer than read: a value that lacks its final ends still ends.
            IntOp $2 $2 + 8
            System::Alloc $2
            Pop $3
            System::Alloc $2
            Pop $4
            System::Call 'advapi32::RegQueryValueExW(p r0, w "PendingFileRenameOperations", \
                p 0, p 0, p r3, *i r2) i .r1'
            StrCpy $5 $3    ; the pair read
            StrCpy $6 $4    ; where the kept pairs go
            StrCpy $7 ""    ; 1 once a pair was dropped
            ${DoWhile} $1 == 0
                System::Call 'kernel32::lstrlenW(p r5) i .r1'
                ${IfThen} $1 == 0 ${|} ${Break} ${|}
                IntOp $1 $1 + 1
                IntOp $1 $1 * 2
                IntPtrOp $2 $5 + $1
                System::Call 'kernel32::lstrlenW(p r2) i .r2'
                IntOp $8 $2 + 1
                IntOp $8 $8 * 2
                IntOp $8 $8 + $1    ; the pair's bytes
                System::Call 'kernel32::CompareStringOrdinal(p r5, i -1, \
                    w "\??\$INSTDIR\${UNINSTALLER}", i -1, i 1) i .r1'
                ${If} $1 == 2    ; CSTR_EQUAL
                ${AndIf} $2 == 0
                    StrCpy $7 1
                ${Else}
                    System::Call 'kernel32::RtlMoveMemory(p r6, p r5, p r8)'
                    IntPtrOp $6 $6 + $8
                ${EndIf}
                IntPtrOp $5 $5 + $8
                StrCpy $1 0
            ${Loop}
            ${If} $7 == 1
            ${AndIf} $6 == $4
                System::Call 'advapi32::RegDeleteValueW(p r0, w "PendingFileRenameOperations")'
            ${ElseIf} $7 == 1
                IntPtrOp $2 $6 - $4
                IntOp $2 $2 + 2    ; the list's end
                System::Call 'advapi32::RegSetValueExW(p r0, w "PendingFileRenameOperations", \
                    i 0, i 7, p r4, i r2)'
            ${EndIf}
            System::Free $3
            System::Free $4
        ${EndIf}
        System::Call 'advapi32::RegCloseKey(p r0)'
    ${EndIf}
    Pop $8
    Pop $7
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

; A failed copy leaves no half install, and the program ended for it runs again.
Function .onInstFailed
    ${If} $Fresh == 1
        Delete "$INSTDIR\Scheduler.exe"
        Delete "$INSTDIR\${UNINSTALLER}"
    ${EndIf}
    Call RestartProgram
FunctionEnd

; Without Ignore: a file that was not written fails the install.
AllowSkipFiles off

Section "Scheduler"
    SetRegView 64
    ; One spelling of the folder for the entry and the program it starts.
    StrCpy $0 $INSTDIR
    Call Resolve
    StrCpy $INSTDIR $0
    ; Checked again here: a silent install has no folder page.
    Call DetectProduct
    ${If} $Exe == ""
        MessageBox MB_OK|MB_ICONSTOP "$INSTDIR does not hold dovsuite.exe, dovbase.exe, \
            dovlens.exe or dovdepot.exe: the scheduler was not installed." /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}
    Call EndProgramOrStop

    ; Until the files and the entry are written, an end is a failure.
    SetErrorLevel 4
    ${IfNot} ${FileExists} "$INSTDIR\Scheduler.exe"
        StrCpy $Fresh 1
    ${EndIf}
    Call FindEntry
    SetOutPath $INSTDIR
    ClearErrors
    File "/oname=Scheduler.exe" "${PROGRAM}"
    Call KeepUninstaller
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "The scheduler could not be written to $INSTDIR: it was not \
            installed." /SD IDOK
        DetailPrint "Could not write $INSTDIR\${UNINSTALLER}: the scheduler was not installed."
        Abort
    ${EndIf}
    Call WriteEntry
    ${If} ${Errors}
        DeleteRegKey HKLM $Entry
        MessageBox MB_OK|MB_ICONSTOP "The Add/Remove Programs entry could not be written: the \
            scheduler was not installed." /SD IDOK
        Abort
    ${EndIf}
    SetErrorLevel 0
    Call RestartProgram
SectionEnd

Function un.onInit
    SetRegView 64
    ; One spelling of the folder, whichever ran this: the one the install wrote.
    StrCpy $0 $INSTDIR
    Call un.Resolve
    StrCpy $INSTDIR $0
    Call un.FindEntry
    Call un.DetectProduct
FunctionEnd

Section "Uninstall"
    SetRegView 64
    Call un.EndProgramOrStop

    ; The process has ended, but its image may be let go a moment later.
    StrCpy $1 0
    ${Do}
        Delete "$INSTDIR\Scheduler.exe"
        ${IfNot} ${FileExists} "$INSTDIR\Scheduler.exe"
        ${OrIf} $1 >= 20
            ${Break}
        ${EndIf}
        Sleep 250
        IntOp $1 $1 + 1
    ${Loop}
    ${If} ${FileExists} "$INSTDIR\Scheduler.exe"
        MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\Scheduler.exe could not be removed: another \
            program holds it open. Close it and run this again." /SD IDOK
        SetErrorLevel 4
        Abort
    ${EndIf}

    ; The autorun value of whichever title it ran under, in either place the program writes
    ; it, but only when it starts this copy.
    ${ForEach} $R9 0 3 + 1
        Call un.TitleAt
        ReadRegStr $0 HKLM "${RUN_KEY}" "$Probe"
        ${If} $0 == '"$INSTDIR\Scheduler.exe" -server'
            DeleteRegValue HKLM "${RUN_KEY}" "$Probe"
        ${EndIf}
        ReadRegStr $0 HKCU "${RUN_KEY}" "$Probe"
        ${If} $0 == '"$INSTDIR\Scheduler.exe" -server'
            DeleteRegValue HKCU "${RUN_KEY}" "$Probe"
        ${EndIf}
    ${Next}

    ; Only the entry of this folder: another folder's copy keeps its own.
    DeleteRegKey HKLM $Entry
    ; Run in place (_?=), the uninstaller's own file is held while it runs: Windows removes
    ; it at the next restart. Nothing is run from elsewhere to remove it sooner.
    Delete /REBOOTOK "$INSTDIR\${UNINSTALLER}"
    ${If} ${RebootFlag}
        DetailPrint "$INSTDIR\${UNINSTALLER} is removed at the next restart."
    ${EndIf}
    ; Scheduler.cfg holds the user's schedules: never deleted. Nor is the product's folder.
    ${If} ${FileExists} "$INSTDIR\Scheduler.cfg"
        DetailPrint "Kept your schedules: $INSTDIR\Scheduler.cfg"
    ${EndIf}
SectionEnd
