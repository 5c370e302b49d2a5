#include "db/firebird_client.h"

#include "platform/environment.h"

namespace db::fb {

// The embedded engine keeps its lock files in /tmp/firebird, a folder the first user of the
// machine (usually the server, as root or firebird) creates and others cannot write. A clerk
// who is not root therefore gets folders of their own, set before the engine first loads;
// values the clerk or the administrator set already win.
void prepareEmbeddedEnvironment()
{
    const std::string folder = platform::ownRuntimeFolder("firebird");
    if (folder.empty())
        return;
    platform::setEnvironmentDefault("FIREBIRD_LOCK", folder);
    platform::setEnvironmentDefault("FIREBIRD_TMP", folder);
}

} // namespace db::fb
