; Morvane's setup: installs Morvane for the current user, without administrator
; rights, and writes the uninstaller that takes it all away again.
; The build passes MORVANE_VERSION, MORVANE_FILE_VERSION (four numbers),
; MORVANE_EXIT_COMMAND (the tray menu's Exit id), MORVANE_STAGE (the files to
; install), MORVANE_ICON and MORVANE_SETUP (the program to write).

; Morvane itself speaks code page 932 only; so does its setup.
Unicode false
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Quorvel\Morvane"
!define SYNCHRONIZE 0x00100000
!define WAIT_TIMEOUT 0x102

Name "Morvane"
OutFile "${MORVANE_SETUP}"
InstallDir "$LOCALAPPDATA\Programs\Morvane"
; An upgrade goes where the installed Morvane is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Morvane ${MORVANE_VERSION}"

Var AutoStart

!define MUI_ICON "${MORVANE_ICON}"
!define MUI_UNICON "${MORVANE_ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Morvane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(StartNow)"
; The readme check box of the last page serves as the start-with-Windows choice.
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(StartWithWindows)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION WriteRunValue
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FinishPageLeave
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

LangString StartNow ${LANG_JAPANESE} "Morvane を今すぐ起動する"
LangString StartWithWindows ${LANG_JAPANESE} "Windows の起動時に Morvane を起動する"
LangString CannotExit ${LANG_JAPANESE} "Morvane が終了しません。タスクトレイのアイコンのメニューから「終了」を選んで Morvane を終了してから、「再試行」を押してください。"
LangString ReadmeLink ${LANG_JAPANESE} "お読みください"
LangString RemoveUserData ${LANG_JAPANESE} "Morvane の設定(レジストリの HKEY_CURRENT_USER\${SETTINGS_KEY})と、$APPDATA\Morvane にある辞書ファイルも削除しますか?"

