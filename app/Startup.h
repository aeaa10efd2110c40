// The program's whole start-up and run, shared by wWinMain and the test that
// starts the program as it really starts.
#pragma once

// Joins COM, creates the application and the main window, runs the message
// loop until the main window closes and leaves COM again. The exit code.
int RunProgram();
