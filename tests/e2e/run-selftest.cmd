@echo off
rem Runs the end-to-end self-test on this Windows system: both launchers beside this folder
rem are started in layouts made under %TEMP%, and the programs they start report back.
rem Prints one line per case and a closing "N passed, N failed" line per launcher; the exit
rem status is 0 when nothing failed.
setlocal
set "here=%~dp0"
set "work=%TEMP%\launcher-selftest-%RANDOM%%RANDOM%"
mkdir "%work%"
set status=0
for %%a in (x64 x86) do (
    echo == launcher-%%a.exe
    "%here%driver.exe" selftest "%here%..\launcher-%%a.exe" "%here%probe.exe" "%work%\%%a" "%here%..\launcher-stamp.exe"
    if errorlevel 1 set status=1
)
rmdir /s /q "%work%" 2>nul
if %status%==0 (echo self-test passed) else (echo self-test FAILED)
exit /b %status%
