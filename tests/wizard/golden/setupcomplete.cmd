ECHO SETUPCOMPLETE

for ^%%i in (C D E F G H I J K L M N O P Q R S T U V W X Y Z) do if exist ^%%i:\DriversRoot.txt set CDROM=^%%i:
REG ADD "HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment" /v cdrom /d "%CDROM%" /f

REG ADD HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\RunOnce
SET KEY1=HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\RunOnce

REG ADD HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run
SET KEY2=HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run

rem settings.reg

REG ADD "%KEY1%" /V "RegSettings" /D "regedit /s %cdrom%\settings.reg" /f

rem Taleno Corvane

REG ADD "%KEY2%" /V "taleno corvane" /D "%cdrom%\software\corvane\corvane_player.exe /a_silent" /f

shutdown /r

EXIT