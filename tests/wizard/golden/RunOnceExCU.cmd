@echo off

SET CDROM=%~d0

SET KEY=HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\RunOnce
REG ADD %KEY% /V "first" /D "%CDROM%\$OEM$\first.cmd" /f

EXIT
