@echo off
rem 启动 Lumo 图片查看器；参数（图片文件）原样传给 LumoView。
start "" "%~dp0LumoView.exe" %*
