// The console front end: Test Compression, Save and Save as... of GIF files
// from a terminal or a script, with the same engine and the same messages as
// the windowed program, and no display.
#pragma once

// The windowed program's one option: where its settings file lives
// ("--settings-folder=DIR"), for trying settings out and for tests.
constexpr const char* kSettingsFolderOption = "--settings-folder=";

// True when the command line asks for the console rather than the windows:
// an option other than the settings folder.
bool IsConsoleCommandLine(int argc, char** argv);

// Runs the console commands; returns the process exit status: 0 when every
// file was handled, 1 when a file could not be opened or written, 2 for a
// wrong command line.
int RunConsole(int argc, char** argv);
