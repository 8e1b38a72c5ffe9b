// Start-up of the framework core: the allocator's handlers, the file-type
// table and the directory that was current when the program started.
#pragma once

void JCoreStartup();

// The current directory at start-up, ending with the separator.
const char* JStartupDirectory();
