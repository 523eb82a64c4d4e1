@echo off

SET CDROM=%~d0

SET KEY=HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\RunOnceEx
SET i=100

REG ADD %KEY% /V TITLE /D "Installing Applications" /f

REG ADD %KEY%\%i% /VE /D "Settings" /f
REG ADD %KEY%\%i% /V 1 /D "%CDROM%\$OEM$\RunOnceExCU.cmd" /f
SET /A i+=1


EXIT
