REG ADD "HKCU\Control Panel\Mouse" /V "ActiveWindowTracking" /T REG_DWORD /D 1 /f
REG ADD "HKCU\Control Panel\Mouse" /V "DoubleClickHeight" /D "4" /f
REG ADD "HKCU\Control Panel\Mouse" /V "DoubleClickSpeed" /D "500" /f
REG ADD "HKCU\Control Panel\Mouse" /V "DoubleClickWidth" /D "4" /f
REG ADD "HKCU\Control Panel\Mouse" /V "MouseSensitivity" /D "10" /f
REG ADD "HKCU\Control Panel\Mouse" /V "MouseSpeed" /D "1" /f
REG ADD "HKCU\Control Panel\Mouse" /V "MouseThreshold1" /D "6" /f
REG ADD "HKCU\Control Panel\Mouse" /V "MouseThreshold2" /D "10" /f
REG ADD "HKCU\Control Panel\Mouse" /V "SnapToDefaultButton" /D "0" /f

