@echo off
rem 显示 Lumo 的说明文件。
echo Lumo 1.04 说明
echo.
type "%~dp0readme.txt"
echo.
pause
