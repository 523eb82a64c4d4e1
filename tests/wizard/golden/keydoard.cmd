REG ADD "HKCU\Keyboard Layout\Toggle" /V "Hotkey" /D "1" /f
REG ADD "HKCU\Keyboard Layout\Toggle" /V "Language Hotkey" /D "2" /f
REG ADD "HKCU\Keyboard Layout\Preload" /V "1" /D "00000409" /f
REG ADD "HKCU\Keyboard Layout\Preload" /V "2" /D "00000419" /f

REG ADD "HKCU\Control Panel\Keyboard" /V "InitialKeyboardIndicators" /D "2" /f
REG ADD "HKCU\Control Panel\Keyboard" /V "KeyboardDelay" /D "1" /f
REG ADD "HKCU\Control Panel\Keyboard" /V "KeyboardSpeed" /D "" /f