VIProductVersion ${MORVANE_FILE_VERSION}
VIFileVersion ${MORVANE_FILE_VERSION}
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "Morvane"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${MORVANE_VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${MORVANE_VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "Morvane ${MORVANE_VERSION} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "Quorvel"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "Copyright (C) 2026 Quorvel"
VIAddVersionKey /LANG=${LANG_JAPANESE} "OriginalFilename" "Morvane-${MORVANE_VERSION}-setup.exe"

; Every file installed, in one list that installing and uninstalling share.
!macro ForEachFile Action
    !insertmacro ${Action} "Morvane.exe"
    !insertmacro ${Action} "MorLatch.dll"
    !insertmacro ${Action} "MorLatch64.dll"
    !insertmacro ${Action} "MorLatch64Host.exe"
    !insertmacro ${Action} "Dictionary.TXV"
    !insertmacro ${Action} "Dictionary.txt"
    !insertmacro ${Action} "FullWidth.TXV"
    !insertmacro ${Action} "readme.txt"
!macroend
!macro InstallFile Name
    File "${MORVANE_STAGE}/${Name}"
!macroend
!macro DeleteFile Name
    Delete "$INSTDIR\${Name}"
!macroend

; The functions that installing and uninstalling both need ("un." for the latter).
!macro SharedFunctions un
    ; Asks every running Morvane to exit through its Exit command, so that it
    ; saves its settings, and waits for its process to end.
    Function ${un}ExitMorvane
        ${Do}
            FindWindow $0 "MorvaneWndClass"
            ${If} $0 = 0
                ${ExitDo}
            ${EndIf}
            System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
            System::Call "kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2"
            System::Call "user32::PostMessageA(p r0, i ${WM_COMMAND}, i ${MORVANE_EXIT_COMMAND}, p 0)"
            System::Call "kernel32::WaitForSingleObject(p r2, i 10000) i .r3"
            System::Call "kernel32::CloseHandle(p r2)"
            ${If} $3 = ${WAIT_TIMEOUT}
            ${AndIf} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(CannotExit)" /SD IDCANCEL IDCANCEL`
                Abort
            ${EndIf}
        ${Loop}
    FunctionEnd

    ; A program that ran while hook mode was on keeps MorLatch.dll (or on
    ; 64-bit Windows MorLatch64.dll) loaded until it next handles a message
    ; (under Wine, until it ends), and no loaded library can be deleted; the
    ; 64-bit host may still be ending after Morvane. A file can be renamed,
    ; so one still held is moved out of the way into the temporary folder.
    ; $R9 names the file.
    Function ${un}RemoveHeldFile
        ${For} $0 1 20
            Delete "$INSTDIR\$R9"
            ${IfNot} ${FileExists} "$INSTDIR\$R9"
                Return
            ${EndIf}
            Sleep 100
        ${Next}
        GetTempFileName $0
        Delete $0
        Rename "$INSTDIR\$R9" $0
    FunctionEnd

    Function ${un}RemoveHookFiles
        StrCpy $R9 "MorLatch.dll"
        Call ${un}RemoveHeldFile
        StrCpy $R9 "MorLatch64.dll"
        Call ${un}RemoveHeldFile
        StrCpy $R9 "MorLatch64Host.exe"
        Call ${un}RemoveHeldFile
    FunctionEnd
!macroend
!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

Function .onInit
    ; Morvane keeps starting with Windows when it did so before; /AUTOSTART
    ; makes it do so.
    ReadRegStr $0 HKCU "${RUN_KEY}" "Morvane"
    ${If} $0 != ""
        StrCpy $AutoStart 1
    ${EndIf}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AUTOSTART" $1
    ${IfNot} ${Errors}
        StrCpy $AutoStart 1
    ${EndIf}
FunctionEnd

Function WriteRunValue
    WriteRegStr HKCU "${RUN_KEY}" "Morvane" '"$INSTDIR\Morvane.exe"'
FunctionEnd

Function FinishPageShow
    ${If} $AutoStart = 1
        SendMessage $mui.FinishPage.ShowReadme ${BM_SETCHECK} ${BST_CHECKED} 0
    ${EndIf}
FunctionEnd

; Runs before the page's own actions, which write the value back when the box is checked.
Function FinishPageLeave
    DeleteRegValue HKCU "${RUN_KEY}" "Morvane"
FunctionEnd

Section
    Call ExitMorvane
    SetOutPath "$INSTDIR"
    Call RemoveHookFiles
    !insertmacro ForEachFile InstallFile
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateDirectory "$SMPROGRAMS\Morvane"
    CreateShortCut "$SMPROGRAMS\Morvane\Morvane.lnk" "$INSTDIR\Morvane.exe"
    CreateShortCut "$SMPROGRAMS\Morvane\$(ReadmeLink).lnk" "$INSTDIR\readme.txt"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Morvane"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${MORVANE_VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Quorvel"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Morvane.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

    ; The last page makes the choice in an interactive install.
    ${If} ${Silent}
    ${AndIf} $AutoStart = 1
        Call WriteRunValue
    ${EndIf}
SectionEnd

Section "Uninstall"
    ; Morvane saves its settings as it exits, so they are removed only after.
    Call un.ExitMorvane
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveUserData)" /SD IDNO IDNO keepUserData
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Quorvel"
    RMDir /r "$APPDATA\Morvane"
keepUserData:

    DeleteRegValue HKCU "${RUN_KEY}" "Morvane"
    Delete "$SMPROGRAMS\Morvane\Morvane.lnk"
    Delete "$SMPROGRAMS\Morvane\$(ReadmeLink).lnk"
    RMDir "$SMPROGRAMS\Morvane"

    Call un.RemoveHookFiles
    !insertmacro ForEachFile DeleteFile
    Delete "$INSTDIR\Uninstall.exe"
    ; Files the user put into the folder stay, and with them the folder.
    RMDir "$INSTDIR"
    ; Last, so that installed programs list Morvane until it is gone.
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
