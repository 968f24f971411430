; The Windows installer: puts Scheduler.exe beside the companion product's executable, adds
; an entry to Add/Remove Programs and writes an uninstaller that keeps the user's schedules.
; The windows build makes it (target "installer") with
;   makensis -DVERSION=1.11 -DPROGRAM=Scheduler.exe -DLICENSE_FILE=LICENSE.txt
;            -DICON=scheduler.ico -DOUTFILE=Scheduler-1.11-setup.exe scheduler.nsi
; Silent: Scheduler-1.11-setup.exe /S /D=C:\Program Files\Dovrin Suite
;         "Uninstall Scheduler.exe" /S

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define UNINSTALLER "Uninstall Scheduler.exe"
!define UNINSTALL_ROOT "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define DEFAULT_FOLDER "$PROGRAMFILES64\Dovrin Suite"
; The program's Shutdown command, the one its tray menu's "Shut Down" sends.
!define ID_APP_SHUTDOWN 32778

Name "Scheduler ${VERSION}"
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
Var Entry       ; the Add/Remove Programs entry that names $INSTDIR, empty when none does
Var Failure     ; why the program could not be ended, empty when it was
Var Probe       ; the title whose windows are being looked at
Var Ended       ; 1 when a running program was ended

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "This installs the Scheduler ${VERSION} of your Dovrin product: \
    it starts the product on your schedules, from behind its tray icon.$\r$\n$\r$\n\
    It goes into the product's own folder, beside dovsuite.exe, dovbase.exe, dovlens.exe or \
    dovdepot.exe. A scheduler that runs from that folder is ended first.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!define MUI_DIRECTORYPAGE_TEXT_TOP "Choose the folder of your Dovrin product: the one that \
    holds dovsuite.exe, dovbase.exe, dovlens.exe or dovdepot.exe. The scheduler must sit \
    beside the product's executable to know the product and start it."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Product folder"
!define MUI_PAGE_HEADER_TEXT "Choose the Product Folder"
!define MUI_PAGE_HEADER_SUBTEXT "The scheduler goes beside your Dovrin product's executable."
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckProductFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Scheduler.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start the scheduler now"
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "$Title will be ended if it runs and removed from the \
    folder below. Your schedules (Scheduler.cfg) are kept."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Functions both the installer and the uninstaller call ("un." names the uninstaller's copy).
!macro SHARED_FUNCTIONS un

; The product a folder serves, found as the program finds it: the first file of the folder
; listing that is one of the four product executables. Folder in $0; sets $Title, or
; leaves it empty when the folder holds none of them.
Function ${un}DetectProduct
    Push $1
    Push $2
    StrCpy $Title ""
    FindFirst $1 $2 "$0\*.exe"
    ${DoWhile} $2 != ""
        ${IfNot} ${FileExists} "$0\$2\*.*"
            ${If} $2 == "dovsuite.exe"
                StrCpy $Title "Dovrin Suite Scheduler"
            ${ElseIf} $2 == "dovbase.exe"
                StrCpy $Title "Dovrin Base Scheduler"
            ${ElseIf} $2 == "dovlens.exe"
                StrCpy $Title "Dovrin Lens Scheduler"
            ${ElseIf} $2 == "dovdepot.exe"
                StrCpy $Title "Dovrin Depot Scheduler"
            ${EndIf}
            ${If} $Title != ""
                ${Break}
            ${EndIf}
        ${EndIf}
        FindNext $1 $2
    ${Loop}
    FindClose $1
    Pop $2
    Pop $1
FunctionEnd

; Ends every running copy of $INSTDIR\Scheduler.exe whose main window is captioned $Probe:
; the Shutdown command lets it remove its tray icon and stop as the user's "Shut Down" would.
; Copies of other folders are left alone. Sets $Failure when one does not end in time.
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
        ${If} $R4 == "$INSTDIR\Scheduler.exe"
            DetailPrint "Ending $Probe"
            SendMessage $R0 ${WM_COMMAND} ${ID_APP_SHUTDOWN} 0 /TIMEOUT=5000
            System::Call 'kernel32::WaitForSingleObject(p R3, i 10000) i .R5'
            ${If} $R5 != 0
                StrCpy $Failure "$Probe is running from $INSTDIR and could not be ended.$\r$\n$\r$\n\
                    Choose Shut Down in the menu of its tray icon, then run this again."
                System::Call 'kernel32::CloseHandle(p R3)'
                ${Break}
            ${EndIf}
            StrCpy $Ended 1
            StrCpy $R0 0   ; that window is gone: search from the top again
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p R3)'
    ${Loop}
FunctionEnd

; Ends the folder's running program, under whichever product title it runs.
Function ${un}EndProgram
    StrCpy $Failure ""
    StrCpy $Ended 0
    ${ForEach} $R9 0 3 + 1
        ${If} $Failure == ""
            Call ${un}TitleAt
            Call ${un}EndProgramTitled
        ${EndIf}
    ${Next}
FunctionEnd

