#include "db/firebird_client.h"

#include <cstdlib>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace db::fb {

// The embedded engine keeps its lock files in /tmp/firebird, a folder the first user of the
// machine (usually the server, as root or firebird) creates and others cannot write. A clerk
// who is not root therefore gets folders of their own, set before the engine first loads;
// values the clerk or the administrator set already win.
void prepareEmbeddedEnvironment() {
#ifndef _WIN32
    if (geteuid() == 0) return;
    std::string folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime && access(runtime, W_OK) == 0)
        folder = std::string(runtime) + "/firebird";
    else
        folder = "/tmp/firebird-" + std::to_string(geteuid());
    mkdir(folder.c_str(), 0700); // an existing folder is fine
    setenv("FIREBIRD_LOCK", folder.c_str(), 0);
    setenv("FIREBIRD_TMP", folder.c_str(), 0);
#endif
}

} // namespace db::fb
