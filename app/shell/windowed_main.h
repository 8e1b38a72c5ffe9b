// The windowed program's entry: the platform and the framework started, the
// application run, everything taken down again.
#pragma once

// The process exit status: 0 after Quit, 2 when no display can be opened
// (said on standard error).
int RunWindowedProgram(int argc, char** argv);
