#include "framework/core/core_startup.h"

#include "framework/core/files.h"
#include "framework/core/memory.h"

namespace {

char* gStartupDirectory = nullptr;

}  // namespace

void JCoreStartup() {
    JMemoryStartup();
    JFileTypesLoad();
    if (!gStartupDirectory) {
        gStartupDirectory = JCurrentDirectory();
    }
}

const char* JStartupDirectory() {
    return gStartupDirectory ? gStartupDirectory : "/";
}
