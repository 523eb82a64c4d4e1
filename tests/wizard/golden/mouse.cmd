REG ADD "HKCU\Control Panel\Mouse" /V "ActiveWindowTracking" /T REG_DWORD /D 1 /f
REG ADD "HKCU\Control Panel\Mouse" /V "DoubleClickHeight" /D "4" /f
REG ADD "HKCU\Control Panel\Mouse" /V "DoubleClickSpeed" /D "500" /f
REG ADD "HKCU\Control Panel\Mouse" /V "DoubleClickWidth" /D "4" /f
REG ADD "HKCU\Control Panel\Mouse" /V "MouseSensitivity" /D "10" /f
REG ADD "HKCU\Control Panel\Mouse" /V "MouseSpeed" /D "1" /f
REG ADD "HKCU\Control Panel\Mouse" /V "MouseThreshold1" /D "6" /f
REG ADD "HKCU\Control Panel\Mouse" /V "MouseThreshold2" /D "10" /f
REG ADD "HKCU\Control Panel\Mouse" /V "SnapToDefaultButton" /D "0" /f

REG ADD "HKCU\Control Panel\Cursors" /V "Scheme Source" /T REG_DWORD /D 0 /f
REG ADD "HKCU\Control Panel\Cursors" /V "AppStarting" /T REG_EXPAND_SZ /D "%SYSTEMROOT%\Cursors\c1.ani" /f
REG ADD "HKCU\Control Panel\Cursors" /V "Arrow" /T REG_EXPAND_SZ /D "%SYSTEMROOT%\Cursors\c2.cur" /f
REG ADD "HKCU\Control Panel\Cursors" /V "Hand" /T REG_EXPAND_SZ /D "%SYSTEMROOT%\Cursors\c4" /f
REG ADD "HKCU\Control Panel\Cursors" /V "IBeam" /T REG_EXPAND_SZ /D "%SYSTEMROOT%\Cursors\c6.cur" /f
REG ADD "HKCU\Control Panel\Cursors" /V "Wait" /T REG_EXPAND_SZ /D "%SYSTEMROOT%\Cursors\c15.ani" /f
