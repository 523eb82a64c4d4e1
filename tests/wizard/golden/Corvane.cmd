SET KEY=HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\RunOnce
REG ADD %KEY% /V "corvane" /D "%CDROM%\Software\corvane_player.exe /a_silent" /f
