REG ADD "HKCU\Control Panel\Desktop" /V "Wallpaper" /D "@SYSTEMROOT@\Wall1.bmp" /f
REG ADD "HKCU\Control Panel\Desktop" /V "WallpaperStyle" /D "2" /f
"%CDROM%\$OEM$\res.exe" @MODE@