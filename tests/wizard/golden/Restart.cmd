shutdown.exe -r -f -t 00 -c "Windows will now restart..."