; Title $R9 of the four, in $Probe.
Function ${un}TitleAt
    ${Select} $R9
    ${Case} 0
        StrCpy $Probe "Dovrin Suite Scheduler"
    ${Case} 1
        StrCpy $Probe "Dovrin Base Scheduler"
    ${Case} 2
        StrCpy $Probe "Dovrin Lens Scheduler"
    ${Default}
        StrCpy $Probe "Dovrin Depot Scheduler"
    ${EndSelect}
FunctionEnd

; Stops with a message (and exit code 2 when silent) when the program could not be ended.
Function ${un}EndProgramOrStop
    Call ${un}EndProgram
    ${If} $Failure != ""
        MessageBox MB_OK|MB_ICONSTOP "$Failure" /SD IDOK
        DetailPrint "$Failure"
        SetErrorLevel 2
        Abort
    ${EndIf}
FunctionEnd

!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

Function .onInit
    SetRegView 64
    ; An update goes where the scheduler already is, unless /D chose a folder.
    ${If} $INSTDIR == "${DEFAULT_FOLDER}"
        ${ForEach} $R9 0 3 + 1
            Call TitleAt
            ReadRegStr $0 HKLM "${UNINSTALL_ROOT}\$Probe" "InstallLocation"
            ${If} $0 != ""
            ${AndIf} ${FileExists} "$0\Scheduler.exe"
                StrCpy $INSTDIR $0
                ${Break}
            ${EndIf}
        ${Next}
    ${EndIf}
FunctionEnd

Function CheckProductFolder
    StrCpy $0 $INSTDIR
    Call DetectProduct
    ${If} $Title == ""
        MessageBox MB_OK|MB_ICONEXCLAMATION "$INSTDIR does not hold dovsuite.exe, dovbase.exe, \
            dovlens.exe or dovdepot.exe.$\r$\n$\r$\nChoose the folder of your Dovrin product."
        Abort
    ${EndIf}
FunctionEnd

Section "Scheduler"
    SetRegView 64
    ; Checked again here: a silent install has no folder page.
    StrCpy $0 $INSTDIR
    Call DetectProduct
    ${If} $Title == ""
        MessageBox MB_OK|MB_ICONSTOP "$INSTDIR does not hold dovsuite.exe, dovbase.exe, \
            dovlens.exe or dovdepot.exe: the scheduler was not installed." /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}
    Call EndProgramOrStop

    SetOutPath $INSTDIR
    File "/oname=Scheduler.exe" "${PROGRAM}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    StrCpy $1 "${UNINSTALL_ROOT}\$Title"
    WriteRegStr HKLM $1 "DisplayName" "$Title"
    WriteRegStr HKLM $1 "DisplayVersion" "${VERSION}"
    WriteRegDWORD HKLM $1 "VersionMajor" ${VERSION_MAJOR}
    WriteRegDWORD HKLM $1 "VersionMinor" ${VERSION_MINOR}
    WriteRegStr HKLM $1 "Publisher" "Veltrane"
    WriteRegStr HKLM $1 "DisplayIcon" "$INSTDIR\Scheduler.exe"
    WriteRegStr HKLM $1 "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM $1 "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM $1 "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM $1 "NoModify" 1
    WriteRegDWORD HKLM $1 "NoRepair" 1
    ${GetSize} "$INSTDIR" "/M=Scheduler.exe /S=0K /G=0" $2 $3 $4
    ${GetSize} "$INSTDIR" "/M=${UNINSTALLER} /S=0K /G=0" $5 $3 $4
    IntOp $2 $2 + $5
    WriteRegDWORD HKLM $1 "EstimatedSize" $2

    ; An update puts back the program it ended, quietly, as a start at logon would.
    ${If} $Ended == 1
        Exec '"$INSTDIR\Scheduler.exe" -server'
    ${EndIf}
SectionEnd

Function un.onInit
    SetRegView 64
    ; The entry this uninstaller wrote is the one that names its folder.
    StrCpy $Title ""
    StrCpy $Entry ""
    ${ForEach} $R9 0 3 + 1
        Call un.TitleAt
        ReadRegStr $0 HKLM "${UNINSTALL_ROOT}\$Probe" "InstallLocation"
        ${If} $0 == $INSTDIR
            StrCpy $Title $Probe
            StrCpy $Entry "${UNINSTALL_ROOT}\$Probe"
            ${Break}
        ${EndIf}
    ${Next}
    ${If} $Title == ""
        StrCpy $0 $INSTDIR
        Call un.DetectProduct
    ${EndIf}
    ${If} $Title == ""
        StrCpy $Title "Scheduler"
    ${EndIf}
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
        SetErrorLevel 2
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
    ${If} $Entry != ""
        DeleteRegKey HKLM $Entry
    ${EndIf}
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Scheduler.cfg holds the user's schedules: never deleted. Nor is the product's folder.
    ${If} ${FileExists} "$INSTDIR\Scheduler.cfg"
        DetailPrint "Kept your schedules: $INSTDIR\Scheduler.cfg"
    ${EndIf}
SectionEnd
