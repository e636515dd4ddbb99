@echo off
rem Placeholder for your product's program: replace this file, and the
rem key start_app in both properties files, with your own program.
echo MyApp is installed in %~dp0
pause
