@echo off
rem Starts the database service of the SQL Server instance "home".
net start MSSQL$HOME
