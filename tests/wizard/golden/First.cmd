@echo off

SET CDROM=%~d0

CALL "%CDROM%\$OEM$\desktop.cmd"
CALL "%CDROM%\$OEM$\keydoard.cmd"
CALL "%CDROM%\$OEM$\mouse.cmd"
CALL "%CDROM%\$OEM$\Restart.cmd"

EXIT
