@echo off
rem Runs the end-to-end self-test on this Windows system: both launchers beside this folder
rem are started in layouts made under %TEMP%, and the programs they start report back.
rem Prints one line per case and a closing "N passed, N failed" line per launcher; the exit
rem status is 0 when nothing failed. Needs no one at the desk.
rem
rem   run-selftest.cmd --elevation
rem adds one case per launcher that does need someone: the launcher starts a program that asks
rem for administrator rights, Windows shows its consent prompt, you answer Yes, and the case
rem checks that the program runs elevated in its launch directory.
setlocal
set "here=%~dp0"
set "elevation="
if /i "%~1"=="--elevation" set elevation=1
set "work=%TEMP%\launcher-selftest-%RANDOM%%RANDOM%"
mkdir "%work%"
set status=0
for %%a in (x64 x86) do call :launcher %%a
rmdir /s /q "%work%" 2>nul
if %status%==0 (echo self-test passed) else (echo self-test FAILED)
exit /b %status%

rem The cases of launcher-%1.exe.
:launcher
echo == launcher-%1.exe
"%here%driver.exe" selftest "%here%..\launcher-%1.exe" "%here%probe.exe" "%work%\%1" "%here%..\launcher-stamp.exe"
if errorlevel 1 set status=1
if not defined elevation exit /b 0
"%here%driver.exe" consent "%here%..\launcher-%1.exe" "%here%probe-admin.exe" "%work%\%1-consent"
if errorlevel 1 set status=1
exit /b 0
