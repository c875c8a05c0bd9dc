; The suite's setup program and its uninstaller.
; makensis -DSUITE_VERSION=x.y.z -DSUITE_BIN=<built programs> -DSUITE_ROOT=<sources>
;          -DSUITE_DATA_LIST=<data_files.nsh> -DOUTFILE=<setup.exe> zorvix-suite.nsi
;
; Per machine (elevated, Program Files, HKLM) for an administrator, per user (the user's programs
; folder, HKCU) otherwise or with /CurrentUser. The uninstaller takes back what the suite wrote, and
; only what names this installation; the user's files and settings go only with /RemoveUserData or
; the box on its components page.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel highest

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include "${SUITE_DATA_LIST}"

!define SUITE_NAME "Zorvix安全套件"
!define PUBLISHER "tolvark"
!define GUARD_NAME "Zorvix安全卫士"
!define BROWSER_NAME "Corvane安全浏览器"
!define SEARCH_NAME "Sercavo"
!define UNINSTALLER "uninstall.exe"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZorvixSuite"
!define RUN_KEY "software\microsoft\windows\currentversion\run"
!define SETTINGS_KEY "Software\VB and VBA Program Settings"
; What the guard's main window answers with its own unload (frozen programs resumed).
!define GUARD_WINDOW_CLASS "ZorvixFrmMain"
!define GUARD_UNLOAD_MESSAGE "ZorvixSafe.Guard.Unload"
; The browser's own undo of its default-browser registration.
!define BROWSER_UNDO_SWITCH "/cancelnavigation"
; The one shipped file the user edits (the sites' addresses): an install over an existing one keeps it,
; and the uninstaller keeps it when it is no longer as shipped.
!define EDITABLE "sys\sites.txt"
!define EDITABLE_SOURCE "sys/sites.txt"

Name "${SUITE_NAME}"
; The file is named "...-setup.exe" as users look for it, which makes Windows treat it as an installer.
!pragma warning disable 9000
OutFile "${OUTFILE}"
BrandingText "${SUITE_NAME} ${SUITE_VERSION}"
; No InstallDir: an empty $INSTDIR in .onInit means no /D= was given.

VIProductVersion "${SUITE_VERSION}.0"
VIFileVersion "${SUITE_VERSION}.0"

Var Mode        ; "machine" or "user"
Var Fresh       ; 1 when the folder held no earlier installation
Var Ours        ; uninstaller: the uninstall entry (and so the shortcuts) belong to this folder
Var BrowserEnded

!define MUI_ICON "${SUITE_ROOT}/guard/res/zorvix.ico"
!define MUI_UNICON "${SUITE_ROOT}/guard/res/zorvix.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "运行 ${GUARD_NAME}"
!define MUI_FINISHPAGE_RUN_FUNCTION StartGuard
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "勾选下面一项，将同时删除收藏夹、网站组、广告过滤名单、启动项备份、网站地址和各程序的设置；不勾选则保留它们，以后重新安装时仍可使用。"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.HideSpaceRequired
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${SUITE_NAME}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${SUITE_NAME} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${SUITE_VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${SUITE_VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "${PUBLISHER}"

; ---- shared by the installer and the uninstaller ("un." in front for the second) ----

!macro SUITE_FUNCTIONS UN

; The full path of a process's program; "" when it cannot be asked. Stack: pid -> path.
Function ${UN}ProgramOfProcess
  Exch $0
  Push $1
  System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r0) p .r1'  ; PROCESS_QUERY_LIMITED_INFORMATION
  StrCpy $0 ""
  ${If} $1 P<> 0
    System::Call 'kernel32::QueryFullProcessImageNameW(p r1, i 0, w .r0, *i ${NSIS_MAX_STRLEN}) i'
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  Pop $1
  Exch $0
FunctionEnd

; Walks the running processes started from $INSTDIR as one of the suite's programs. $R8 "count" counts
; them in $R9 and lists the programs' names in $R7; "kill" ends them. $R6 names one program only ("" for all).
Function ${UN}WalkSuiteProcesses
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  StrCpy $R9 0
  StrCpy $R7 ""
  System::Call 'kernel32::CreateToolhelp32Snapshot(i 2, i 0) p .r0'  ; TH32CS_SNAPPROCESS
  ${If} $0 P= -1
    Goto done
  ${EndIf}
  ; PROCESSENTRY32W on x64: 568 bytes, the process id at 8, the file name at 44.
  System::Alloc 568
  Pop $1
  System::Call '*$1(i 568)'
  System::Call 'kernel32::Process32FirstW(p r0, p r1) i .r2'
  ${DoWhile} $2 <> 0
    System::Call '*$1(i, i, i .r3, i, l, i, i, i, i, i, &w260 .r4)'
    ${If} $R6 == ""
    ${OrIf} $R6 == $4
      ${If} $4 == "zorvix.exe"
      ${OrIf} $4 == "zorvix_signer.exe"
      ${OrIf} $4 == "corvane.exe"
      ${OrIf} $4 == "sercavo.exe"
        Push $3
        Call ${UN}ProgramOfProcess
        Pop $5
        ${If} $5 == "$INSTDIR\$4"
          IntOp $R9 $R9 + 1
          ${If} $R8 == "kill"
            ; PROCESS_TERMINATE | SYNCHRONIZE
            System::Call 'kernel32::OpenProcess(i 0x100001, i 0, i r3) p .r5'
            ${If} $5 P<> 0
              System::Call 'kernel32::TerminateProcess(p r5, i 1) i'
              System::Call 'kernel32::WaitForSingleObject(p r5, i 5000) i'
              System::Call 'kernel32::CloseHandle(p r5)'
              ${If} $4 == "corvane.exe"
                StrCpy $BrowserEnded 1
              ${EndIf}
            ${EndIf}
          ${Else}
            Push $4
            Call ${UN}TitleOf
            Pop $5
            ${If} $5 != ""
              ${If} $R7 != ""
                StrCpy $R7 "$R7、"
              ${EndIf}
              StrCpy $R7 "$R7$5"
            ${EndIf}
          ${EndIf}
        ${EndIf}
      ${EndIf}
    ${EndIf}
    System::Call 'kernel32::Process32NextW(p r0, p r1) i .r2'
  ${Loop}
  System::Free $1
  System::Call 'kernel32::CloseHandle(p r0)'
done:
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; The name a user knows a program file by ("" for the guard's helper). Stack: file -> name.
Function ${UN}TitleOf
  Exch $0
  ${If} $0 == "zorvix.exe"
    StrCpy $0 "${GUARD_NAME}"
  ${ElseIf} $0 == "corvane.exe"
    StrCpy $0 "${BROWSER_NAME}"
  ${ElseIf} $0 == "sercavo.exe"
    StrCpy $0 "${SEARCH_NAME}"
  ${Else}
    StrCpy $0 ""
  ${EndIf}
  Exch $0
FunctionEnd

; Asks this folder's guards to unload as their own exit does, which resumes programs they froze.
Function ${UN}UnloadGuards
  Push $0
  Push $1
  Push $2
  System::Call 'user32::RegisterWindowMessageW(w "${GUARD_UNLOAD_MESSAGE}") i .r0'
  StrCpy $1 0
  ${Do}
    System::Call 'user32::FindWindowExW(p 0, p r1, w "${GUARD_WINDOW_CLASS}", p 0) p .r1'
    ${If} $1 P= 0
      ${ExitDo}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2) i'
    Push $2
    Call ${UN}ProgramOfProcess
    Pop $2
    ${If} $2 == "$INSTDIR\zorvix.exe"
      System::Call 'user32::SendMessageTimeoutW(p r1, i r0, p 0, p 0, i 2, i 5000, *p .r2) p'  ; SMTO_ABORTIFHUNG
    ${EndIf}
  ${Loop}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Ends the suite's programs running from $INSTDIR, after asking. The guard first gets the chance to
; unload in order; whatever still runs after that is ended. Aborts when the user says no.
Function ${UN}EndSuitePrograms
  StrCpy $BrowserEnded 0
  StrCpy $R8 "count"
  StrCpy $R6 ""
  Call ${UN}WalkSuiteProcesses
  ${If} $R9 = 0
    Return
  ${EndIf}
  ${If} $R7 == ""
    StrCpy $R7 "${GUARD_NAME}"  ; only its helper runs
  ${EndIf}
  MessageBox MB_OKCANCEL|MB_ICONQUESTION "$R7 正在运行，需要先关闭。$\r$\n$\r$\n按“确定”关闭并继续，按“取消”退出。" /SD IDOK IDOK +2
    Abort "$R7 仍在运行，没有改动任何文件。"
  Call ${UN}UnloadGuards
  StrCpy $R6 "zorvix.exe"
  ${For} $R5 1 40
    Call ${UN}WalkSuiteProcesses
    ${IfThen} $R9 = 0 ${|} ${Break} ${|}
    Sleep 250
  ${Next}
  StrCpy $R8 "kill"
  StrCpy $R6 ""
  Call ${UN}WalkSuiteProcesses
  ; What the browser's own exit does: the screen saver it turned off is on again.
  ${If} $BrowserEnded = 1
    WriteRegStr HKCU "Control Panel\Desktop" "ScreenSaveActive" "1"
  ${EndIf}
FunctionEnd

!macroend

!insertmacro SUITE_FUNCTIONS ""
!insertmacro SUITE_FUNCTIONS "un."

; ---- installer ----

!macro InstallDataFile WIN POSIX
  !if "${WIN}" == "${EDITABLE}"
    SetOverwrite off
    File "/oname=$INSTDIR\${WIN}" "${SUITE_ROOT}/data/${POSIX}"
    SetOverwrite on
  !else
    File "/oname=$INSTDIR\${WIN}" "${SUITE_ROOT}/data/${POSIX}"
  !endif
!macroend
!macro CreateDataDir WIN
  CreateDirectory "$INSTDIR\${WIN}"
!macroend

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CurrentUser" $1
  ${IfNot} ${Errors}
    StrCpy $Mode "user"
  ${Else}
    UserInfo::GetAccountType
    Pop $1
    ${If} $1 == "Admin"
      StrCpy $Mode "machine"
    ${Else}
      StrCpy $Mode "user"
    ${EndIf}
  ${EndIf}
  ${If} $Mode == "machine"
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ${If} $INSTDIR == ""
    ; An earlier installation in the same view is installed over.
    ReadRegStr $INSTDIR SHCTX "${UNINST_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $INSTDIR == ""
    ${If} $Mode == "machine"
      StrCpy $INSTDIR "$PROGRAMFILES64\Zorvix"
    ${Else}
      GetKnownFolderPath $1 {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}  ; the user's programs folder
      ${IfThen} $1 == "" ${|} StrCpy $1 "$LOCALAPPDATA\Programs" ${|}
      StrCpy $INSTDIR "$1\Zorvix"
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "-Programs" SecPrograms
  SetOutPath "$INSTDIR"
  ${If} ${FileExists} "$INSTDIR\zorvix.exe"
  ${OrIf} ${FileExists} "$INSTDIR\corvane.exe"
  ${OrIf} ${FileExists} "$INSTDIR\sercavo.exe"
    StrCpy $Fresh 0
  ${Else}
    StrCpy $Fresh 1
  ${EndIf}
  Call EndSuitePrograms

  File "${SUITE_BIN}/zorvix.exe"
  File "${SUITE_BIN}/zorvix_signer.exe"
  File "${SUITE_BIN}/corvane.exe"
  File "${SUITE_BIN}/sercavo.exe"
  !insertmacro SuiteDataDirs CreateDataDir
  !insertmacro SuiteDataFiles InstallDataFile

  ; The browser's and the search tool's first runs: only in a fresh folder, since the browser's resets
  ; its settings to the defaults, which an install over an existing one must keep.
  ${If} $Fresh = 1
    FileOpen $0 "$INSTDIR\first.dat" w
    FileWrite $0 "Zorvix suite ${SUITE_VERSION}$\r$\n"
    FileClose $0
  ${EndIf}

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateShortCut "$SMPROGRAMS\${GUARD_NAME}.lnk" "$INSTDIR\zorvix.exe" "" "$INSTDIR\zorvix.exe" 0 SW_SHOWNORMAL \
      "" "进程管理、网络防火墙和启动项监视"
  CreateShortCut "$SMPROGRAMS\${BROWSER_NAME}.lnk" "$INSTDIR\corvane.exe" "" "$INSTDIR\corvane.exe" 0 SW_SHOWNORMAL \
      "" "多标签安全浏览器"
  CreateShortCut "$SMPROGRAMS\${SEARCH_NAME}.lnk" "$INSTDIR\sercavo.exe" "" "$INSTDIR\sercavo.exe" 0 SW_SHOWNORMAL \
      "" "文件搜索"

  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayName" "${SUITE_NAME}"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayVersion" "${SUITE_VERSION}"
  WriteRegStr SHCTX "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\zorvix.exe"
  WriteRegStr SHCTX "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr SHCTX "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  SectionGetSize ${SecPrograms} $0
  WriteRegDWORD SHCTX "${UNINST_KEY}" "EstimatedSize" $0
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoRepair" 1
SectionEnd

; The installer may run elevated; the guard is started as the user who is signed in, through the shell.
Function StartGuard
  ${If} $Mode == "machine"
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\zorvix.exe"'
  ${Else}
    Exec '"$INSTDIR\zorvix.exe"'
  ${EndIf}
FunctionEnd

; ---- uninstaller ----

; Sets $R9 to 1 when the command line in $R0 starts this folder's program $R1 (quoted or not), else 0.
Function un.NamesOurs
  Push $0
  Push $1
  StrCpy $R9 0
  StrCpy $0 '"$INSTDIR\$R1"'
  StrLen $1 $0
  StrCpy $1 $R0 $1
  ${If} $1 == $0
    StrCpy $R9 1
  ${ElseIf} $R0 == "$INSTDIR\$R1"
    StrCpy $R9 1
  ${Else}
    StrCpy $0 "$INSTDIR\$R1 "
    StrLen $1 $0
    StrCpy $1 $R0 $1
    ${IfThen} $1 == $0 ${|} StrCpy $R9 1 ${|}
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; The Explorer entry under ROOT\KEY when its command starts this folder's search tool.
!macro RemoveSearchMenu ROOT KEY
  ReadRegStr $R0 ${ROOT} "${KEY}\command" ""
  StrCpy $R1 "sercavo.exe"
  Call un.NamesOurs
  ${If} $R9 = 1
    DeleteRegKey ${ROOT} "${KEY}"
  ${EndIf}
!macroend

; The Flash association under ROOT\Software\Classes when it names this folder's player.
!macro RemoveFlashAssociation ROOT
  ReadRegStr $R0 ${ROOT} "Software\Classes\flashfile\shell\open\command" ""
  StrCpy $R1 "flash.exe"
  Call un.NamesOurs
  ${If} $R9 = 0
    ReadRegStr $R0 ${ROOT} "Software\Classes\flashfile\defaultIcon" ""
    Call un.NamesOurs
  ${EndIf}
  ${If} $R9 = 1
    DeleteRegKey ${ROOT} "Software\Classes\flashfile"
    ReadRegStr $R0 ${ROOT} "Software\Classes\.swf" ""
    ${If} $R0 == "flashfile"
      DeleteRegValue ${ROOT} "Software\Classes\.swf" ""
      DeleteRegKey /ifempty ${ROOT} "Software\Classes\.swf"
    ${EndIf}
  ${EndIf}
!macroend

!macro RemoveDataFile WIN POSIX
  !if "${WIN}" != "${EDITABLE}"
    Delete "$INSTDIR\${WIN}"
  !endif
!macroend

; An uninstall needs no disk space: the page's "space required" line would only confuse.
Function un.HideSpaceRequired
  FindWindow $0 "#32770" "" $HWNDPARENT
  GetDlgItem $0 $0 1023  ; the space-required text
  ShowWindow $0 ${SW_HIDE}
FunctionEnd

; Sets $R9 to 1 when the files $R0 and $R1 hold the same bytes, else 0.
Function un.SameBytes
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $R9 0
  ClearErrors
  FileOpen $0 $R0 r
  IfErrors done
  FileOpen $1 $R1 r
  IfErrors close
  ${Do}
    ClearErrors
    FileReadByte $0 $2
    ${If} ${Errors}
      ClearErrors
      FileReadByte $1 $3
      ${IfThen} ${Errors} ${|} StrCpy $R9 1 ${|}
      ${ExitDo}
    ${EndIf}
    FileReadByte $1 $3
    ${IfThen} ${Errors} ${|} ${ExitDo} ${|}
    ${IfThen} $2 != $3 ${|} ${ExitDo} ${|}
  ${Loop}
  FileClose $1
close:
  FileClose $0
done:
  ClearErrors
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macro RemoveDataDir WIN
  RMDir "$INSTDIR\${WIN}"
!macroend


Section "-un.Programs"
  Call un.EndSuitePrograms

  ; Needs the browser and its record of what it replaced, so it comes before both are removed.
  ${If} ${FileExists} "$INSTDIR\corvane.exe"
    ExecWait '"$INSTDIR\corvane.exe" ${BROWSER_UNDO_SWITCH}'
  ${EndIf}

  ReadRegStr $R0 HKCU "${RUN_KEY}" "safe"
  StrCpy $R1 "zorvix.exe"
  Call un.NamesOurs
  ${If} $R9 = 1
    DeleteRegValue HKCU "${RUN_KEY}" "safe"
  ${EndIf}

  ; The programs write "Directory\shell" through the merged classes view, "Drive\shell" on the machine.
  !insertmacro RemoveSearchMenu HKCU "Software\Classes\Directory\shell\Sercavo"
  !insertmacro RemoveSearchMenu HKLM "Software\Classes\Directory\shell\Sercavo"
  !insertmacro RemoveSearchMenu HKCU "Software\Classes\Drive\shell\Sercavo"
  !insertmacro RemoveSearchMenu HKLM "Software\CLASSES\Drive\shell\Sercavo"
  !insertmacro RemoveFlashAssociation HKCU
  !insertmacro RemoveFlashAssociation HKLM

  ; Another installation in the same view took the shortcuts' names and the entry over: they are its own.
  ${If} $Ours = 1
    Delete "$SMPROGRAMS\${GUARD_NAME}.lnk"
    Delete "$SMPROGRAMS\${BROWSER_NAME}.lnk"
    Delete "$SMPROGRAMS\${SEARCH_NAME}.lnk"
  ${EndIf}

  Delete "$INSTDIR\zorvix.exe"
  Delete "$INSTDIR\zorvix_signer.exe"
  Delete "$INSTDIR\corvane.exe"
  Delete "$INSTDIR\sercavo.exe"
  !insertmacro SuiteDataFiles RemoveDataFile
  InitPluginsDir
  File "/oname=$PLUGINSDIR\shipped.txt" "${SUITE_ROOT}/data/${EDITABLE_SOURCE}"
  StrCpy $R0 "$INSTDIR\${EDITABLE}"
  StrCpy $R1 "$PLUGINSDIR\shipped.txt"
  Call un.SameBytes
  ${IfThen} $R9 = 1 ${|} Delete "$INSTDIR\${EDITABLE}" ${|}
  ; What the programs write for themselves: the first-run marker, the module list, the browser's scratch.
  Delete "$INSTDIR\first.dat"
  Delete "$INSTDIR\info.txt"
  Delete "$INSTDIR\temp\*.*"
  RMDir "$INSTDIR\temp"
SectionEnd

Section /o "un.删除用户的文件和设置" SecUserData
  RMDir /r "$INSTDIR\Favorites"
  RMDir /r "$INSTDIR\Group"
  Delete "$INSTDIR\guanggao.txt"
  Delete "$INSTDIR\${EDITABLE}"
  Delete "$INSTDIR\sys\ask.dat"
  Delete "$INSTDIR\sys\regask.dat"
  Delete "$INSTDIR\sys\startup-backup.reg"
  DeleteRegKey HKCU "${SETTINGS_KEY}\ZorvixSafe"
  DeleteRegKey HKCU "${SETTINGS_KEY}\Corvane"
  DeleteRegKey HKCU "${SETTINGS_KEY}\RororAreze"
  DeleteRegKey HKCU "${SETTINGS_KEY}\Sercavo"
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
SectionEnd

Section "-un.Folder"
  ${If} $Ours = 1
    DeleteRegKey SHCTX "${UNINST_KEY}"
  ${EndIf}
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Empty folders only: whatever the user keeps here stays, and so does the folder.
  RMDir "$INSTDIR\Favorites"
  RMDir "$INSTDIR\Group"
  !insertmacro SuiteDataDirs RemoveDataDir
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  ; The view this folder was installed into is the one whose entry names it; when none does (another
  ; installation took the entry over), the one this account installs into.
  UserInfo::GetAccountType
  Pop $1
  StrCpy $Ours 1
  ReadRegStr $0 HKLM "${UNINST_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $Mode "machine"
  ${Else}
    ReadRegStr $0 HKCU "${UNINST_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
      StrCpy $Mode "user"
    ${Else}
      StrCpy $Ours 0
      ${IfThen} $1 == "Admin" ${|} StrCpy $Mode "machine" ${|}
      ${IfThen} $1 != "Admin" ${|} StrCpy $Mode "user" ${|}
    ${EndIf}
  ${EndIf}
  ${If} $Mode == "machine"
    ${If} $1 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "${SUITE_NAME} 是为这台计算机的所有用户安装的，请以管理员身份卸载。" /SD IDOK
      SetErrorLevel 5  ; ERROR_ACCESS_DENIED
      Quit
    ${EndIf}
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/RemoveUserData" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecUserData} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
