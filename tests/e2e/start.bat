@echo off
rem Stand-in for the script that starts the database service: it only records that it ran.
echo start.bat ran in %CD%>>"%~dp0start.log"
